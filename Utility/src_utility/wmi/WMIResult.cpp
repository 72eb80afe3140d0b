#include "WMIResult.h"

#include <memory>
#include <ostream>

#include "ErrorCodes.h"
#include "SafeArrayAccess.h"
#include "WMIException.h"
#include "BstrHolder.h"
#include "WMIText.h"

WMIResult::WMIResult(IWbemClassObject* object) { set(object); }

WMIResult::WMIResult(const WMIResult& other) { set(other.getObject()); }

WMIResult& WMIResult::operator=(const WMIResult& other) {
    set(other.getObject());
    return *this;
}

// The new reference is taken before the old one goes, so holding the same object again is safe.
void WMIResult::set(IWbemClassObject* newObject) {
    object = ComRef<IWbemClassObject>::share(newObject);
}

void WMIResult::adopt(IWbemClassObject* newObject) { object.reset(newObject); }

std::vector<std::string> WMIResult::getPropertyNames() const {
    if (empty())
        throw WMIException(__FILE__, __LINE__, CDBC_INVALID_PARAMETER, "using null init WMIResult");
    SAFEARRAY* names = nullptr;
    const HRESULT result = object->GetNames(nullptr, WBEM_FLAG_NONSYSTEM_ONLY, nullptr, &names);
    if (result != S_OK) throw WMIException(__FILE__, __LINE__, result);
    // Declared first, destroyed last: the access is given back before the array goes.
    const std::unique_ptr<SAFEARRAY, decltype(&SafeArrayDestroy)> owner(names, &SafeArrayDestroy);
    std::vector<std::string> list;
    LONG lower = 0;
    LONG upper = -1;
    if (names == nullptr || FAILED(SafeArrayGetLBound(names, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(names, 1, &upper)) || upper < lower)
        return list;
    const SafeArrayAccess access(names);
    if (FAILED(access.result())) return list;
    const BSTR* items = static_cast<const BSTR*>(access.data());
    for (LONG i = 0; i <= upper - lower; ++i) list.push_back(bstrToNarrow(items[i]));
    return list;
}

VARIANT WMIResult::get(const std::string& name) const {
    if (empty())
        throw WMIException(__FILE__, __LINE__, CDBC_INVALID_PARAMETER, "using null init WMIResult");
    const BstrHolder property(name);
    return get(property.get());
}

VARIANT WMIResult::get(const wchar_t* name) const {
    VARIANT value;
    VariantInit(&value);
    read(name, value);
    return value;
}

void WMIResult::read(const wchar_t* name, VARIANT& value) const {
    if (empty())
        throw WMIException(__FILE__, __LINE__, CDBC_INVALID_PARAMETER, "using null init WMIResult");
    const HRESULT result = object->Get(name, 0, &value, nullptr, nullptr);
    if (result != S_OK) {
        VariantClear(&value);
        throw WMIException(__FILE__, __LINE__, result);
    }
}

CDBCVariant WMIResult::getVariant(const std::string& name) const {
    VARIANT raw = get(name);
    return CDBCVariant::adopt(raw);
}

// Get writes into the new value's own VARIANT: copying a VARIANT just written, field by field,
// as a whole would have to wait until those writes reach the cache, on every property read.
CDBCVariant WMIResult::getVariant(const wchar_t* name) const {
    CDBCVariant value(CDBCVariant::Empty{});
    read(name, value.value);
    value.checkError();
    return value;
}

std::string WMIResult::getString(const std::string& name) const {
    return getVariant(name).asString();
}

int WMIResult::getString(const std::string& name, char* buffer, int size) const {
    return getVariant(name).asCString(buffer, size);
}

int WMIResult::getWString(const std::string& name, wchar_t* buffer, int size) const {
    return getVariant(name).asCWString(buffer, size);
}

std::int32_t WMIResult::getLong(const std::string& name) const { return getVariant(name).asLong(); }

double WMIResult::getDouble(const std::string& name) const { return getVariant(name).asDouble(); }

bool WMIResult::getBoolean(const std::string& name) const { return getVariant(name).asBoolean(); }

std::uint16_t WMIResult::getChar16(const std::string& name) const {
    return getVariant(name).asChar16();
}

std::uint8_t WMIResult::getUint8(const std::string& name) const {
    return getVariant(name).asUint8();
}

std::uint16_t WMIResult::getUint16(const std::string& name) const {
    return getVariant(name).asUint16();
}

std::int16_t WMIResult::getSint16(const std::string& name) const {
    return getVariant(name).asSint16();
}

std::uint32_t WMIResult::getUint32(const std::string& name) const {
    return getVariant(name).asUint32();
}

std::int32_t WMIResult::getSint32(const std::string& name) const {
    return getVariant(name).asSint32();
}

std::uint64_t WMIResult::getUint64(const std::string& name) const {
    return getVariant(name).asUint64();
}

std::int64_t WMIResult::getSint64(const std::string& name) const {
    return getVariant(name).asSint64();
}

float WMIResult::getReal32(const std::string& name) const { return getVariant(name).asReal32(); }

double WMIResult::getReal64(const std::string& name) const { return getVariant(name).asReal64(); }

int WMIResult::getStringArray(const std::string& name, char* buffer, unsigned capacity,
                              int width) const {
    return getVariant(name).asCStringArray(buffer, capacity, width);
}

int WMIResult::getWStringArray(const std::string& name, wchar_t* buffer, unsigned capacity,
                               int width) const {
    return getVariant(name).asWCStringArray(buffer, capacity, width);
}

int WMIResult::getLongArray(const std::string& name, std::int32_t* values,
                            unsigned capacity) const {
    return getVariant(name).asLongArray(values, capacity);
}

int WMIResult::getDoubleArray(const std::string& name, double* values, unsigned capacity) const {
    return getVariant(name).asDoubleArray(values, capacity);
}

int WMIResult::getBooleanArray(const std::string& name, std::uint8_t* values,
                               unsigned capacity) const {
    return getVariant(name).asBooleanArray(values, capacity);
}

int WMIResult::getChar16Array(const std::string& name, std::uint16_t* values,
                              unsigned capacity) const {
    return getVariant(name).asChar16Array(values, capacity);
}

int WMIResult::getUint8Array(const std::string& name, std::uint8_t* values,
                             unsigned capacity) const {
    return getVariant(name).asUint8Array(values, capacity);
}

int WMIResult::getUint16Array(const std::string& name, std::uint16_t* values,
                              unsigned capacity) const {
    return getVariant(name).asUint16Array(values, capacity);
}

int WMIResult::getSint16Array(const std::string& name, std::int16_t* values,
                              unsigned capacity) const {
    return getVariant(name).asSint16Array(values, capacity);
}

int WMIResult::getUint32Array(const std::string& name, std::uint32_t* values,
                              unsigned capacity) const {
    return getVariant(name).asUint32Array(values, capacity);
}

int WMIResult::getSint32Array(const std::string& name, std::int32_t* values,
                              unsigned capacity) const {
    return getVariant(name).asSint32Array(values, capacity);
}

int WMIResult::getUint64Array(const std::string& name, std::uint64_t* values,
                              unsigned capacity) const {
    return getVariant(name).asUint64Array(values, capacity);
}

int WMIResult::getSint64Array(const std::string& name, std::int64_t* values,
                              unsigned capacity) const {
    return getVariant(name).asSint64Array(values, capacity);
}

int WMIResult::getReal32Array(const std::string& name, float* values, unsigned capacity) const {
    return getVariant(name).asReal32Array(values, capacity);
}

int WMIResult::getReal64Array(const std::string& name, double* values, unsigned capacity) const {
    return getVariant(name).asReal64Array(values, capacity);
}

int WMIResult::getResultArray(const std::string& name, WMIResult* results,
                              unsigned capacity) const {
    return getVariant(name).asResultArray(results, capacity);
}

std::ostream& operator<<(std::ostream& out, const WMIResult& result) {
    for (const std::string& name : result.getPropertyNames()) {
        out << name << std::endl;
        out << result.getVariant(name) << std::endl;
    }
    return out;
}
