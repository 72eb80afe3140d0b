// Shared by the repository tests: an isolated repository (only the built-in schema, no
// registrations, no faults) and short ways to reach its content.
#ifndef NVX4_REPOSITORY_TESTING_H
#define NVX4_REPOSITORY_TESTING_H

#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"
#include "nvx4/repository/RegistrationScope.h"
#include "nvx4/repository/Repository.h"

namespace nvx4::repository::test {

class IsolatedRepository : public ::testing::Test {
  protected:
    nvx4::test::ScopedEnv sources_{kRepositoryVariable, std::string()};
    RegistrationScope scope_;

    static const Namespace& ns(const std::wstring& name = L"root\\test") {
        static std::shared_ptr<const Snapshot> keep;
        keep = Repository::current();
        EXPECT_NE(keep, nullptr);
        const Namespace* found = keep ? keep->findNamespace(name) : nullptr;
        if (found == nullptr) throw std::runtime_error("no namespace");
        return *found;
    }
    static const Value& valueOf(const Instance& instance, const std::wstring& property) {
        return instance.values.at(instance.cls->propertyIndex(property));
    }
};

}  // namespace nvx4::repository::test

#endif
