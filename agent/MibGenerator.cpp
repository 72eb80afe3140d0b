// nvx4-mibgen: writes NVX4-MIB from the provider's field tables.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>

#include "ColumnDescriptions.h"
#include "MibSchema.h"
#include "MibWriter.h"
#include "ObjectId.h"

namespace {

const char kUsage[] =
    "Usage: nvx4-mibgen [--base OID] [--output FILE]\n"
    "Writes the SMIv2 module NVX4-MIB, one table per provider class, to FILE or standard\n"
    "output.\n"
    "  --base OID     the module's object identifier (default 1.3.6.1.4.1.8072.9999.9999);\n"
    "                 give the subagent the same --base\n"
    "  --output FILE  write to FILE instead of standard output\n"
    "  --help         show this text\n";

}  // namespace

int main(int argc, char** argv) {
    std::string base = nvx4::agent::kDefaultBaseOid;
    std::string output;
    try {
        for (int i = 1; i < argc; ++i) {
            const std::string arg = argv[i];
            if (arg == "--help") {
                std::cout << kUsage;
                return EXIT_SUCCESS;
            }
            if ((arg == "--base" || arg == "--output") && i + 1 < argc)
                (arg == "--base" ? base : output) = argv[++i];
            else
                throw std::invalid_argument("unexpected argument '" + arg + "'");
        }
        const nvx4::agent::MibWriter writer(nvx4::agent::parseObjectId(base));
        // Every column described, before anything is written.
        nvx4::agent::ColumnDescriptions::builtIn().checkCovers(nvx4::agent::MibSchema::tables());
        if (output.empty()) {
            writer.write(std::cout, nvx4::agent::MibSchema::tables());
            return EXIT_SUCCESS;
        }
        std::ofstream file(output);
        writer.write(file, nvx4::agent::MibSchema::tables());
        if (!file.flush()) throw std::runtime_error("cannot write '" + output + "'");
        return EXIT_SUCCESS;
    } catch (const std::invalid_argument& e) {
        std::cerr << "nvx4-mibgen: " << e.what() << "\n" << kUsage;
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "nvx4-mibgen: " << e.what() << '\n';
        return EXIT_FAILURE;
    }
}
