#include "CDBCVariant.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "ExpectThrowCode.h"
#include "VariantBuilders.h"
#include "WMIException.h"
#include "WMIResult.h"

namespace {

using nvx4::test::Variant;
using namespace nvx4::test;

constexpr int kTypeError = 0x22000FFB;

struct Source {
    const char* name;
    std::function<void(Variant&)> build;
};

const Source kScalarSources[] = {
    {"VT_I2", [](Variant& v) { setI2(v, 7); }},
    {"VT_I4", [](Variant& v) { setI4(v, 7); }},
    {"VT_UI1", [](Variant& v) { setUi1(v, 7); }},
    {"VT_R4", [](Variant& v) { setR4(v, 7.0f); }},
    {"VT_R8", [](Variant& v) { setR8(v, 7.0); }},
    {"VT_BOOL", [](Variant& v) { setBool(v, true); }},
    {"VT_BSTR", [](Variant& v) { setBstr(v, L"7"); }},
    {"VT_ARRAY|VT_I4", [](Variant& v) { setArray<LONG>(v, VT_I4, {7}); }},
};

const Source kArraySources[] = {
    {"VT_I4", [](Variant& v) { setI4(v, 7); }},
    {"VT_ARRAY|VT_I2", [](Variant& v) { setArray<SHORT>(v, VT_I2, {7}); }},
    {"VT_ARRAY|VT_I4", [](Variant& v) { setArray<LONG>(v, VT_I4, {7}); }},
    {"VT_ARRAY|VT_UI1", [](Variant& v) { setArray<BYTE>(v, VT_UI1, {7}); }},
    {"VT_ARRAY|VT_R4", [](Variant& v) { setArray<float>(v, VT_R4, {7.0f}); }},
    {"VT_ARRAY|VT_R8", [](Variant& v) { setArray<double>(v, VT_R8, {7.0}); }},
    {"VT_ARRAY|VT_BOOL", [](Variant& v) { setArray<VARIANT_BOOL>(v, VT_BOOL, {-1}); }},
    {"VT_ARRAY|VT_BSTR", [](Variant& v) { setBstrArray(v, {L"7"}); }},
    {"VT_ARRAY|VT_UNKNOWN", [](Variant& v) { setArray<IUnknown*>(v, VT_UNKNOWN, {}); }},
};

struct Conversion {
    const char* target;
    std::set<std::string> accepted;
    std::function<void(const CDBCVariant&)> run;
};

char text[64];
wchar_t wideText[64];

const Conversion kScalarConversions[] = {
    {"String", {"VT_BSTR"}, [](const CDBCVariant& v) { v.asString(); }},
    {"CString", {"VT_BSTR"}, [](const CDBCVariant& v) { v.asCString(text, 64); }},
    {"CWString", {"VT_BSTR"}, [](const CDBCVariant& v) { v.asCWString(wideText, 64); }},
    {"Long", {"VT_I2", "VT_I4"}, [](const CDBCVariant& v) { v.asLong(); }},
    {"Double", {"VT_R4", "VT_R8"}, [](const CDBCVariant& v) { v.asDouble(); }},
    {"Boolean", {"VT_BOOL"}, [](const CDBCVariant& v) { v.asBoolean(); }},
    {"Char16", {"VT_I2"}, [](const CDBCVariant& v) { v.asChar16(); }},
    {"Uint8", {"VT_UI1"}, [](const CDBCVariant& v) { v.asUint8(); }},
    {"Uint16", {"VT_I2", "VT_I4"}, [](const CDBCVariant& v) { v.asUint16(); }},
    {"Sint16", {"VT_I2", "VT_I4"}, [](const CDBCVariant& v) { v.asSint16(); }},
    {"Uint32", {"VT_I4"}, [](const CDBCVariant& v) { v.asUint32(); }},
    {"Sint32", {"VT_I4"}, [](const CDBCVariant& v) { v.asSint32(); }},
    {"Uint64", {"VT_BSTR"}, [](const CDBCVariant& v) { v.asUint64(); }},
    {"Sint64", {"VT_BSTR"}, [](const CDBCVariant& v) { v.asSint64(); }},
    {"Real32", {"VT_R4"}, [](const CDBCVariant& v) { v.asReal32(); }},
    {"Real64", {"VT_R8"}, [](const CDBCVariant& v) { v.asReal64(); }},
};

std::int32_t longs[4];
std::uint32_t unsigned32s[4];
std::uint16_t unsigned16s[4];
std::int16_t signed16s[4];
std::uint8_t bytes[4];
std::uint64_t unsigned64s[4];
std::int64_t signed64s[4];
float floats[4];
double doubles[4];

const Conversion kArrayConversions[] = {
    {"CStringArray",
     {"VT_ARRAY|VT_BSTR"},
     [](const CDBCVariant& v) { v.asCStringArray(text, 4, 16); }},
    {"WCStringArray",
     {"VT_ARRAY|VT_BSTR"},
     [](const CDBCVariant& v) { v.asWCStringArray(wideText, 4, 16); }},
    {"LongArray",
     {"VT_ARRAY|VT_I2", "VT_ARRAY|VT_I4"},
     [](const CDBCVariant& v) { v.asLongArray(longs, 4); }},
    {"DoubleArray", {"VT_ARRAY|VT_R8"}, [](const CDBCVariant& v) { v.asDoubleArray(doubles, 4); }},
    {"BooleanArray",
     {"VT_ARRAY|VT_BOOL"},
     [](const CDBCVariant& v) { v.asBooleanArray(bytes, 4); }},
    {"Char16Array",
     {"VT_ARRAY|VT_I2"},
     [](const CDBCVariant& v) { v.asChar16Array(unsigned16s, 4); }},
    {"Uint8Array", {"VT_ARRAY|VT_UI1"}, [](const CDBCVariant& v) { v.asUint8Array(bytes, 4); }},
    {"Uint16Array",
     {"VT_ARRAY|VT_I2", "VT_ARRAY|VT_I4"},
     [](const CDBCVariant& v) { v.asUint16Array(unsigned16s, 4); }},
    {"Sint16Array",
     {"VT_ARRAY|VT_I2", "VT_ARRAY|VT_I4"},
     [](const CDBCVariant& v) { v.asSint16Array(signed16s, 4); }},
    {"Uint32Array",
     {"VT_ARRAY|VT_I2", "VT_ARRAY|VT_I4"},
     [](const CDBCVariant& v) { v.asUint32Array(unsigned32s, 4); }},
    {"Sint32Array",
     {"VT_ARRAY|VT_I2", "VT_ARRAY|VT_I4"},
     [](const CDBCVariant& v) { v.asSint32Array(longs, 4); }},
    {"Uint64Array",
     {"VT_ARRAY|VT_BSTR"},
     [](const CDBCVariant& v) { v.asUint64Array(unsigned64s, 4); }},
    {"Sint64Array",
     {"VT_ARRAY|VT_BSTR"},
     [](const CDBCVariant& v) { v.asSint64Array(signed64s, 4); }},
    {"Real32Array", {"VT_ARRAY|VT_R4"}, [](const CDBCVariant& v) { v.asReal32Array(floats, 4); }},
    {"Real64Array", {"VT_ARRAY|VT_R8"}, [](const CDBCVariant& v) { v.asReal64Array(doubles, 4); }},
    {"WMIResultArray",
     {"VT_ARRAY|VT_UNKNOWN"},
     [](const CDBCVariant& v) {
         WMIResult results[4];
         v.asResultArray(results, 4);
     }},
};

void checkAcceptance(const Conversion& conversion, const Source& source) {
    Variant raw;
    source.build(raw);
    const CDBCVariant value(raw.value);
    if (conversion.accepted.count(source.name)) {
        EXPECT_NO_THROW(conversion.run(value)) << source.name << " to " << conversion.target;
    } else {
        EXPECT_CDBC_THROW(conversion.run(value), kTypeError,
                          std::string("type case err:") + source.name + " to " + conversion.target);
    }
}

TEST(CDBCVariant, ScalarConversionsAcceptOnlyTheirTypes) {
    for (const Conversion& conversion : kScalarConversions)
        for (const Source& source : kScalarSources) checkAcceptance(conversion, source);
}

TEST(CDBCVariant, ArrayConversionsAcceptOnlyTheirTypes) {
    for (const Conversion& conversion : kArrayConversions)
        for (const Source& source : kArraySources) checkAcceptance(conversion, source);
}

TEST(CDBCVariant, EmptyAndNullGiveZeroValues) {
    for (const VARTYPE type : {VT_EMPTY, VT_NULL}) {
        Variant raw;
        raw.value.vt = type;
        const CDBCVariant value(raw.value);
        EXPECT_EQ(value.asString(), "");
        EXPECT_EQ(value.asLong(), 0);
        EXPECT_EQ(value.asDouble(), 0.0);
        EXPECT_FALSE(value.asBoolean());
        EXPECT_EQ(value.asUint64(), 0u);
        std::memset(text, 'x', sizeof(text));
        EXPECT_EQ(value.asCString(text, 4), 0);
        EXPECT_EQ(std::string(text, 4), std::string(4, '\0'));
        EXPECT_EQ(value.asLongArray(longs, 4), 0);
        // The string-array forms still clear the caller's slots.
        std::memset(text, 'x', sizeof(text));
        EXPECT_EQ(value.asCStringArray(text, 2, 8), 0);
        EXPECT_EQ(std::string(text, 16), std::string(16, '\0'));
    }
}

TEST(CDBCVariant, ScalarValues) {
    Variant i2;
    setI2(i2, -5);
    EXPECT_EQ(CDBCVariant(i2.value).asLong(), -5);
    EXPECT_EQ(CDBCVariant(i2.value).asChar16(), 0xFFFB);
    Variant i4;
    setI4(i4, 70000);
    EXPECT_EQ(CDBCVariant(i4.value).asUint16(), 4464);
    EXPECT_EQ(CDBCVariant(i4.value).asSint16(), 4464);
    Variant minusOne;
    setI4(minusOne, -1);
    EXPECT_EQ(CDBCVariant(minusOne.value).asUint32(), 0xFFFFFFFFu);
    EXPECT_EQ(CDBCVariant(minusOne.value).asUint16(), 0xFFFF);
    Variant r4;
    setR4(r4, 1.5f);
    EXPECT_EQ(CDBCVariant(r4.value).asDouble(), 1.5);
    Variant boolean;
    setBool(boolean, true);
    EXPECT_TRUE(CDBCVariant(boolean.value).asBoolean());
    Variant nullText;
    setBstr(nullText, nullptr);
    EXPECT_EQ(CDBCVariant(nullText.value).asString(), "");
    EXPECT_EQ(CDBCVariant(nullText.value).asSint64(), 0);
}

TEST(CDBCVariant, ParsesSixtyFourBitText) {
    const struct {
        const wchar_t* text;
        std::uint64_t value;
    } cases[] = {
        {L"18446744073709551615", UINT64_MAX},
        {L"12abc", 12},
        {L"  \t-5", static_cast<std::uint64_t>(-5)},
        {L"+7", 7},
        {L"", 0},
        {L"abc", 0},
        {L"18446744073709551616", 0},  // wraps modulo 2^64
        {L"9223372036854775808", 0x8000000000000000u},
    };
    for (const auto& c : cases) {
        Variant raw;
        setBstr(raw, c.text);
        const CDBCVariant value(raw.value);
        EXPECT_EQ(value.asUint64(), c.value) << c.text;
        EXPECT_EQ(value.asSint64(), static_cast<std::int64_t>(c.value)) << c.text;
    }
}

TEST(CDBCVariant, CopiesTextIntoCallerBuffers) {
    Variant raw;
    setBstr(raw, L"hello");
    const CDBCVariant value(raw.value);

    char buffer[10];
    std::memset(buffer, 'x', sizeof(buffer));
    EXPECT_EQ(value.asCString(buffer, 3), 3);
    EXPECT_EQ(std::string(buffer, 4), "helx");  // no terminator, nothing beyond size
    EXPECT_EQ(value.asCString(buffer, 8), 5);
    EXPECT_EQ(std::string(buffer, 9), std::string("hello\0\0\0x", 9));
    for (const int size : {0, -1}) {
        EXPECT_EQ(value.asCString(buffer, size), 0);
        EXPECT_EQ(buffer[0], 'h');
    }

    wchar_t wide[8];
    std::wmemset(wide, L'x', 8);
    EXPECT_EQ(value.asCWString(wide, 3), 3);
    EXPECT_EQ(std::wstring(wide, 4), L"helx");
    EXPECT_EQ(value.asCWString(wide, 7), 5);
    EXPECT_EQ(std::wstring(wide, 8), std::wstring(L"hello\0\0x", 8));
    EXPECT_EQ(value.asCWString(wide, -3), 0);
}

TEST(CDBCVariant, ArrayValues) {
    Variant five;
    setArray<LONG>(five, VT_I4, {1, 2, 3, 4, 5});
    std::int32_t firstThree[3] = {};
    EXPECT_EQ(CDBCVariant(five.value).asLongArray(firstThree, 3), 3);
    EXPECT_EQ(firstThree[2], 3);

    Variant shorts;
    setArray<SHORT>(shorts, VT_I2, {-2, 3});
    EXPECT_EQ(CDBCVariant(shorts.value).asLongArray(longs, 4), 2);
    EXPECT_EQ(longs[0], -2);

    Variant wide;
    setArray<LONG>(wide, VT_I4, {70000, -1});
    EXPECT_EQ(CDBCVariant(wide.value).asUint16Array(unsigned16s, 4), 2);
    EXPECT_EQ(unsigned16s[0], 4464);
    EXPECT_EQ(CDBCVariant(wide.value).asUint32Array(unsigned32s, 4), 2);
    EXPECT_EQ(unsigned32s[1], 0xFFFFFFFFu);

    Variant flags;
    setArray<VARIANT_BOOL>(flags, VT_BOOL, {-1, 0, 1});
    EXPECT_EQ(CDBCVariant(flags.value).asBooleanArray(bytes, 4), 3);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 1);

