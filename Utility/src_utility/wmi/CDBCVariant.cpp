#include "CDBCVariant.h"

#include <wbemcli.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <ostream>
#include <utility>
#include <vector>

#include "CDBC_Exception.h"
#include "ErrorCodes.h"
#include "SafeArrayAccess.h"
#include "WMIException.h"
#include "WMIResult.h"
#include "WMIText.h"

namespace {

// Stream output shows at most this many elements of an array, strings cut to this width.
constexpr unsigned kPrintedElements = 100;
constexpr int kPrintedWidth = 80;

std::string elementSizeMessage(const char* kind, unsigned size) {
    return std::string(kind) + " type length is:" + std::to_string(size);
}

// The length of a wide text that a copy with wcsncpy semantics stops at: the first NUL.
size_t wideTextLength(const wchar_t* text, size_t limit) {
    size_t length = 0;
    while (length < limit && text[length] != L'\0') ++length;
    return length;
}

bool isHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The narrow form of the longest leading part of `length` wide characters that fits in `limit`
// bytes. Only whole characters are taken: a multibyte character, or a surrogate pair, that does
// not fit is left out entirely rather than cut.
std::string narrowPrefix(const wchar_t* text, size_t length, size_t limit) {
    // Every character takes at least one byte, so no more than `limit` of them can fit.
    size_t tooMany = length < limit ? length : limit;
    std::string narrow = toNarrow(text, tooMany);
    if (narrow.size() <= limit) return narrow;
    // Halves the range between a prefix that fits and one that does not.
    size_t fits = 0;
    while (tooMany - fits > 1) {
        const size_t middle = fits + (tooMany - fits) / 2;
        if (toNarrow(text, middle).size() <= limit)
            fits = middle;
        else
            tooMany = middle;
    }
    if (fits > 0 && isHighSurrogate(text[fits - 1])) --fits;
    return toNarrow(text, fits);
}

// 64-bit integers travel as decimal text: leading white space, an optional sign, then digits up
// to the first non-digit. The value wraps modulo 2^64, as an unchecked conversion does.
std::uint64_t parseDecimal(BSTR text) {
    const std::string narrow = bstrToNarrow(text);
    size_t i = 0;
    while (i < narrow.size() && std::isspace(static_cast<unsigned char>(narrow[i]))) ++i;
    bool negative = false;
    if (i < narrow.size() && (narrow[i] == '+' || narrow[i] == '-')) negative = narrow[i++] == '-';
    std::uint64_t number = 0;
    for (; i < narrow.size() && std::isdigit(static_cast<unsigned char>(narrow[i])); ++i)
        number = number * 10 + static_cast<std::uint64_t>(narrow[i] - '0');
    return negative ? 0 - number : number;
}

}  // namespace

CDBCVariant::CDBCVariant(const VARIANT* source) {
    VariantInit(&value);
    if (source == nullptr)
        throw WMIException(__FILE__, __LINE__, CDBC_INVALID_PARAMETER,
                           "using null init CDBCVariant");
    copyFrom(*source);
    checkError();
}

CDBCVariant::CDBCVariant(const VARIANT& source) {
    copyFrom(source);
    checkError();
}

CDBCVariant::CDBCVariant(const CDBCVariant& other) {
    copyFrom(other.value);
    checkError();
}

CDBCVariant::CDBCVariant(VARIANT& source, Adopted) : value(source) {
    VariantInit(&source);
    checkError();
}

CDBCVariant CDBCVariant::adopt(VARIANT& source) { return CDBCVariant(source, Adopted{}); }

CDBCVariant& CDBCVariant::operator=(const CDBCVariant& other) {
    if (this != &other) {
        CDBCVariant copy(other);
        std::swap(value, copy.value);
    }
    return *this;
}

CDBCVariant::~CDBCVariant() { VariantClear(&value); }

void CDBCVariant::copyFrom(const VARIANT& source) {
    VariantInit(&value);
    // Older SDK headers declare the source without const; VariantCopy only reads it.
    const HRESULT result = VariantCopy(&value, const_cast<VARIANT*>(&source));
    if (FAILED(result)) {
        value.vt = VT_ERROR;
        value.scode = result;
    }
}

void CDBCVariant::raiseError() const {
    // A VT_ERROR value owns nothing, so raising from a constructor leaks nothing.
    throw WMIException(__FILE__, __LINE__, CDBC_TYPE_ERROR,
                       "type case VT_ERROR err:" + std::to_string(static_cast<int>(value.scode)));
}

