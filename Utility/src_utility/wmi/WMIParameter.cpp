#include "WMIParameter.h"

#include "ErrorCodes.h"
#include "BstrHolder.h"
#include "WMIException.h"
#include "WMIText.h"

namespace {

// A VT_ARRAY VARIANT of `count` elements of `type` (lower bound 0), element i written by
// fill(element, i), which returns S_OK or the failure that abandons the array.
template <typename Element, typename Fill>
VARIANT makeVector(VARTYPE type, const void* values, int count, Fill fill) {
    const ULONG size = values != nullptr && count > 0 ? static_cast<ULONG>(count) : 0;
    SAFEARRAY* array = SafeArrayCreateVector(type, 0, size);
    if (array == nullptr) throw WMIException(__FILE__, __LINE__, E_OUTOFMEMORY);
    VARIANT value;
    VariantInit(&value);
    value.vt = static_cast<VARTYPE>(VT_ARRAY | type);
    value.parray = array;
    if (size == 0) return value;

    void* data = nullptr;
    HRESULT result = SafeArrayAccessData(array, &data);
    for (ULONG i = 0; SUCCEEDED(result) && i < size; ++i)
        result = fill(static_cast<Element*>(data)[i], i);
    if (data != nullptr) SafeArrayUnaccessData(array);
    if (FAILED(result)) {
        VariantClear(&value);
        throw WMIException(__FILE__, __LINE__, result);
    }
    return value;
}

}  // namespace

WMIParameter::WMIParameter(IWbemClassObject* classObject) {
    if (classObject == nullptr)
        throw WMIException(__FILE__, __LINE__, CDBC_INVALID_PARAMETER,
                           "using null init WMIParameter");
    const HRESULT result = classObject->SpawnInstance(0, instance.put());
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
}

// Nothing between receiving the value and clearing it can raise: a name that cannot be
// converted is reported after the value is cleared.
void WMIParameter::put(const std::string& name, VARIANT& value) {
    const BstrHolder property(toBstr(name));
    const HRESULT result = property ? instance->Put(property.get(), 0, &value, 0) : E_OUTOFMEMORY;
    VariantClear(&value);
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
}

void WMIParameter::setLong(const std::string& name, std::int32_t number) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I4;
    value.lVal = number;
    put(name, value);
}

void WMIParameter::setLongArray(const std::string& name, const std::int32_t* values, int count) {
    VARIANT value = makeVector<LONG>(VT_I4, values, count, [&](LONG& element, ULONG i) {
        element = values[i];
        return S_OK;
    });
    put(name, value);
}

void WMIParameter::setBoolean(const std::string& name, bool flag) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BOOL;
    value.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
    put(name, value);
}

void WMIParameter::setBooleanArray(const std::string& name, const std::uint8_t* values, int count) {
    VARIANT value =
        makeVector<VARIANT_BOOL>(VT_BOOL, values, count, [&](VARIANT_BOOL& element, ULONG i) {
            element = values[i] == 1 ? 1 : 0;
            return S_OK;
        });
    put(name, value);
}

void WMIParameter::setShort(const std::string& name, std::int16_t number) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_I2;
    value.iVal = number;
    put(name, value);
}

void WMIParameter::setShortArray(const std::string& name, const std::int16_t* values, int count) {
    VARIANT value = makeVector<SHORT>(VT_I2, values, count, [&](SHORT& element, ULONG i) {
        element = values[i];
        return S_OK;
    });
    put(name, value);
}

void WMIParameter::setString(const std::string& name, const std::string& text) {
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = toBstr(text);
    if (value.bstrVal == nullptr) {
        value.vt = VT_ERROR;
        value.scode = E_OUTOFMEMORY;
    }
    put(name, value);
}

void WMIParameter::setStringArray(const std::string& name, const std::string* values, int count) {
    VARIANT value = makeVector<BSTR>(VT_BSTR, values, count, [&](BSTR& element, ULONG i) {
        element = toBstr(values[i]);
        return element == nullptr ? E_OUTOFMEMORY : S_OK;
    });
    put(name, value);
}
