#include "EventRecord.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>

#include "CimDateTime.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::repository {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;

// The audit result a message states in a "res=" or "success=" field, if any.
std::optional<bool> auditResult(std::string_view message) {
    static const std::string_view keys[] = {"res=", "success="};
    for (std::string_view key : keys) {
        for (std::size_t at = message.find(key); at != std::string_view::npos;
             at = message.find(key, at + 1)) {
            if (at > 0 && message[at - 1] != ' ' && message[at - 1] != '\'') continue;
            std::string_view value = message.substr(at + key.size());
            value = value.substr(0, value.find_first_of(" '\"\n"));
            if (value == "success" || value == "yes") return true;
            if (value == "failed" || value == "fail" || value == "no") return false;
        }
    }
    return std::nullopt;
}

std::size_t utf8Length(wchar_t c) {
    const auto code = static_cast<std::uint32_t>(c);
    return code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
}

void set(PropertyValues& values, const wchar_t* name, const std::optional<std::string>& text) {
    if (text) values.emplace_back(name, Value::text(std::string_view(*text)));
}

}  // namespace

std::string EventRecord::typeOf(const JournalEntry& entry, EventLog log) {
    if (log == EventLog::Security && entry.message)
        if (const std::optional<bool> result = auditResult(*entry.message))
            return *result ? "Audit Success" : "Audit Failure";
    const std::string priority = entry.priority.value_or("");
    if (priority.size() == 1 && priority[0] >= '0' && priority[0] <= '3') return "Error";
    if (priority == "4") return "Warning";
    return "Information";
}

std::wstring EventRecord::descriptionOf(std::string_view message) {
    std::wstring decoded;
    Utf8::decode(message, decoded);
    std::wstring text;
    std::size_t bytes = 0;
    for (wchar_t c : decoded) {
        if (c == L'\0') c = kReplacement;
        bytes += utf8Length(c);
        if (bytes > kDescriptionBytes) break;
        text.push_back(c);
    }
    return text;
}

PropertyValues EventRecord::of(const JournalEntry& entry, EventLog log) {
    PropertyValues values;
    values.emplace_back(L"SystemName",
                        Value::text(std::string_view(entry.hostname.value_or(hostName_))));
    values.emplace_back(L"RecordID", Value::text(std::to_wstring(entry.seqnum)));
    values.emplace_back(L"MessageTimestamp", Value::text(std::string_view(CimDateTime::local(
                                                 static_cast<std::int64_t>(entry.realtimeUsec)))));
    set(values, L"SourceName", entry.identifier ? entry.identifier : entry.command);
    values.emplace_back(L"Type", Value::text(std::string_view(typeOf(entry, log))));
    if (entry.uid)
        values.emplace_back(L"User", Value::text(std::string_view(users_.of(*entry.uid))));
    if (entry.message)
        values.emplace_back(L"Description", Value::text(descriptionOf(*entry.message)));
    return values;
}

}  // namespace nvx4::repository