void CDBCVariant::raiseTypeError(const char* target) const {
    throw WMIException(__FILE__, __LINE__, CDBC_TYPE_ERROR,
                       std::string("type case err:") + typeName(value.vt) + " to " + target);
}

std::string CDBCVariant::asString() const {
    if (isEmptyOrNull()) return std::string();
    if (value.vt != VT_BSTR) raiseTypeError("String");
    return bstrToNarrow(value.bstrVal);
}

int CDBCVariant::asCString(char* buffer, int size) const {
    if (!isEmptyOrNull() && value.vt != VT_BSTR) raiseTypeError("CString");
    if (buffer == nullptr || size <= 0) return 0;
    const std::string text = asString();
    const size_t count = text.size() < static_cast<size_t>(size) ? text.size() : size;
    std::memcpy(buffer, text.data(), count);
    std::memset(buffer + count, 0, static_cast<size_t>(size) - count);
    return static_cast<int>(count);
}

int CDBCVariant::asCWString(wchar_t* buffer, int size) const {
    if (!isEmptyOrNull() && value.vt != VT_BSTR) raiseTypeError("CWString");
    if (buffer == nullptr || size <= 0) return 0;
    const BSTR text = value.vt == VT_BSTR ? value.bstrVal : nullptr;
    const size_t length = text == nullptr ? 0 : SysStringLen(text);
    const size_t count = length < static_cast<size_t>(size) ? length : size;
    if (count > 0) std::wmemcpy(buffer, text, count);
    std::wmemset(buffer + count, L'\0', static_cast<size_t>(size) - count);
    return static_cast<int>(count);
}

std::int32_t CDBCVariant::asLong() const {
    if (isEmptyOrNull()) return 0;
    if (value.vt == VT_I2) return value.iVal;
    if (value.vt == VT_I4) return value.lVal;
    raiseTypeError("Long");
}

double CDBCVariant::asDouble() const {
    if (isEmptyOrNull()) return 0.0;
    if (value.vt == VT_R4) return value.fltVal;
    if (value.vt == VT_R8) return value.dblVal;
    raiseTypeError("Double");
}

bool CDBCVariant::asBoolean() const {
    if (isEmptyOrNull()) return false;
    if (value.vt != VT_BOOL) raiseTypeError("Boolean");
    return value.boolVal != 0;
}

std::uint16_t CDBCVariant::asChar16() const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != VT_I2) raiseTypeError("Char16");
    return static_cast<std::uint16_t>(value.iVal);
}

std::uint8_t CDBCVariant::asUint8() const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != VT_UI1) raiseTypeError("Uint8");
    return value.bVal;
}

std::uint16_t CDBCVariant::asUint16() const {
    if (isEmptyOrNull()) return 0;
    if (value.vt == VT_I2) return static_cast<std::uint16_t>(value.iVal);
    if (value.vt == VT_I4) return static_cast<std::uint16_t>(value.lVal);
    raiseTypeError("Uint16");
}

std::int16_t CDBCVariant::asSint16() const {
    if (isEmptyOrNull()) return 0;
    if (value.vt == VT_I2) return value.iVal;
    if (value.vt == VT_I4) return static_cast<std::int16_t>(value.lVal);
    raiseTypeError("Sint16");
}

std::uint32_t CDBCVariant::asUint32() const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != VT_I4) raiseTypeError("Uint32");
    return static_cast<std::uint32_t>(value.lVal);
}

std::int32_t CDBCVariant::asSint32() const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != VT_I4) raiseTypeError("Sint32");
    return value.lVal;
}

std::uint64_t CDBCVariant::asUint64() const { return parseInteger("Uint64"); }

std::int64_t CDBCVariant::asSint64() const {
    return static_cast<std::int64_t>(parseInteger("Sint64"));
}

float CDBCVariant::asReal32() const {
    if (isEmptyOrNull()) return 0.0f;
    if (value.vt != VT_R4) raiseTypeError("Real32");
    return value.fltVal;
}

double CDBCVariant::asReal64() const {
    if (isEmptyOrNull()) return 0.0;
    if (value.vt != VT_R8) raiseTypeError("Real64");
    return value.dblVal;
}

std::uint64_t CDBCVariant::parseInteger(const char* target) const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != VT_BSTR) raiseTypeError(target);
    return parseDecimal(value.bstrVal);
}

