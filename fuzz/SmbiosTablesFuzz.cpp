// SMBIOS dumps (entry point and table) of any content: the table parser and every class's mapping
// neither crash nor read out of bounds (the sanitizers watch), and whatever the publisher hands
// the repository fits its class, since the repository checks every value against the class: an
// enumeration may fail only for a dump the parser refuses.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "SmbiosClasses.h"
#include "SmbiosTable.h"
#include "nvx4/repository/Repository.h"
#include "nvx4/repository/Snapshot.h"

namespace {

using namespace nvx4::repository;
using smbios::Bytes;
using smbios::SmbiosTable;

std::filesystem::path folder;

std::filesystem::path dumpFile() { return folder / "table.bin"; }

void removeFolder() { std::filesystem::remove_all(folder); }

// Parses the dump and maps every class straight from the table; false when the parser refuses it.
bool parsesAndMaps(const Bytes& dump) {
    std::optional<SmbiosTable> table;
    try {
        table = SmbiosTable::readDump(dump);
    } catch (const std::runtime_error&) {
        return false;
    }
    for (const smbios::SmbiosClass& cls : smbios::smbiosClasses())
        if (cls.publish) cls.publish(*table);
    for (const smbios::SmbiosStructure* log : table->ofType(15))
        smbios::publishEventLogRecords(*log, dump);
    return true;
}

// Every class through the repository, from the dump saved as the source's file.
void enumeratesEveryClass(const Bytes& dump, bool parsed) {
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(dumpFile().c_str(), "wb"), &std::fclose);
    if (!file || std::fwrite(dump.data(), 1, dump.size(), file.get()) != dump.size()) std::abort();
    file.reset();
    const std::shared_ptr<const Snapshot> snapshot = Repository::current();
    if (snapshot == nullptr) std::abort();
    const Namespace& node = *snapshot->findNamespace(kDefaultNamespace);
    for (const smbios::SmbiosClass& cls : smbios::smbiosClasses()) {
        const Repository::Enumeration found =
            Repository::enumerate(snapshot, node, *node.findClass(cls.name), false);
        if (found.status != 0 && parsed) {
            std::fprintf(stderr, "%ls failed with 0x%x on a table the parser reads\n", cls.name,
                         static_cast<unsigned>(found.status));
            std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    char pattern[] = "/tmp/nvx4-fuzz-smbios-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    folder = pattern;
    std::atexit(removeFolder);
    setenv("NVX4_REPOSITORY", ("smbios=" + dumpFile().string()).c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes dump(data, data + size);
    enumeratesEveryClass(dump, parsesAndMaps(dump));
    return 0;
}
