// nvx4-enum: loads the provider library as an SNMP agent does and prints the records of the
// classes asked for.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ClassSelection.h"
#include "CommandLine.h"
#include "MofCheck.h"
#include "ProviderLibrary.h"
#include "RecordTable.h"
#include "ResultText.h"
#include "TableWriter.h"
#include "nvx4/repository/Repository.h"

using namespace nvx4::tool;
using namespace nvx4::client;

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kInvalidSyntax = static_cast<int>(0x80041021);

size_t fieldCount(const nvx4::ClassInfo& info) {
    size_t count = 0;
    nvx4::AllRecords::visit(info.id, [&](auto tag) {
        using Record = typename decltype(tag)::type;
        count = std::size(nvx4::RecordTraits<Record>::fields) + nvx4::HasIndex<Record>::value;
    });
    return count;
}

void printClassList(std::ostream& out) {
    RecordTable list;
    list.title = std::to_string(std::size(nvx4::kClassTable)) + " classes";
    list.columns = {"Id", "RepositoryClass", "RecordType", "ElementSize", "Fields"};
    for (const nvx4::ClassInfo& info : nvx4::kClassTable)
        list.rows.push_back({{std::to_string(info.id), true},
                             {info.repositoryClass, false},
                             {info.recordType, false},
                             {std::to_string(info.elementSize), true},
                             {std::to_string(fieldCount(info)), true}});
    writeText(out, list);
}

void useRepository(const std::vector<std::string>& sources) {
    std::string joined;
    for (const std::string& source : sources) {
        if (!isSourceWord(source) && !std::ifstream(source))
            throw std::invalid_argument("cannot read repository file '" + source + "'");
        joined += (joined.empty() ? "" : ":") + source;
    }
    if (!joined.empty()) setenv("NVX4_REPOSITORY", joined.c_str(), 1);
}

// A repository that does not load is reported with the place of its first error, as this
// process reads the same sources as the library.
void explainLoadFailure(int result) {
    if (result != kInvalidSyntax || nvx4::repository::Repository::current()) return;
    if (const auto error = nvx4::repository::Repository::lastError())
        std::cerr << "  " << error->text() << '\n';
}

int enumerate(const Options& options, const std::vector<const nvx4::ClassInfo*>& classes) {
    const ProviderLibrary provider(
        options.library.empty()
            ? ProviderLibrary::installedPath(NVX4_PROVIDER_FROM_PROGRAM, NVX4_DEFAULT_PROVIDER)
            : options.library);
    std::vector<RecordTable> tables;
    bool failed = false;
    for (const nvx4::ClassInfo* info : classes) {
        int count = 0;
        void* instances = nullptr;
        const int result = provider.enumerateInstance(info->id, &count, &instances);
        if (result != 0) {
            std::cerr << info->id << ' ' << info->repositoryClass << ": " << describeResult(result)
                      << '\n';
            explainLoadFailure(result);
            failed = true;
            continue;
        }
        tables.push_back(recordTableOf(*info, instances, count));
        provider.snmpFree(info->id, instances);
    }
    for (size_t i = 0; i < tables.size() && options.format != OutputFormat::Json; ++i) {
        if (i > 0) std::cout << '\n';
        if (options.format == OutputFormat::Table) {
            writeText(std::cout, tables[i]);
            continue;
        }
        if (tables.size() > 1)
            std::cout << "# " << tables[i].info->id << ' ' << tables[i].info->repositoryClass
                      << '\n';
        writeCsv(std::cout, tables[i]);
    }
    if (options.format == OutputFormat::Json) writeJson(std::cout, tables);
    return failed ? kExitFailure : EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    const std::string program = "nvx4-enum";
    try {
        const Options options = parseCommandLine(args);
        if (options.help) {
            std::cout << usage(program);
            return EXIT_SUCCESS;
        }
        if (options.list) {
            printClassList(std::cout);
            return EXIT_SUCCESS;
        }
        if (options.check) return checkMofFiles(options.arguments, std::cout, std::cerr);
        const auto classes = selectClasses(options.arguments);
        useRepository(options.repository);
        return enumerate(options, classes);
    } catch (const std::invalid_argument& e) {
        std::cerr << program << ": " << e.what() << "\nTry '" << program << " --help'.\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        std::cerr << program << ": " << e.what() << '\n';
        return kExitFailure;
    }
}
