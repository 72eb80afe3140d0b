#include "MofFixture.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>

namespace nvx4::bench {

MofFixture::MofFixture(std::string className, std::vector<FixtureProperty> properties,
                       int instances, std::size_t textLength)
    : className_(std::move(className)),
      properties_(std::move(properties)),
      instances_(instances),
      textLength_(textLength) {}

std::string MofFixture::literal(const FixtureProperty& property, int instance) const {
    switch (property.kind) {
        case FieldKind::Text: {
            std::string text = property.name + "-" + std::to_string(instance);
            while (text.size() < textLength_) text += "-" + property.name;
            return "\"" + text + "\"";
        }
        case FieldKind::BooleanAsText:
            return instance % 2 == 0 ? "TRUE" : "FALSE";
        case FieldKind::RealAsText:
            return std::to_string(instance) + ".5";
        default:
            return std::to_string(instance % 30000);
    }
}

std::string MofFixture::writeInto(const std::string& folder) const {
    mkdir(folder.c_str(), 0755);
    const std::string path = folder + "/" + className_ + "-" + std::to_string(instances_) + "-" +
                             std::to_string(textLength_) + ".mof";
    struct stat existing;
    if (stat(path.c_str(), &existing) == 0) return path;
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial);
        out << "#pragma namespace(\"root\\\\nvx4\\\\node\")\n";
        for (int i = 0; i < instances_; ++i) {
            out << "instance of " << className_ << "\n{\n";
            for (const FixtureProperty& property : properties_)
                out << "    " << property.name << " = " << literal(property, i) << ";\n";
            out << "};\n";
        }
        if (!out) throw std::runtime_error("cannot write " + partial);
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot write " + path);
    return path;
}

}  // namespace nvx4::bench