    Variant numbers;
    setBstrArray(numbers, {L"18446744073709551615", nullptr, L"-3"});
    EXPECT_EQ(CDBCVariant(numbers.value).asSint64Array(signed64s, 4), 3);
    EXPECT_EQ(signed64s[0], -1);
    EXPECT_EQ(signed64s[1], 0);
    EXPECT_EQ(signed64s[2], -3);
}

TEST(CDBCVariant, StringArraysFillFixedWidthSlots) {
    Variant raw;
    setBstrArray(raw, {L"abcdefghij", L"ab", nullptr});
    const CDBCVariant value(raw.value);

    char slots[4 * 8];
    std::memset(slots, 'x', sizeof(slots));
    EXPECT_EQ(value.asCStringArray(slots, 4, 8), 3);
    EXPECT_STREQ(&slots[0], "abcdefg");
    EXPECT_STREQ(&slots[8], "ab");
    EXPECT_STREQ(&slots[16], "");
    EXPECT_EQ(std::string(&slots[24], 8), std::string(8, '\0'));
    EXPECT_EQ(value.asCStringArray(slots, 2, 0), 0);

    wchar_t wideSlots[2 * 4];
    EXPECT_EQ(value.asWCStringArray(wideSlots, 2, 4), 2);
    EXPECT_EQ(std::wstring(wideSlots, 8), std::wstring(L"abc\0ab\0\0", 8));
}

