// A MOF file of generated instances of one class, written once into a folder and reused while
// its content stays the same.
#ifndef NVX4_BENCH_MOF_FIXTURE_H
#define NVX4_BENCH_MOF_FIXTURE_H

#include <string>
#include <vector>

#include "nvx4/FieldTable.h"

namespace nvx4::bench {

struct FixtureProperty {
    std::string name;
    FieldKind kind;
};

class MofFixture {
  public:
    // Text values are at least `textLength` characters long and unique per instance, so that
    // key properties identify every instance.
    MofFixture(std::string className, std::vector<FixtureProperty> properties, int instances,
               std::size_t textLength);

    // Writes the file into `folder` unless it is there already; returns its path.
    std::string writeInto(const std::string& folder) const;

  private:
    std::string literal(const FixtureProperty& property, int instance) const;

    std::string className_;
    std::vector<FixtureProperty> properties_;
    int instances_;
    std::size_t textLength_;
};

}  // namespace nvx4::bench

#endif