// The element counts come from the bounds' element numbers, never from lower and upper bounds (an
// upper bound wraps when the lower one is near the bottom of its range). An array with an empty
// dimension holds nothing, whatever its first dimension says.
unsigned CDBCVariant::elementCount(unsigned capacity) const {
    const SAFEARRAY* array = value.parray;
    if (array == nullptr || array->cDims == 0) return 0;
    for (USHORT d = 0; d < array->cDims; ++d)
        if (array->rgsabound[d].cElements == 0) return 0;
    // The descriptor keeps the bounds in reverse order: the first dimension comes last.
    const ULONG first = array->rgsabound[array->cDims - 1].cElements;
    return first < capacity ? static_cast<unsigned>(first) : capacity;
}

unsigned CDBCVariant::elementSize() const {
    return value.parray == nullptr ? 0 : SafeArrayGetElemsize(value.parray);
}

template <typename Reader>
int CDBCVariant::readArray(unsigned capacity, Reader reader) const {
    const unsigned count = elementCount(capacity);
    if (count == 0) return 0;
    const SafeArrayAccess access(value.parray);
    if (FAILED(access.result())) throw WMIException(__FILE__, __LINE__, access.result());
    reader(access.data(), count);
    return static_cast<int>(count);
}

// Integer arrays arrive as 16-bit (sign-extended) or 32-bit elements; the target type keeps the
// bits it has room for.
template <typename T>
int CDBCVariant::readIntegers(T* values, unsigned capacity, const char* target) const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != (VT_ARRAY | VT_I2) && value.vt != (VT_ARRAY | VT_I4)) raiseTypeError(target);
    const bool narrow = elementSize() == sizeof(std::int16_t);
    return readArray(capacity, [&](const void* data, unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            values[i] = narrow ? static_cast<T>(static_cast<const std::int16_t*>(data)[i])
                               : static_cast<T>(static_cast<const std::int32_t*>(data)[i]);
        }
    });
}

int CDBCVariant::asCStringArray(char* buffer, unsigned capacity, int width) const {
    if (!isEmptyOrNull() && value.vt != (VT_ARRAY | VT_BSTR)) raiseTypeError("CStringArray");
    if (buffer == nullptr || width <= 0) return 0;
    const size_t slot = static_cast<size_t>(width);
    std::memset(buffer, 0, capacity * slot);
    if (isEmptyOrNull()) return 0;
    if (value.parray != nullptr && elementSize() != sizeof(BSTR))
        throw WMIException(__FILE__, __LINE__, CDBC_TYPE_ERROR,
                           elementSizeMessage("bool", elementSize()));
    return readArray(capacity, [&](const void* data, unsigned count) {
        const BSTR* items = static_cast<const BSTR*>(data);
        for (unsigned i = 0; i < count; ++i) {
            const size_t length = items[i] == nullptr ? 0 : SysStringLen(items[i]);
            const std::string text = narrowPrefix(items[i], length, slot - 1);
            std::memcpy(buffer + i * slot, text.data(), text.size());
        }
    });
}

int CDBCVariant::asWCStringArray(wchar_t* buffer, unsigned capacity, int width) const {
    if (!isEmptyOrNull() && value.vt != (VT_ARRAY | VT_BSTR)) raiseTypeError("WCStringArray");
    if (buffer == nullptr || width <= 0) return 0;
    const size_t slot = static_cast<size_t>(width);
    std::wmemset(buffer, L'\0', capacity * slot);
    if (isEmptyOrNull()) return 0;
    return readArray(capacity, [&](const void* data, unsigned count) {
        const BSTR* items = static_cast<const BSTR*>(data);
        for (unsigned i = 0; i < count; ++i) {
            if (items[i] == nullptr) continue;
            const size_t length = wideTextLength(items[i], slot - 1);
            if (length > 0) std::wmemcpy(buffer + i * slot, items[i], length);
        }
    });
}

int CDBCVariant::asLongArray(std::int32_t* values, unsigned capacity) const {
    return readIntegers(values, capacity, "LongArray");
}

int CDBCVariant::asDoubleArray(double* values, unsigned capacity) const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != (VT_ARRAY | VT_R8)) raiseTypeError("DoubleArray");
    if (value.parray != nullptr && elementSize() != sizeof(double))
        throw WMIException(__FILE__, __LINE__, CDBC_TYPE_ERROR,
                           elementSizeMessage("double", elementSize()));
    return readArray(capacity, [&](const void* data, unsigned count) {
        std::memcpy(values, data, count * sizeof(double));
    });
}

