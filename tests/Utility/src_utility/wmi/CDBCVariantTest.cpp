#include "CDBCVariant.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <typeinfo>
#include <tuple>
#include <vector>

#include "ExpectThrowCode.h"
#include "WMIException.h"
#include "WMIResult.h"

namespace {

constexpr int kTypeError = 0x22000FFB;

// One VARIANT built with the OLE Automation calls, cleared on destruction.
struct Variant {
    Variant() { VariantInit(&value); }
    ~Variant() { VariantClear(&value); }
    Variant& i2(SHORT x) { return value.vt = VT_I2, value.iVal = x, *this; }
    Variant& i4(LONG x) { return value.vt = VT_I4, value.lVal = x, *this; }
    Variant& r8(double x) { return value.vt = VT_R8, value.dblVal = x, *this; }
    Variant& text(const wchar_t* x) {
        return value.vt = VT_BSTR, value.bstrVal = x ? SysAllocString(x) : nullptr, *this;
    }
    Variant& tag(VARTYPE type) { return value.vt = type, *this; }
    // A vector of `type` elements, tagged with `tag` (the same type unless told otherwise).
    template <typename T>
    Variant& array(VARTYPE type, std::vector<T> items, VARTYPE tag = 0) {
        value.parray = SafeArrayCreateVector(type, 0, static_cast<ULONG>(items.size()));
        void* data = nullptr;
        SafeArrayAccessData(value.parray, &data);
        if (!items.empty()) std::memcpy(data, items.data(), items.size() * sizeof(T));
        SafeArrayUnaccessData(value.parray);
        value.vt = static_cast<VARTYPE>(VT_ARRAY | (tag ? tag : type));
        return *this;
    }
    Variant& texts(std::vector<const wchar_t*> items) {
        std::vector<BSTR> copies;
        for (const wchar_t* item : items) copies.push_back(item ? SysAllocString(item) : nullptr);
        return array<BSTR>(VT_BSTR, copies);
    }
    Variant& shaped(VARTYPE type, std::vector<SAFEARRAYBOUND> bounds) {
        value.parray = SafeArrayCreate(type, static_cast<UINT>(bounds.size()), bounds.data());
        value.vt = static_cast<VARTYPE>(VT_ARRAY | type);
        return *this;
    }
    CDBCVariant wrap() const { return CDBCVariant(value); }

