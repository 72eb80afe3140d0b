#include "FruReader.h"

#include <numeric>

#include "IpmiCommands.h"
#include "IpmiFormat.h"

namespace nvx4::repository {

using namespace ipmi_commands;

namespace {

constexpr std::size_t kChunk = 16;
constexpr std::size_t kMaxInventory = 64 * 1024;
// Board manufacturing times count minutes from 1996-01-01 00:00 UTC.
constexpr std::time_t kFruEpoch = 820454400;

// The area at multiple-of-8 offset `index` of the common header, if its checksum holds.
Bytes area(const Bytes& image, std::uint8_t index) {
    const std::size_t start = std::size_t(index) * 8;
    if (index == 0 || start + 2 > image.size()) return {};
    const std::size_t size = std::size_t(image[start + 1]) * 8;
    if (size == 0 || start + size > image.size()) return {};
    Bytes bytes(image.begin() + start, image.begin() + start + size);
    if (std::accumulate(bytes.begin(), bytes.end(), 0u) % 256 != 0) return {};
    return bytes;
}

std::string sixBitAscii(const Bytes& data) {
    std::string text;
    std::uint32_t bits = 0;
    int held = 0;
    for (std::uint8_t byte : data) {
        bits |= std::uint32_t(byte) << held;
        held += 8;
        while (held >= 6) {
            text += static_cast<char>((bits & 0x3f) + 0x20);
            bits >>= 6;
            held -= 6;
        }
    }
    return text;
}

std::string bcdPlus(const Bytes& data) {
    static const char digits[] = "0123456789 -.???";
    std::string text;
    for (std::uint8_t byte : data) {
        text += digits[byte >> 4];
        text += digits[byte & 0x0f];
    }
    return text;
}

// Reads the fields in order into the named properties; a missing field leaves NULL.
void fields(const Bytes& bytes, std::size_t at, std::initializer_list<const wchar_t*> names,
            PropertyValues& values) {
    for (const wchar_t* name : names) {
        std::string text;
        if (!FruReader::field(bytes, at, text)) break;
        values.emplace_back(name, Value::text(text));
    }
}

}  // namespace

bool FruReader::field(const Bytes& area, std::size_t& at, std::string& text) {
    if (at >= area.size() || area[at] == 0xc1) return false;
    const std::uint8_t typeLength = area[at];
    const std::size_t length = typeLength & 0x3f;
    if (at + 1 + length > area.size()) return false;
    const Bytes data(area.begin() + at + 1, area.begin() + at + 1 + length);
    at += 1 + length;
    switch (typeLength >> 6) {
        case 0:
            text = length == 0 ? "" : IpmiFormat::hex(data);
            break;
        case 1:
            text = bcdPlus(data);
            break;
        case 2:
            text = sixBitAscii(data);
            break;
        default:
            text.assign(data.begin(), data.end());
            break;
    }
    return true;
}

Bytes FruReader::inventory() {
    Bytes info;
    try {
        info = connection_.request(kGetFruAreaInfo, {0});
    } catch (const IpmiCommandError&) {
        return {};
    }
    const std::size_t size = std::min<std::size_t>(IpmiFormat::little(info, 0, 2), kMaxInventory);
    const bool words = (IpmiFormat::at(info, 2) & 1) != 0;
    Bytes image;
    while (image.size() < size) {
        const std::size_t want = std::min(kChunk, size - image.size());
        const std::size_t offset = words ? image.size() / 2 : image.size();
        const Bytes answer =
            connection_.request(kReadFruData, {0, static_cast<std::uint8_t>(offset),
                                               static_cast<std::uint8_t>(offset >> 8),
                                               static_cast<std::uint8_t>(words ? want / 2 : want)});
        if (answer.size() < 2) break;
        image.insert(image.end(), answer.begin() + 1, answer.end());
    }
    return image;
}

PropertyValues FruReader::decode(const Bytes& image, const std::string& systemName) {
    PropertyValues values = {{L"SystemName", Value::text(systemName)}};
    if (image.size() < 8 || std::accumulate(image.begin(), image.begin() + 8, 0u) % 256 != 0)
        return values;
    if (const Bytes chassis = area(image, image[2]); !chassis.empty()) {
        values.emplace_back(L"ChassisType", Value::integer(chassis[2]));
        fields(chassis, 3, {L"ChassisPartNumber", L"ChassisSerialNumber"}, values);
    }
    if (const Bytes board = area(image, image[3]); board.size() >= 6) {
        values.emplace_back(L"BoardLangCode", Value::integer(board[2]));
        const std::uint32_t minutes = IpmiFormat::little(board, 3, 3);
        if (minutes != 0)
            values.emplace_back(L"BoardMfgDateTime",
                                Value::text(IpmiFormat::cimDateTime(kFruEpoch + minutes * 60)));
        fields(board, 6,
               {L"BoardManufacturer", L"BoardProductName", L"BoardSerialNumber", L"BoardPartNumber",
                L"BoardFRUFileID"},
               values);
    }
    if (const Bytes product = area(image, image[4]); product.size() >= 3) {
        values.emplace_back(L"ProductLangCode", Value::integer(product[2]));
        fields(product, 3,
               {L"ProductManufacturerName", L"ProductName", L"ProductPartModelNumber",
                L"ProductVersion", L"ProductSerialNumber", L"ProductAssetTag", L"ProductFRUFileID"},
               values);
    }
    return values;
}

}  // namespace nvx4::repository