TEST(CDBCVariant, ArraysOfTheWrongElementSizeAreRefused) {
    Variant notBooleans;
    setArray<LONG>(notBooleans, VT_I4, {1}, VT_BOOL);
    EXPECT_CDBC_THROW(CDBCVariant(notBooleans.value).asBooleanArray(bytes, 4), kTypeError,
                      "bool type length is:4");
    Variant notDoubles;
    setArray<LONG>(notDoubles, VT_I4, {1}, VT_R8);
    EXPECT_CDBC_THROW(CDBCVariant(notDoubles.value).asDoubleArray(doubles, 4), kTypeError,
                      "double type length is:4");
}

TEST(CDBCVariant, RefusesErrorValuesAndNullPointers) {
    Variant error;
    error.value.vt = VT_ERROR;
    error.value.scode = static_cast<SCODE>(0x80041002);
    EXPECT_CDBC_THROW(CDBCVariant{error.value}, kTypeError, "type case VT_ERROR err:-2147217406");
    EXPECT_CDBC_THROW(CDBCVariant(static_cast<const VARIANT*>(nullptr)), 0x22000FF6,
                      "using null init CDBCVariant");
}

TEST(CDBCVariant, NamesTypes) {
    const struct {
        VARTYPE type;
        const char* name;
    } cases[] = {
        {VT_ARRAY | VT_BSTR, "VT_ARRAY|VT_BSTR"},
        {VT_BYREF | VT_I4, "VT_BYREF|VT_I4"},
        {VT_ARRAY | VT_BYREF | VT_VECTOR | VT_DISPATCH, "VT_ARRAY|VT_BYREF|VT_VECTOR|VT_DISPATCH"},
        {VT_ARRAY | VT_VARIANT, "UNKNOW TYPE[0xc]"},
        {VT_EMPTY, "UNKNOW TYPE[0x0]"},
        {VT_UINT, "VT_UINT"},
        {0xFFFF, "UNKNOW TYPE[0x8fff]"},
    };
    for (const auto& c : cases) EXPECT_STREQ(CDBCVariant::typeName(c.type), c.name);
}

