#include "WMIResultSet.h"

#include "ErrorCodes.h"
#include "WMIException.h"

namespace {

// Instances are fetched one at a time, each waited for this long.
constexpr LONG kNextTimeoutMs = 2000;

}  // namespace

WMIResultSet::WMIResultSet(IEnumWbemClassObject* enumerator, const WMISecurity& security)
    : enumerator(enumerator) {
    try {
        this->security = security;
        this->security.setProxyBlanket(enumerator);
        readFieldNames();
    } catch (...) {
        if (enumerator != nullptr) enumerator->Release();
        throw;
    }
}

WMIResultSet::~WMIResultSet() {
    if (enumerator != nullptr) enumerator->Release();
}

// The column names are those of the first instance; a class without instances has none. A
// failing first fetch is left for next() to report.
void WMIResultSet::readFieldNames() {
    IWbemClassObject* first = nullptr;
    ULONG returned = 0;
    const HRESULT fetched = enumerator->Next(kNextTimeoutMs, 1, &first, &returned);
    if (fetched != S_OK || first == nullptr) {
        if (first != nullptr) first->Release();
        return;
    }
    const WMIResult peek(first);
    first->Release();
    for (const std::string& name : peek.getPropertyNames()) fields.emplace(name, nullptr);

    const HRESULT rewound = enumerator->Reset();
    if (rewound != S_OK) throw WMIException(__FILE__, __LINE__, rewound);
}

bool WMIResultSet::next() {
    IWbemClassObject* object = nullptr;
    ULONG returned = 0;
    const HRESULT result = enumerator->Next(kNextTimeoutMs, 1, &object, &returned);
    if (result == S_OK && object != nullptr) {
        current.set(object);
        object->Release();
        return true;
    }
    if (object != nullptr) object->Release();
    // A timeout ends the walk as the end of the instances does.
    if (result == S_OK || result == static_cast<HRESULT>(WBEM_S_FALSE) ||
        result == static_cast<HRESULT>(WBEM_S_TIMEDOUT))
        return false;
    throw WMIException(__FILE__, __LINE__, result);
}

const WMIResult& WMIResultSet::currentRow() const {
    if (current.empty())
        throw WMIException(__FILE__, __LINE__, CDBC_INVALID_PARAMETER, "no current row");
    return current;
}

std::string WMIResultSet::getString(const std::string& name) {
    return currentRow().getString(name);
}

int WMIResultSet::getString(const std::string& name, char* buffer, int size) {
    return currentRow().getString(name, buffer, size);
}

double WMIResultSet::getDouble(const std::string& name) { return currentRow().getDouble(name); }

int WMIResultSet::getInt(const std::string& name) { return currentRow().getLong(name); }

bool WMIResultSet::getBoolean(const std::string& name) { return currentRow().getBoolean(name); }

std::uint16_t WMIResultSet::getChar16(const std::string& name) {
    return currentRow().getChar16(name);
}

std::uint8_t WMIResultSet::getUint8(const std::string& name) { return currentRow().getUint8(name); }

std::uint16_t WMIResultSet::getUint16(const std::string& name) {
    return currentRow().getUint16(name);
}

std::int16_t WMIResultSet::getSint16(const std::string& name) {
    return currentRow().getSint16(name);
}

std::uint32_t WMIResultSet::getUint32(const std::string& name) {
    return currentRow().getUint32(name);
}

std::int32_t WMIResultSet::getSint32(const std::string& name) {
    return currentRow().getSint32(name);
}

std::uint64_t WMIResultSet::getUint64(const std::string& name) {
    return currentRow().getUint64(name);
}

std::int64_t WMIResultSet::getSint64(const std::string& name) {
    return currentRow().getSint64(name);
}

float WMIResultSet::getReal32(const std::string& name) { return currentRow().getReal32(name); }

double WMIResultSet::getReal64(const std::string& name) { return currentRow().getReal64(name); }

CDBCVariant WMIResultSet::getVariant(const std::string& name) {
    return currentRow().getVariant(name);
}

int WMIResultSet::getStringArray(const std::string& name, char* buffer, unsigned capacity,
                                 int width) {
    return currentRow().getStringArray(name, buffer, capacity, width);
}

VARIANT WMIResultSet::get(const std::string& name) { return currentRow().get(name); }
