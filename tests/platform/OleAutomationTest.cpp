// BSTRs, VARIANTs and SAFEARRAYs, over the stand-in on Linux and over the real implementation on
// Windows (Wine's, in CI), so that the stand-in is checked against it.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <cwchar>
#include <utility>

namespace {

std::uint32_t prefixOf(BSTR text) {
    std::uint32_t prefix;
    std::memcpy(&prefix, reinterpret_cast<const char*>(text) - sizeof prefix, sizeof prefix);
    return prefix;
}

TEST(BstrTest, HasALengthPrefixAndATerminator) {
    BSTR text = SysAllocString(L"abc");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 3u);
    EXPECT_EQ(SysStringByteLen(text), 3 * sizeof(OLECHAR));
    EXPECT_EQ(prefixOf(text), 3 * sizeof(OLECHAR));
    EXPECT_EQ(text[3], L'\0');
    SysFreeString(text);
    // Null is the empty string.
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
}

TEST(BstrTest, LengthsCountEmbeddedNulsAndOddBytes) {
    BSTR embedded = SysAllocStringLen(L"a\0b", 3);
    EXPECT_EQ(SysStringLen(embedded), 3u);
    EXPECT_EQ(embedded[2], L'b');
    BSTR blank = SysAllocStringLen(nullptr, 4);
    EXPECT_EQ(SysStringLen(blank), 4u);
    EXPECT_EQ(std::wcslen(blank), 0u);
    BSTR bytes = SysAllocStringByteLen("xyz", 3);
    EXPECT_EQ(SysStringByteLen(bytes), 3u);
    EXPECT_EQ(SysAllocStringLen(L"x", 0xFFFFFFFFu), nullptr);
    for (BSTR text : {embedded, blank, bytes}) SysFreeString(text);
}

// A plain string is copied deeply by every CDBCVariant made in the suites that run here too.
TEST(VariantTest, CopyIsDeepForStringsAndArrays) {
    BSTR text = SysAllocStringByteLen("abcde", 5);
    VARIANT source;
    source.vt = VT_ARRAY | VT_BSTR;
    source.parray = SafeArrayCreateVector(VT_BSTR, 0, 1);
    LONG index = 0;
    ASSERT_EQ(SafeArrayPutElement(source.parray, &index, text), S_OK);
    // Copying over a VARIANT frees what it held (checked by the leak sanitizer).
    VARIANT copy;
    copy.vt = VT_BSTR;
    copy.bstrVal = text;
    ASSERT_EQ(VariantCopy(&copy, &source), S_OK);
    EXPECT_NE(copy.parray, source.parray);
    BSTR element = static_cast<BSTR*>(copy.parray->pvData)[0];
    EXPECT_NE(element, static_cast<BSTR*>(source.parray->pvData)[0]);
    EXPECT_EQ(SysStringByteLen(element), 5u);
    EXPECT_EQ(VariantCopy(&copy, &copy), S_OK);
    VariantClear(&source);
    VariantClear(&copy);
}

TEST(VariantTest, InvalidTypesAreRefusedAndLeftAlone) {
    VARIANT bad;
    bad.vt = 0x7FFF;
    VARIANT copy;
    VariantInit(&copy);
    EXPECT_EQ(VariantCopy(&copy, &bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(copy.vt, VT_EMPTY);
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(bad.vt, 0x7FFF);
#ifndef _WIN32
    // Wine clears a bare VT_VARIANT, which is valid only by reference or in arrays, and crashes
    // on a null VARIANT, which the documentation warns may happen; the stand-in refuses both.
    bad.vt = VT_VARIANT;
    EXPECT_EQ(VariantClear(&bad), DISP_E_BADVARTYPE);
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
#endif
}

TEST(SafeArrayTest, VectorsKnowTheirBoundsAndElementSizes) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_I4, -2, 5);
    ASSERT_NE(array, nullptr);
    LONG low = 0, high = 0;
    EXPECT_EQ(SafeArrayGetLBound(array, 1, &low), S_OK);
    EXPECT_EQ(SafeArrayGetUBound(array, 1, &high), S_OK);
    EXPECT_EQ(low, -2);
    EXPECT_EQ(high, 2);
    EXPECT_EQ(SafeArrayGetLBound(array, 2, &low), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayGetUBound(array, 0, &high), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayDestroy(array), S_OK);

    const std::pair<VARTYPE, UINT> sizes[] = {{VT_UI1, 1},
                                              {VT_I2, 2},
                                              {VT_BOOL, 2},
                                              {VT_R4, 4},
                                              {VT_R8, 8},
                                              {VT_I8, 8},
                                              {VT_BSTR, sizeof(BSTR)},
                                              {VT_UNKNOWN, sizeof(IUnknown*)},
                                              {VT_VARIANT, sizeof(VARIANT)}};
    for (const auto& [type, size] : sizes) {
        SAFEARRAY* typed = SafeArrayCreateVector(type, 0, 0);
        ASSERT_NE(typed, nullptr) << type;
        EXPECT_EQ(SafeArrayGetElemsize(typed), size) << type;
        EXPECT_NE(typed->pvData, nullptr) << "even an empty array has data";
        SafeArrayDestroy(typed);
    }
    EXPECT_EQ(SafeArrayCreateVector(VT_EMPTY, 0, 1), nullptr);
    EXPECT_EQ(SafeArrayCreateVector(VT_NULL, 0, 1), nullptr);
}

TEST(SafeArrayTest, AccessLocksTheArray) {
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, 3);
    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(array, &data), S_OK);
    EXPECT_EQ(data, array->pvData);
    EXPECT_EQ(SafeArrayDestroy(array), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnaccessData(array), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(array), E_UNEXPECTED);
    EXPECT_EQ(SafeArrayDestroy(array), S_OK);
}

}  // namespace