TEST(CDBCVariant, TypeNamesBelongToTheirThread) {
    const char* mine = CDBCVariant::typeName(VT_I2);
    std::thread([] { CDBCVariant::typeName(VT_BSTR); }).join();
    EXPECT_STREQ(mine, "VT_I2");
}

TEST(CDBCVariant, WritesToStreams) {
    const struct {
        std::function<void(Variant&)> build;
        const char* text;
    } cases[] = {
        {[](Variant& v) { v.value.vt = VT_NULL; }, "null"},
        {[](Variant& v) { setI2(v, -3); }, "-3"},
        {[](Variant& v) { setR8(v, 2.5); }, "2.5"},
        {[](Variant& v) { setBstr(v, L"text"); }, "text"},
        {[](Variant& v) { setBool(v, false); }, "false"},
        {[](Variant& v) {
             setArray<LONG>(v, VT_I4, {4, 5});
         },
         "array element0 is:4\narray element1 is:5\n"},
        {[](Variant& v) { setBstrArray(v, {L"x"}); }, "array element0 is:x\n"},
    };
    for (const auto& c : cases) {
        Variant raw;
        c.build(raw);
        std::ostringstream out;
        out << CDBCVariant(raw.value);
        EXPECT_EQ(out.str(), c.text);
    }

    Variant date;
    date.value.vt = VT_DATE;
    std::ostringstream out;
    try {
        out << CDBCVariant(date.value);
        ADD_FAILURE() << "no exception";
    } catch (const CDBC_Exception& e) {
        EXPECT_EQ(dynamic_cast<const WMIException*>(&e), nullptr);
        EXPECT_EQ(e.code, kTypeError);
        EXPECT_EQ(e.message, "unsupport data type err:VT_DATE");
    }
}

}  // namespace
