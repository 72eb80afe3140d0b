#include "WMIResultSet.h"

#include <cerrno>
#include <cstdlib>
#include <utility>

#include "ErrorCodes.h"
#include "WMIException.h"

namespace {

using Clock = std::chrono::steady_clock;

// Instances are fetched one at a time, each waited for at most this long per call.
constexpr LONG kNextTimeoutMs = 2000;
// How long one enumeration may wait for late instances in all, unless the environment says.
constexpr long kDefaultWaitLimitMs = 60000;
constexpr char kWaitLimitVariable[] = "NVX4_WMI_WAIT_MS";

Clock::duration waitLimit() {
    const char* text = std::getenv(kWaitLimitVariable);
    if (text == nullptr || *text == '\0') return std::chrono::milliseconds(kDefaultWaitLimitMs);
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (*end != '\0' || errno != 0 || value < 0)
        return std::chrono::milliseconds(kDefaultWaitLimitMs);
    return std::chrono::milliseconds(value);
}

}  // namespace

WMIResultSet::WMIResultSet(ComRef<IEnumWbemClassObject>&& enumeration, const WMISecurity& security)
    : enumerator(std::move(enumeration)), deadline(Clock::now() + waitLimit()), security(security) {
    this->security.setProxyBlanket(enumerator.get());
    readFieldNames();
}

// The column names are those of the first instance; a class without instances has none. A
// failing first fetch is left for next() to report.
void WMIResultSet::readFieldNames() {
    ComRef<IWbemClassObject> first;
    const HRESULT fetched = fetch(first);
    if (fetched != S_OK || !first) return;
    const WMIResult peek(first.get());
    for (const std::string& name : peek.getPropertyNames()) fields.emplace(name, nullptr);

    const HRESULT rewound = enumerator->Reset();
    if (rewound != S_OK) throw WMIException(__FILE__, __LINE__, rewound);
}

// WBEM_S_TIMEDOUT means the instance is not ready yet, not that there are no more: the fetch
// asks again until the enumeration's time limit has passed, and then fails.
HRESULT WMIResultSet::fetch(ComRef<IWbemClassObject>& object) {
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        const LONG wait =
            left < kNextTimeoutMs ? static_cast<LONG>(left < 0 ? 0 : left) : kNextTimeoutMs;
        ULONG returned = 0;
        const HRESULT result = enumerator->Next(wait, 1, object.put(), &returned);
        if (result != static_cast<HRESULT>(WBEM_S_TIMEDOUT)) return result;
        if (Clock::now() >= deadline) return static_cast<HRESULT>(WBEM_E_TIMED_OUT);
    }
}

bool WMIResultSet::next() {
    ComRef<IWbemClassObject> object;
    const HRESULT result = fetch(object);
    if (result == S_OK && object) {
        current.adopt(object.detach());
        return true;
    }
    if (result == S_OK || result == static_cast<HRESULT>(WBEM_S_FALSE)) return false;
    throw WMIException(__FILE__, __LINE__, result);
}

const WMIResult& WMIResultSet::currentRow() const {
    if (current.empty())
        throw WMIException(__FILE__, __LINE__, CDBC_INVALID_PARAMETER, "no current row");
    return current;
}

CDBCVariant WMIResultSet::read(const std::string& name) {
    const WMIResult& row = currentRow();
    return row.getVariant(names.wide(name));
}

std::string WMIResultSet::getString(const std::string& name) { return read(name).asString(); }

int WMIResultSet::getString(const std::string& name, char* buffer, int size) {
    return read(name).asCString(buffer, size);
}

double WMIResultSet::getDouble(const std::string& name) { return read(name).asDouble(); }

int WMIResultSet::getInt(const std::string& name) { return read(name).asLong(); }

bool WMIResultSet::getBoolean(const std::string& name) { return read(name).asBoolean(); }

std::uint16_t WMIResultSet::getChar16(const std::string& name) { return read(name).asChar16(); }

std::uint8_t WMIResultSet::getUint8(const std::string& name) { return read(name).asUint8(); }

std::uint16_t WMIResultSet::getUint16(const std::string& name) { return read(name).asUint16(); }

std::int16_t WMIResultSet::getSint16(const std::string& name) { return read(name).asSint16(); }

std::uint32_t WMIResultSet::getUint32(const std::string& name) { return read(name).asUint32(); }

std::int32_t WMIResultSet::getSint32(const std::string& name) { return read(name).asSint32(); }

std::uint64_t WMIResultSet::getUint64(const std::string& name) { return read(name).asUint64(); }

std::int64_t WMIResultSet::getSint64(const std::string& name) { return read(name).asSint64(); }

float WMIResultSet::getReal32(const std::string& name) { return read(name).asReal32(); }

double WMIResultSet::getReal64(const std::string& name) { return read(name).asReal64(); }

CDBCVariant WMIResultSet::getVariant(const std::string& name) { return read(name); }

int WMIResultSet::getStringArray(const std::string& name, char* buffer, unsigned capacity,
                                 int width) {
    return read(name).asCStringArray(buffer, capacity, width);
}

VARIANT WMIResultSet::get(const std::string& name) {
    const WMIResult& row = currentRow();
    return row.get(names.wide(name));
}
