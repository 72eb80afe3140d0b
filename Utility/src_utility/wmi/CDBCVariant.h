// A wrapper of one OLE Automation VARIANT read from WMI that converts it, strictly, to one
// requested value type. Empty and null values convert to the zero value of the target; any other
// type that the conversion does not accept raises WMIException 0x22000FFB
// "type case err:<type> to <target>".
#ifndef CDBCVARIANT_H
#define CDBCVARIANT_H

#include <windows.h>
#include <oleauto.h>

#include <cstdint>
#include <iosfwd>
#include <string>

class WMIResult;

class CDBCVariant {
  public:
    // Copies the value; a null pointer raises 0x22000FF6 "using null init CDBCVariant".
    explicit CDBCVariant(const VARIANT* source);
    // Copies the value; a value that cannot be copied becomes VT_ERROR with the copy's result.
    explicit CDBCVariant(const VARIANT& source);
    CDBCVariant(const CDBCVariant& other);
    // Takes over `source`'s value without copying it and leaves `source` VT_EMPTY. A VT_ERROR
    // value raises as the copying constructors do.
    static CDBCVariant adopt(VARIANT& source);
    CDBCVariant& operator=(const CDBCVariant& other);
    ~CDBCVariant();

    const VARIANT& variant() const { return value; }
    VARTYPE type() const { return value.vt; }

    // Raises 0x22000FFB "type case VT_ERROR err:<error>" when the value is VT_ERROR.
    void checkError() const {
        if (value.vt == VT_ERROR) raiseError();
    }

    std::string asString() const;
    // Copies at most `size` characters (no terminator when the text fills them, the rest
    // NUL-filled); returns the number of text characters copied.
    int asCString(char* buffer, int size) const;
    int asCWString(wchar_t* buffer, int size) const;
    std::int32_t asLong() const;
    double asDouble() const;
    bool asBoolean() const;
    std::uint16_t asChar16() const;
    std::uint8_t asUint8() const;
    std::uint16_t asUint16() const;
    std::int16_t asSint16() const;
    std::uint32_t asUint32() const;
    std::int32_t asSint32() const;
    std::uint64_t asUint64() const;
    std::int64_t asSint64() const;
    float asReal32() const;
    double asReal64() const;

    // Array conversions write at most `capacity` elements and return how many they wrote.
    // The string forms fill `capacity` slots of `width` characters, each NUL-terminated.
    int asCStringArray(char* buffer, unsigned capacity, int width) const;
    int asWCStringArray(wchar_t* buffer, unsigned capacity, int width) const;
    int asLongArray(std::int32_t* values, unsigned capacity) const;
    int asDoubleArray(double* values, unsigned capacity) const;
    // One byte per element: 1 for true, 0 for false.
    int asBooleanArray(std::uint8_t* values, unsigned capacity) const;
    int asChar16Array(std::uint16_t* values, unsigned capacity) const;
    int asUint8Array(std::uint8_t* values, unsigned capacity) const;
    int asUint16Array(std::uint16_t* values, unsigned capacity) const;
    int asSint16Array(std::int16_t* values, unsigned capacity) const;
    int asUint32Array(std::uint32_t* values, unsigned capacity) const;
    int asSint32Array(std::int32_t* values, unsigned capacity) const;
    int asUint64Array(std::uint64_t* values, unsigned capacity) const;
    int asSint64Array(std::int64_t* values, unsigned capacity) const;
    int asReal32Array(float* values, unsigned capacity) const;
    int asReal64Array(double* values, unsigned capacity) const;
    // Embedded objects, each held by one of the caller's WMIResult holders.
    int asResultArray(WMIResult* results, unsigned capacity) const;

    // "VT_ARRAY|VT_BSTR" and the like; "UNKNOW TYPE[0x..]" for a type without a name. The text
    // belongs to the calling thread and lasts until its next call.
    static const char* typeName(VARTYPE type);

  private:
    // WMIResult has Get write straight into a new value's VARIANT (see getVariant).
    friend class WMIResult;
    struct Adopted {};
    struct Empty {};
    CDBCVariant(VARIANT& source, Adopted);
    explicit CDBCVariant(Empty) { VariantInit(&value); }
    void copyFrom(const VARIANT& source);
    bool isEmptyOrNull() const { return value.vt == VT_EMPTY || value.vt == VT_NULL; }
    [[noreturn]] void raiseTypeError(const char* target) const;
    [[noreturn]] void raiseError() const;
    // The element count of an accepted array's first dimension, limited to `capacity`; 0 when
    // any dimension is empty.
    unsigned elementCount(unsigned capacity) const;
    unsigned elementSize() const;
    template <typename Reader>
    int readArray(unsigned capacity, Reader reader) const;
    template <typename T>
    int readIntegers(T* values, unsigned capacity, const char* target) const;
    std::uint64_t parseInteger(const char* target) const;

    VARIANT value;
};

// Writes the value: "null", a number, the text, "true"/"false", or one
// "array element<i> is:<element>" line per element of the first 100 of an array.
std::ostream& operator<<(std::ostream& out, const CDBCVariant& value);

#endif
