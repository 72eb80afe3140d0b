#include "nvx4/repository/ObjectPath.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "nvx4/repository/Names.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::repository {

namespace {

bool isSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool isNameChar(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || (c >= L'0' && c <= L'9') ||
           c == L'_';
}

class PathReader {
  public:
    explicit PathReader(std::wstring_view text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }
    bool take(wchar_t c) {
        if (atEnd() || text_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    std::wstring name() {
        const std::size_t start = pos_;
        while (!atEnd() && isNameChar(text_[pos_])) ++pos_;
        return std::wstring(text_.substr(start, pos_ - start));
    }
    std::optional<Value> value() {
        if (take(L'"')) return quoted();
        const std::size_t start = pos_;
        while (!atEnd() && text_[pos_] != L',') ++pos_;
        return literal(text_.substr(start, pos_ - start));
    }

  private:
    std::optional<Value> quoted() {
        std::wstring result;
        while (!atEnd()) {
            wchar_t c = text_[pos_++];
            if (c == L'"') return Value::text(std::move(result));
            if (c == L'\\' && !atEnd()) c = text_[pos_++];
            result += c;
        }
        return std::nullopt;
    }

    static std::optional<Value> literal(std::wstring_view word) {
        if (Names::same(word, L"TRUE")) return Value::boolean(true);
        if (Names::same(word, L"FALSE")) return Value::boolean(false);
        const std::string narrow = Utf8::toNarrow(word);
        if (narrow.empty()) return std::nullopt;
        char* end = nullptr;
        errno = 0;
        if (narrow.find_first_of(".eE") == std::string::npos) {
            if (narrow[0] == '-') {
                const long long v = std::strtoll(narrow.c_str(), &end, 10);
                if (*end == '\0' && errno == 0) return Value::integer(v);
            } else {
                const unsigned long long v = std::strtoull(narrow.c_str(), &end, 10);
                if (*end == '\0' && errno == 0 && narrow[0] != '+')
                    return Value::unsignedInteger(v);
            }
            return std::nullopt;
        }
        const double v = std::strtod(narrow.c_str(), &end);
        if (*end == '\0') return Value::real(v);
        return std::nullopt;
    }

    std::wstring_view text_;
    std::size_t pos_ = 0;
};

// Splits off "\\server\namespace:" or "namespace:".
bool splitLocation(std::wstring_view& text, ObjectPath& path) {
    const std::size_t colon = text.find(L':');
    const std::size_t quote = text.find(L'"');
    if (colon == std::wstring_view::npos || (quote != std::wstring_view::npos && quote < colon))
        return true;
    std::wstring_view location = text.substr(0, colon);
    text.remove_prefix(colon + 1);
    if (location.size() >= 2 && isSeparator(location[0]) && isSeparator(location[1])) {
        location.remove_prefix(2);
        const std::size_t end =
            std::find_if(location.begin(), location.end(), isSeparator) - location.begin();
        if (end == 0 || end == location.size()) return false;
        path.server = std::wstring(location.substr(0, end));
        location.remove_prefix(end + 1);
    }
    if (location.empty()) return false;
    path.ns = std::wstring(location);
    std::replace(path.ns.begin(), path.ns.end(), L'/', L'\\');
    return true;
}

}  // namespace

std::optional<ObjectPath> ObjectPath::parse(std::wstring_view text) {
    ObjectPath path;
    if (!splitLocation(text, path)) return std::nullopt;
    PathReader reader(text);
    path.className = reader.name();
    if (path.className.empty()) return std::nullopt;
    if (reader.atEnd()) return path;
    if (reader.take(L'=')) {
        if (reader.take(L'@')) {
            path.singleton = true;
        } else {
            std::optional<Value> value = reader.value();
            if (!value) return std::nullopt;
            path.keys.emplace_back(std::wstring(), std::move(*value));
        }
        return reader.atEnd() ? std::optional<ObjectPath>(std::move(path)) : std::nullopt;
    }
    if (!reader.take(L'.')) return std::nullopt;
    do {
        std::wstring key = reader.name();
        if (key.empty() || !reader.take(L'=')) return std::nullopt;
        std::optional<Value> value = reader.value();
        if (!value) return std::nullopt;
        path.keys.emplace_back(std::move(key), std::move(*value));
    } while (reader.take(L','));
    return reader.atEnd() ? std::optional<ObjectPath>(std::move(path)) : std::nullopt;
}

std::wstring ObjectPath::relativePath(const ClassDef& cls, const std::vector<Value>& values) {
    if (cls.singleton()) return cls.name + L"=@";
    std::vector<std::size_t> keys;
    for (std::size_t i = 0; i < cls.properties.size(); ++i) {
        if (!cls.properties[i].key) continue;
        if (i >= values.size() || values[i].isNull()) return std::wstring();
        keys.push_back(i);
    }
    if (keys.empty()) return std::wstring();
    std::sort(keys.begin(), keys.end(), [&](std::size_t a, std::size_t b) {
        return Names::folded(cls.properties[a].name) < Names::folded(cls.properties[b].name);
    });
    std::wstring path = cls.name;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        path += k == 0 ? L'.' : L',';
        path += cls.properties[keys[k]].name + L"=" + formatKey(values[keys[k]]);
    }
    return path;
}

std::wstring ObjectPath::formatKey(const Value& value) {
    switch (value.kind()) {
        case Value::Kind::Text: {
            std::wstring quoted = L"\"";
            for (wchar_t c : value.asText()) {
                if (c == L'"' || c == L'\\') quoted += L'\\';
                quoted += c;
            }
            return quoted + L"\"";
        }
        case Value::Kind::Signed:
            return std::to_wstring(value.asSigned());
        case Value::Kind::Unsigned:
            return std::to_wstring(value.asUnsigned());
        case Value::Kind::Boolean:
            return value.asBoolean() ? L"TRUE" : L"FALSE";
        case Value::Kind::Real: {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.17g", value.asReal());
            return Utf8::toWide(buffer);
        }
        default:
            return std::wstring();
    }
}

}  // namespace nvx4::repository
