#include "SourceList.h"

#include "nvx4/repository/Publisher.h"

namespace nvx4::repository {

namespace {

SourceEntry publisherEntry(std::string name, std::string argument) {
    SourceEntry entry;
    entry.kind = SourceEntry::Kind::Publisher;
    entry.text = argument.empty() ? name : name + "=" + argument;
    entry.name = std::move(name);
    entry.argument = std::move(argument);
    return entry;
}

void addEntry(const std::string& text, std::vector<SourceEntry>& entries) {
    if (text == SourceList::kLive) {
        for (const std::string& name : PublisherCatalog::builtInNames())
            entries.push_back(publisherEntry(name, {}));
        return;
    }
    if (text == SourceList::kSample) {
        entries.push_back(SourceEntry{SourceEntry::Kind::Sample, text, {}, {}});
        return;
    }
    const std::size_t equals = text.find('=');
    const std::string name = text.substr(0, equals);
    if (PublisherCatalog::find(name)) {
        entries.push_back(
            publisherEntry(name, equals == std::string::npos ? "" : text.substr(equals + 1)));
        return;
    }
    entries.push_back(SourceEntry{SourceEntry::Kind::File, text, {}, {}});
}

}  // namespace

std::vector<SourceEntry> SourceList::parse(const std::optional<std::string>& setting) {
    std::vector<SourceEntry> entries;
    if (!setting) {
        addEntry(kLive, entries);
        return entries;
    }
    std::size_t start = 0;
    while (start <= setting->size()) {
        std::size_t end = setting->find(':', start);
        if (end == std::string::npos) end = setting->size();
        if (end > start) addEntry(setting->substr(start, end - start), entries);
        start = end + 1;
    }
    return entries;
}

}  // namespace nvx4::repository