int CDBCVariant::asBooleanArray(std::uint8_t* values, unsigned capacity) const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != (VT_ARRAY | VT_BOOL)) raiseTypeError("BooleanArray");
    if (value.parray != nullptr && elementSize() != sizeof(VARIANT_BOOL))
        throw WMIException(__FILE__, __LINE__, CDBC_TYPE_ERROR,
                           elementSizeMessage("bool", elementSize()));
    return readArray(capacity, [&](const void* data, unsigned count) {
        for (unsigned i = 0; i < count; ++i)
            values[i] = static_cast<const VARIANT_BOOL*>(data)[i] != 0 ? 1 : 0;
    });
}

int CDBCVariant::asChar16Array(std::uint16_t* values, unsigned capacity) const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != (VT_ARRAY | VT_I2)) raiseTypeError("Char16Array");
    if (value.parray != nullptr && elementSize() != sizeof(std::uint16_t))
        throw WMIException(__FILE__, __LINE__, CDBC_TYPE_ERROR,
                           elementSizeMessage("bool", elementSize()));
    return readArray(capacity, [&](const void* data, unsigned count) {
        std::memcpy(values, data, count * sizeof(std::uint16_t));
    });
}

int CDBCVariant::asUint8Array(std::uint8_t* values, unsigned capacity) const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != (VT_ARRAY | VT_UI1)) raiseTypeError("Uint8Array");
    if (value.parray != nullptr && elementSize() != sizeof(std::uint8_t))
        throw WMIException(__FILE__, __LINE__, CDBC_TYPE_ERROR,
                           elementSizeMessage("bool", elementSize()));
    return readArray(capacity,
                     [&](const void* data, unsigned count) { std::memcpy(values, data, count); });
}

int CDBCVariant::asUint16Array(std::uint16_t* values, unsigned capacity) const {
    return readIntegers(values, capacity, "Uint16Array");
}

int CDBCVariant::asSint16Array(std::int16_t* values, unsigned capacity) const {
    return readIntegers(values, capacity, "Sint16Array");
}

int CDBCVariant::asUint32Array(std::uint32_t* values, unsigned capacity) const {
    return readIntegers(values, capacity, "Uint32Array");
}

int CDBCVariant::asSint32Array(std::int32_t* values, unsigned capacity) const {
    return readIntegers(values, capacity, "Sint32Array");
}

int CDBCVariant::asUint64Array(std::uint64_t* values, unsigned capacity) const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != (VT_ARRAY | VT_BSTR)) raiseTypeError("Uint64Array");
    return readArray(capacity, [&](const void* data, unsigned count) {
        for (unsigned i = 0; i < count; ++i)
            values[i] = parseDecimal(static_cast<const BSTR*>(data)[i]);
    });
}

int CDBCVariant::asSint64Array(std::int64_t* values, unsigned capacity) const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != (VT_ARRAY | VT_BSTR)) raiseTypeError("Sint64Array");
    return readArray(capacity, [&](const void* data, unsigned count) {
        for (unsigned i = 0; i < count; ++i)
            values[i] = static_cast<std::int64_t>(parseDecimal(static_cast<const BSTR*>(data)[i]));
    });
}

int CDBCVariant::asReal32Array(float* values, unsigned capacity) const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != (VT_ARRAY | VT_R4)) raiseTypeError("Real32Array");
    return readArray(capacity, [&](const void* data, unsigned count) {
        std::memcpy(values, data, count * sizeof(float));
    });
}

int CDBCVariant::asReal64Array(double* values, unsigned capacity) const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != (VT_ARRAY | VT_R8)) raiseTypeError("Real64Array");
    return readArray(capacity, [&](const void* data, unsigned count) {
        std::memcpy(values, data, count * sizeof(double));
    });
}

int CDBCVariant::asResultArray(WMIResult* results, unsigned capacity) const {
    if (isEmptyOrNull()) return 0;
    if (value.vt != (VT_ARRAY | VT_UNKNOWN)) raiseTypeError("WMIResultArray");
    return readArray(capacity, [&](const void* data, unsigned count) {
        for (unsigned i = 0; i < count; ++i) {
            IUnknown* element = static_cast<IUnknown* const*>(data)[i];
            ComRef<IWbemClassObject> object;
            if (element != nullptr) {
                const HRESULT result =
                    element->QueryInterface(IID_IWbemClassObject, object.putVoid());
                if (FAILED(result)) throw WMIException(__FILE__, __LINE__, result);
            }
            results[i].adopt(object.detach());
        }
    });
}

