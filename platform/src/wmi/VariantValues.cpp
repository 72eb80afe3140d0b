#include "VariantValues.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "nvx4/repository/TypeCheck.h"
#include "nvx4/repository/Utf8.h"

namespace nvx4::platform {

using repository::CimType;
using repository::TypeCheck;
using repository::Utf8;
using repository::Value;
using repository::ValueType;

namespace {

BSTR allocate(std::wstring_view text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// A 64-bit integer's decimal text as a new BSTR, formatted without a heap string of its own.
BSTR allocateDecimal(const Value& value) {
    char digits[24] = {};
    const std::to_chars_result written =
        value.kind() == Value::Kind::Unsigned
            ? std::to_chars(digits, digits + sizeof digits, value.asUnsigned())
            : std::to_chars(digits, digits + sizeof digits, value.asSigned());
    wchar_t wide[sizeof digits];
    const auto length = static_cast<std::size_t>(written.ptr - digits);
    for (std::size_t i = 0; i < length; ++i) wide[i] = static_cast<wchar_t>(digits[i]);
    return allocate(std::wstring_view(wide, length));
}

// Stores a conformed scalar into element storage of the type's VARIANT type `vt`.
HRESULT store(const Value& value, CimType type, VARTYPE vt, void* slot) {
    switch (vt) {
        case VT_I2: {
            const auto v = static_cast<SHORT>(value.asSigned());
            std::memcpy(slot, &v, sizeof v);
            return S_OK;
        }
        case VT_UI1: {
            const auto v = static_cast<BYTE>(value.asSigned());
            std::memcpy(slot, &v, sizeof v);
            return S_OK;
        }
        case VT_I4: {
            const auto v = static_cast<LONG>(static_cast<std::uint32_t>(value.asSigned()));
            std::memcpy(slot, &v, sizeof v);
            return S_OK;
        }
        case VT_R4: {
            const auto v = static_cast<FLOAT>(value.asReal());
            std::memcpy(slot, &v, sizeof v);
            return S_OK;
        }
        case VT_R8: {
            const DOUBLE v = value.asReal();
            std::memcpy(slot, &v, sizeof v);
            return S_OK;
        }
        case VT_BOOL: {
            const VARIANT_BOOL v = value.asBoolean() ? VARIANT_TRUE : VARIANT_FALSE;
            std::memcpy(slot, &v, sizeof v);
            return S_OK;
        }
        default: {
            const bool integer = type == CimType::Sint64 || type == CimType::Uint64;
            BSTR v = integer ? allocateDecimal(value) : allocate(value.asText());
            if (v == nullptr) return WBEM_E_OUT_OF_MEMORY;
            std::memcpy(slot, &v, sizeof v);
            return S_OK;
        }
    }
}

HRESULT arrayToVariant(const std::vector<Value>& elements, CimType type, VARIANT* out) {
    const VARTYPE vt = VariantValues::vartypeOf(type);
    SAFEARRAY* array = SafeArrayCreateVector(vt, 0, static_cast<ULONG>(elements.size()));
    if (array == nullptr) return WBEM_E_OUT_OF_MEMORY;
    auto* data = static_cast<unsigned char*>(array->pvData);
    try {
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const HRESULT result = store(elements[i], type, vt, data + i * array->cbElements);
            if (FAILED(result)) {
                SafeArrayDestroy(array);
                return result;
            }
        }
    } catch (...) {
        SafeArrayDestroy(array);
        throw;
    }
    out->vt = VT_ARRAY | vt;
    out->parray = array;
    return S_OK;
}

std::optional<Value> integerOf(const VARIANT& in) {
    switch (in.vt) {
        case VT_I1:
            return Value::integer(static_cast<signed char>(in.cVal));
        case VT_UI1:
            return Value::integer(in.bVal);
        case VT_I2:
            return Value::integer(in.iVal);
        case VT_UI2:
            return Value::integer(in.uiVal);
        case VT_I4:
            return Value::integer(in.lVal);
        case VT_UI4:
            return Value::integer(in.ulVal);
        case VT_INT:
            return Value::integer(in.intVal);
        case VT_UINT:
            return Value::integer(in.uintVal);
        case VT_I8:
            return Value::integer(in.llVal);
        case VT_UI8:
            return Value::unsignedInteger(in.ullVal);
        default:
            return std::nullopt;
    }
}

// A decimal integer, the whole text and nothing else.
std::optional<Value> parseInteger(BSTR text) {
    const std::string narrow = Utf8::toNarrow(std::wstring_view(text, SysStringLen(text)));
    const char* first = narrow.data();
    const char* last = first + narrow.size();
    if (first != last && *first == '-') {
        std::int64_t v;
        auto [end, error] = std::from_chars(first, last, v);
        if (error == std::errc() && end == last) return Value::integer(v);
        return std::nullopt;
    }
    std::uint64_t v;
    auto [end, error] = std::from_chars(first, last, v);
    if (error == std::errc() && end == last && first != last) return Value::unsignedInteger(v);
    return std::nullopt;
}

// The service delivers uint32 as VT_I4 and char16 and uint16 may come as VT_I2: their bits are
// the unsigned value.
std::optional<Value> unsignedBits(const VARIANT& in, CimType type) {
    if (type == CimType::Uint32 && (in.vt == VT_I4 || in.vt == VT_INT))
        return Value::integer(static_cast<std::uint32_t>(in.lVal));
    if ((type == CimType::Uint16 || type == CimType::Char16) && in.vt == VT_I2)
        return Value::integer(static_cast<std::uint16_t>(in.iVal));
    return std::nullopt;
}

std::optional<Value> scalarFrom(const VARIANT& in, CimType type) {
    switch (type) {
        case CimType::String:
        case CimType::Datetime:
            if (in.vt != VT_BSTR) return std::nullopt;
            return Value::text(
                std::wstring(in.bstrVal == nullptr ? L"" : in.bstrVal, SysStringLen(in.bstrVal)));
        case CimType::Boolean:
            if (in.vt != VT_BOOL) return std::nullopt;
            return Value::boolean(in.boolVal != VARIANT_FALSE);
        case CimType::Real32:
        case CimType::Real64:
            if (in.vt == VT_R4) return Value::real(in.fltVal);
            if (in.vt == VT_R8) return Value::real(in.dblVal);
            return integerOf(in);
        case CimType::Sint64:
        case CimType::Uint64:
            if (in.vt == VT_BSTR) return in.bstrVal ? parseInteger(in.bstrVal) : std::nullopt;
            return integerOf(in);
        default:
            if (std::optional<Value> bits = unsignedBits(in, type)) return bits;
            return integerOf(in);
    }
}

HRESULT conformed(const std::optional<Value>& value, ValueType type, Value& out) {
    if (!value) return WBEM_E_TYPE_MISMATCH;
    std::string problem;
    std::optional<Value> result = TypeCheck::conform(*value, type, problem);
    if (!result) return WBEM_E_TYPE_MISMATCH;
    out = std::move(*result);
    return S_OK;
}

HRESULT arrayFrom(const VARIANT& in, ValueType type, Value& out) {
    if (!(in.vt & VT_ARRAY) || (in.vt & VT_BYREF)) return WBEM_E_TYPE_MISMATCH;
    SAFEARRAY* array = in.parray;
    if (array == nullptr) {
        out = Value();
        return S_OK;
    }
    if (array->cDims != 1) return WBEM_E_TYPE_MISMATCH;
    const VARTYPE elementType = in.vt & VT_TYPEMASK;
    const auto* data = static_cast<const unsigned char*>(array->pvData);
    std::vector<Value> elements;
    for (ULONG i = 0; i < array->rgsabound[0].cElements; ++i) {
        VARIANT element;
        const unsigned char* slot = data + i * array->cbElements;
        if (elementType == VT_VARIANT) {
            std::memcpy(&element, slot, sizeof element);
        } else {
            element.vt = elementType;
            std::memcpy(&element.llVal, slot, array->cbElements);
        }
        std::optional<Value> value = scalarFrom(element, type.base);
        if (!value) return WBEM_E_TYPE_MISMATCH;
        elements.push_back(std::move(*value));
    }
    return conformed(Value::array(std::move(elements)), type, out);
}

}  // namespace

HRESULT VariantValues::toVariant(const Value& value, ValueType type, VARIANT* out) {
    out->wReserved1 = out->wReserved2 = out->wReserved3 = 0;
    if (value.isNull()) {
        out->vt = VT_NULL;
        return S_OK;
    }
    if (type.array) return arrayToVariant(value.asArray(), type.base, out);
    const VARTYPE vt = vartypeOf(type.base);
    const HRESULT result = store(value, type.base, vt, &out->llVal);
    if (SUCCEEDED(result)) out->vt = vt;
    return result;
}

HRESULT VariantValues::fromVariant(const VARIANT& in, ValueType type, Value& out) {
    if (in.vt == VT_NULL || in.vt == VT_EMPTY) {
        out = Value();
        return S_OK;
    }
    if (type.array) return arrayFrom(in, type, out);
    return conformed(scalarFrom(in, type.base), type, out);
}

}  // namespace nvx4::platform
