#include "ObjectId.h"

#include <stdexcept>

namespace nvx4::agent {
namespace {

constexpr unsigned long long kMaxSubId = 4294967295ULL;
constexpr size_t kMaxLength = 128;

unsigned long parseSubId(const std::string& part, const std::string& text) {
    if (part.empty() || part.find_first_not_of("0123456789") != std::string::npos ||
        part.size() > 10 || std::stoull(part) > kMaxSubId)
        throw std::invalid_argument("'" + text + "' is not an object identifier");
    return static_cast<unsigned long>(std::stoull(part));
}

}  // namespace

ObjectId parseObjectId(const std::string& text) {
    const std::string digits = !text.empty() && text[0] == '.' ? text.substr(1) : text;
    ObjectId oid;
    size_t start = 0;
    while (true) {
        const size_t dot = digits.find('.', start);
        oid.push_back(parseSubId(digits.substr(start, dot - start), text));
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    if (oid.size() < 2 || oid.size() > kMaxLength)
        throw std::invalid_argument("'" + text + "' is not an object identifier");
    return oid;
}

std::string formatObjectId(const ObjectId& oid) {
    std::string text;
    for (unsigned long subId : oid) text += (text.empty() ? "" : ".") + std::to_string(subId);
    return text;
}

}  // namespace nvx4::agent