const char* CDBCVariant::typeName(VARTYPE type) {
    struct Flag {
        VARTYPE bit;
        const char* prefix;
    };
    static const Flag kFlags[] = {
        {VT_ARRAY, "VT_ARRAY|"}, {VT_BYREF, "VT_BYREF|"}, {VT_VECTOR, "VT_VECTOR|"}};
    struct Base {
        VARTYPE type;
        const char* name;
    };
    static const Base kBases[] = {
        {VT_I2, "VT_I2"},           {VT_I4, "VT_I4"},
        {VT_R4, "VT_R4"},           {VT_R8, "VT_R8"},
        {VT_CY, "VT_CY"},           {VT_DATE, "VT_DATE"},
        {VT_BSTR, "VT_BSTR"},       {VT_DISPATCH, "VT_DISPATCH"},
        {VT_ERROR, "VT_ERROR"},     {VT_BOOL, "VT_BOOL"},
        {VT_UNKNOWN, "VT_UNKNOWN"}, {VT_I1, "VT_I1"},
        {VT_UI1, "VT_UI1"},         {VT_UI2, "VT_UI2"},
        {VT_UI4, "VT_UI4"},         {VT_INT, "VT_INT"},
        {VT_UINT, "VT_UINT"},
    };
    // One buffer per thread, so that threads raising type errors at once keep their own names.
    // It has room for all three prefixes before the longest base name.
    static thread_local char buffer[64];
    std::string name;
    unsigned base = type;
    for (const Flag& flag : kFlags) {
        if (base & flag.bit) {
            name += flag.prefix;
            base &= ~static_cast<unsigned>(flag.bit);
        }
    }
    for (const Base& entry : kBases) {
        if (entry.type == base) {
            std::snprintf(buffer, sizeof(buffer), "%s%s", name.c_str(), entry.name);
            return buffer;
        }
    }
    std::snprintf(buffer, sizeof(buffer), "UNKNOW TYPE[0x%x]", base);
    return buffer;
}

namespace {

template <typename Print>
void printElements(std::ostream& out, unsigned count, Print print) {
    for (unsigned i = 0; i < count; ++i) {
        out << "array element" << i << " is:";
        print(i);
        out << std::endl;
    }
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const CDBCVariant& value) {
    switch (value.type()) {
        case VT_EMPTY:
        case VT_NULL:
            return out << "null";
        case VT_I2:
        case VT_I4:
            return out << value.asLong();
        case VT_R4:
        case VT_R8:
            return out << value.asDouble();
        case VT_BSTR:
            return out << value.asString();
        case VT_BOOL:
            return out << (value.asBoolean() ? "true" : "false");
        case VT_ARRAY | VT_I2:
        case VT_ARRAY | VT_I4: {
            std::vector<std::int32_t> items(kPrintedElements);
            const int count = value.asLongArray(items.data(), kPrintedElements);
            printElements(out, count, [&](unsigned i) { out << items[i]; });
            return out;
        }
        case VT_ARRAY | VT_BSTR: {
            std::vector<char> items(kPrintedElements * kPrintedWidth);
            const int count = value.asCStringArray(items.data(), kPrintedElements, kPrintedWidth);
            printElements(out, count, [&](unsigned i) { out << &items[i * kPrintedWidth]; });
            return out;
        }
        case VT_ARRAY | VT_BOOL: {
            std::vector<std::uint8_t> items(kPrintedElements);
            const int count = value.asBooleanArray(items.data(), kPrintedElements);
            printElements(out, count, [&](unsigned i) { out << (items[i] ? "true" : "false"); });
            return out;
        }
        case VT_ARRAY | VT_UNKNOWN: {
            std::vector<WMIResult> items(kPrintedElements);
            const int count = value.asResultArray(items.data(), kPrintedElements);
            printElements(out, count, [&](unsigned i) { out << items[i]; });
            return out;
        }
        default:
            throw CDBC_Exception(
                __FILE__, __LINE__, CDBC_TYPE_ERROR,
                std::string("unsupport data type err:") + CDBCVariant::typeName(value.type()));
    }
}