    VARIANT value{};
};

using Build = std::function<void(Variant&)>;

// Every conversion on every source: accepted types convert, the others raise the type error that
// names both. The type is checked before the caller's buffer, so the buffers can be left out.
TEST(CDBCVariant, ConversionsAcceptOnlyTheirTypes) {
    // Each type alone and as an array without elements: the type decides, not the value.
    const std::pair<VARTYPE, std::string> types[] = {
        {VT_I2, "VT_I2"}, {VT_I4, "VT_I4"},     {VT_UI1, "VT_UI1"},   {VT_R4, "VT_R4"},
        {VT_R8, "VT_R8"}, {VT_BOOL, "VT_BOOL"}, {VT_BSTR, "VT_BSTR"}, {VT_UNKNOWN, "VT_UNKNOWN"}};
    const std::tuple<std::string, std::string, std::function<void(const CDBCVariant&)>>
        conversions[] = {
            {"String", "VT_BSTR", [](auto& v) { v.asString(); }},
            {"CString", "VT_BSTR", [](auto& v) { v.asCString(nullptr, 0); }},
            {"CWString", "VT_BSTR", [](auto& v) { v.asCWString(nullptr, 0); }},
            {"Long", "VT_I2 VT_I4", [](auto& v) { v.asLong(); }},
            {"Double", "VT_R4 VT_R8", [](auto& v) { v.asDouble(); }},
            {"Boolean", "VT_BOOL", [](auto& v) { v.asBoolean(); }},
            {"Char16", "VT_I2", [](auto& v) { v.asChar16(); }},
            {"Uint8", "VT_UI1", [](auto& v) { v.asUint8(); }},
            {"Uint16", "VT_I2 VT_I4", [](auto& v) { v.asUint16(); }},
            {"Sint16", "VT_I2 VT_I4", [](auto& v) { v.asSint16(); }},
            {"Uint32", "VT_I4", [](auto& v) { v.asUint32(); }},
            {"Sint32", "VT_I4", [](auto& v) { v.asSint32(); }},
            {"Uint64", "VT_BSTR", [](auto& v) { v.asUint64(); }},
            {"Real32", "VT_R4", [](auto& v) { v.asReal32(); }},
            {"Real64", "VT_R8", [](auto& v) { v.asReal64(); }},
            {"CStringArray", "VT_ARRAY|VT_BSTR", [](auto& v) { v.asCStringArray(nullptr, 0, 0); }},
            {"WCStringArray", "VT_ARRAY|VT_BSTR",
             [](auto& v) { v.asWCStringArray(nullptr, 0, 0); }},
            {"LongArray", "VT_ARRAY|VT_I2 VT_ARRAY|VT_I4",
             [](auto& v) { v.asLongArray(nullptr, 0); }},
            {"DoubleArray", "VT_ARRAY|VT_R8", [](auto& v) { v.asDoubleArray(nullptr, 0); }},
            {"BooleanArray", "VT_ARRAY|VT_BOOL", [](auto& v) { v.asBooleanArray(nullptr, 0); }},
            {"Char16Array", "VT_ARRAY|VT_I2", [](auto& v) { v.asChar16Array(nullptr, 0); }},
            {"Uint8Array", "VT_ARRAY|VT_UI1", [](auto& v) { v.asUint8Array(nullptr, 0); }},
            {"Uint64Array", "VT_ARRAY|VT_BSTR", [](auto& v) { v.asUint64Array(nullptr, 0); }},
            {"Sint64Array", "VT_ARRAY|VT_BSTR", [](auto& v) { v.asSint64Array(nullptr, 0); }},
            {"Real32Array", "VT_ARRAY|VT_R4", [](auto& v) { v.asReal32Array(nullptr, 0); }},
            {"Real64Array", "VT_ARRAY|VT_R8", [](auto& v) { v.asReal64Array(nullptr, 0); }},
            {"WMIResultArray", "VT_ARRAY|VT_UNKNOWN",
             [](auto& v) { v.asResultArray(nullptr, 0); }}};
    for (const auto& [target, accepted, run] : conversions) {
        for (const auto& [element, name] : types) {
            for (const bool isArray : {false, true}) {
                Variant raw;
                isArray ? raw.shaped(element, {{0, 0}}) : raw.tag(element);
                const std::string type = isArray ? "VT_ARRAY|" + name : name;
                if ((" " + accepted + " ").find(" " + type + " ") != std::string::npos)
                    EXPECT_NO_THROW(run(raw.wrap())) << type << " to " << target;
                else
                    EXPECT_CDBC_THROW(run(raw.wrap()), kTypeError,
                                      "type case err:" + type + " to " + target);
            }
        }
    }
}

TEST(CDBCVariant, ConvertsValues) {
    // The string-array forms clear the caller's slots even for an unset value.
    std::string slots(16, 'x');
    EXPECT_EQ(Variant().tag(VT_EMPTY).wrap().asCStringArray(slots.data(), 2, 8), 0);
    EXPECT_EQ(slots, std::string(16, '\0'));
    EXPECT_EQ(Variant().i2(-5).wrap().asChar16(), 0xFFFB);
    EXPECT_EQ(Variant().i4(70000).wrap().asUint16(), 4464);
    EXPECT_EQ(Variant().i4(70000).wrap().asSint16(), 4464);
    EXPECT_EQ(Variant().text(nullptr).wrap().asString(), "");

    // 64-bit integers arrive as text; the value wraps modulo 2^64.
    const std::pair<const wchar_t*, std::uint64_t> numbers[] = {
        {L"18446744073709551615", UINT64_MAX}, {L"12abc", 12}, {L" \t-5", 0 - 5ull}, {L"+7", 7},
        {L"18446744073709551616", 0},          {nullptr, 0}};
    for (const auto& [text, number] : numbers) {
        const CDBCVariant value = Variant().text(text).wrap();
        EXPECT_EQ(value.asUint64(), number) << (text ? text : L"null");
        EXPECT_EQ(value.asSint64(), static_cast<std::int64_t>(number));
    }
}

TEST(CDBCVariant, CopiesTextIntoCallerBuffers) {
    const CDBCVariant value = Variant().text(L"hello").wrap();
    std::string buffer(10, 'x');
    EXPECT_EQ(value.asCString(buffer.data(), 3), 3);
    EXPECT_EQ(buffer.substr(0, 4), "helx");  // no terminator, nothing beyond the size
    EXPECT_EQ(value.asCString(buffer.data(), 8), 5);
    EXPECT_EQ(buffer.substr(0, 9), std::string("hello\0\0\0x", 9));
    EXPECT_EQ(value.asCString(buffer.data(), -1), 0);
    wchar_t wide[4] = {L'x', L'x', L'x', L'x'};
    EXPECT_EQ(value.asCWString(wide, 3), 3);
    EXPECT_EQ(std::wstring(wide, 4), L"helx");
    EXPECT_EQ(value.asCWString(wide, 0), 0);

    Variant raw;
    raw.texts({L"abcdefghij", L"ab", nullptr});
    char slots[4 * 8];
    EXPECT_EQ(raw.wrap().asCStringArray(slots, 4, 8), 3);
    EXPECT_EQ(std::string(slots, 32), std::string("abcdefg\0ab", 10) + std::string(22, '\0'));
    wchar_t wideSlots[2 * 4];
    EXPECT_EQ(raw.wrap().asWCStringArray(wideSlots, 2, 4), 2);
    EXPECT_EQ(std::wstring(wideSlots, 8), std::wstring(L"abc\0ab\0\0", 8));
}

// The narrow form of as many whole characters of `text` as fit in width - 1 bytes, NUL-padded
// to `width`.
std::string wholeCharacters(const std::wstring& text, int width) {
    std::string kept;
    for (wchar_t c : text) {
        char piece[8];
        const int size =
            WideCharToMultiByte(CP_ACP, 0, &c, 1, piece, sizeof(piece), nullptr, nullptr);
        if (kept.size() + static_cast<size_t>(size) > static_cast<size_t>(width - 1)) break;
        kept.append(piece, static_cast<size_t>(size));
    }
    return kept + std::string(static_cast<size_t>(width) - kept.size(), '\0');
}

// Text cut to its slot never ends in part of a multibyte character.
TEST(CDBCVariant, CutsStringArrayElementsBetweenCharacters) {
    const std::pair<const wchar_t*, int> cases[] = {
        {L"\u00e9\u00e9\u00e9", 4}, {L"a\u20ac\u20ac", 5}, {L"\u20ac", 3}, {L"abc", 4}};
    for (const auto& [text, width] : cases) {
        Variant raw;
        raw.texts({text});
        std::vector<char> slot(static_cast<size_t>(width), 'x');
        EXPECT_EQ(raw.wrap().asCStringArray(slot.data(), 1, width), 1);
        EXPECT_EQ(std::string(slot.begin(), slot.end()), wholeCharacters(text, width));
    }
}

TEST(CDBCVariant, ConvertsArrays) {
    std::int32_t longs[3] = {};
    EXPECT_EQ(Variant().array<LONG>(VT_I4, {1, 2, 3, 4, 5}).wrap().asLongArray(longs, 3), 3);
    EXPECT_EQ(longs[2], 3);
    EXPECT_EQ(Variant().array<SHORT>(VT_I2, {-2}).wrap().asLongArray(longs, 3), 1);
    EXPECT_EQ(longs[0], -2);
    std::uint16_t words[2];
    EXPECT_EQ(Variant().array<LONG>(VT_I4, {70000}).wrap().asUint16Array(words, 2), 1);
    EXPECT_EQ(words[0], 4464);
    std::uint8_t flags[3];
    EXPECT_EQ(Variant().array<VARIANT_BOOL>(VT_BOOL, {-1, 0, 1}).wrap().asBooleanArray(flags, 3),
              3);
    EXPECT_EQ(std::vector<std::uint8_t>(flags, flags + 3), (std::vector<std::uint8_t>{1, 0, 1}));
    std::int64_t numbers[2];
    EXPECT_EQ(Variant().texts({L"18446744073709551615", L"-3"}).wrap().asSint64Array(numbers, 2),
              2);
    EXPECT_EQ(numbers[0], -1);
    EXPECT_EQ(numbers[1], -3);

    // Elements of another size than the type says are refused.
    EXPECT_CDBC_THROW(Variant().array<LONG>(VT_I4, {1}, VT_BOOL).wrap().asBooleanArray(flags, 3),
                      kTypeError, "bool type length is:4");
    double doubles[1];
    EXPECT_CDBC_THROW(Variant().array<LONG>(VT_I4, {1}, VT_R8).wrap().asDoubleArray(doubles, 1),
                      kTypeError, "double type length is:4");
}

// Arrays whose first dimension's bounds promise more than the array holds: an empty one whose
// upper bound wraps, and two-dimensional ones with an empty dimension. No element is read; every
// array reader and the stream output count elements alike.
TEST(CDBCVariant, ReadsNothingFromArraysWithoutElements) {
    const std::vector<std::tuple<const char*, std::vector<SAFEARRAYBOUND>, int>> shapes = {
        {"empty from INT_MIN", {{0, INT_MIN}}, 0},
        {"50 x 0", {{50, 0}, {0, 0}}, 0},
        {"0 x 50", {{0, 0}, {50, 0}}, 0},
        {"2 x 3: the first dimension counts", {{2, 0}, {3, 0}}, 2}};
    std::int32_t longs[8];
    for (const auto& [shape, bounds, count] : shapes) {
        Variant raw;
        raw.shaped(VT_I4, bounds);
        ASSERT_NE(raw.value.parray, nullptr) << shape;
        EXPECT_EQ(raw.wrap().asLongArray(longs, 8), count) << shape;
    }
}

// Adopted values are not copied; an error value raises alike and leaves its source empty.
TEST(CDBCVariant, AdoptsValuesWithoutCopyingThem) {
    Variant text;
    const BSTR original = text.text(L"adopted").value.bstrVal;
    const CDBCVariant adopted = CDBCVariant::adopt(text.value);
    EXPECT_EQ(adopted.variant().bstrVal, original);
    EXPECT_EQ(text.value.vt, VT_EMPTY);

    Variant error;
    error.value.vt = VT_ERROR;
    error.value.scode = static_cast<SCODE>(0x80041002);
    EXPECT_CDBC_THROW(error.wrap(), kTypeError, "type case VT_ERROR err:-2147217406");
    EXPECT_CDBC_THROW(CDBCVariant::adopt(error.value), kTypeError,
                      "type case VT_ERROR err:-2147217406");
    EXPECT_EQ(error.value.vt, VT_EMPTY);
    EXPECT_CDBC_THROW(CDBCVariant(static_cast<const VARIANT*>(nullptr)), 0x22000FF6,
                      "using null init CDBCVariant");
}

TEST(CDBCVariant, NamesTypesPerThread) {
    const std::pair<VARTYPE, const char*> names[] = {
        {VT_ARRAY | VT_BYREF | VT_VECTOR | VT_DISPATCH, "VT_ARRAY|VT_BYREF|VT_VECTOR|VT_DISPATCH"},
        {VT_ARRAY | VT_VARIANT, "UNKNOW TYPE[0xc]"},
        {0xFFFF, "UNKNOW TYPE[0x8fff]"},
    };
    for (const auto& [type, name] : names) EXPECT_STREQ(CDBCVariant::typeName(type), name);
    const char* mine = CDBCVariant::typeName(VT_I2);
    std::thread([] { CDBCVariant::typeName(VT_BSTR); }).join();
    EXPECT_STREQ(mine, "VT_I2");
}

TEST(CDBCVariant, WritesToStreams) {
    const std::pair<Build, const char*> cases[] = {
        {[](Variant& v) { v.tag(VT_NULL); }, "null"},
        {[](Variant& v) { v.r8(2.5); }, "2.5"},
        {[](Variant& v) {
             v.array<LONG>(VT_I4, {4, 5});
         },
         "array element0 is:4\narray element1 is:5\n"},
        {[](Variant& v) { v.texts({L"x"}); }, "array element0 is:x\n"},
    };
    for (const auto& [build, text] : cases) {
        Variant raw;
        build(raw);
        std::ostringstream out;
        out << raw.wrap();
        EXPECT_EQ(out.str(), text);
    }
    const auto printDate = [] { std::ostringstream() << Variant().tag(VT_DATE).wrap(); };
    EXPECT_CDBC_THROW(printDate(), kTypeError, "unsupport data type err:VT_DATE");
    try {
        printDate();
    } catch (const CDBC_Exception& e) {
        EXPECT_EQ(typeid(e), typeid(CDBC_Exception));  // the layer's own type, not the driver's
    }
}

}  // namespace
