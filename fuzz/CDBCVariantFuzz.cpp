// VARIANTs of every type the driver meets, arrays included (any bounds, one or two dimensions),
// through every conversion and the stream output. A conversion either answers or raises the
// layer's exception; it never reads or writes outside the value or the caller's buffer.
#include <fuzzer/FuzzedDataProvider.h>

#include <windows.h>
#include <oleauto.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "CDBCVariant.h"
#include "CDBC_Exception.h"

namespace {

// Element types with a fixed layout and no interface pointers.
constexpr VARTYPE kTypes[] = {VT_EMPTY, VT_NULL, VT_I2,  VT_I4,  VT_R4,  VT_R8, VT_BOOL, VT_BSTR,
                              VT_ERROR, VT_I1,   VT_UI1, VT_UI2, VT_UI4, VT_I8, VT_UI8,  VT_DATE};
constexpr VARTYPE kArrayTypes[] = {VT_I2, VT_I4,  VT_R4,  VT_R8,  VT_BOOL, VT_BSTR,
                                   VT_I1, VT_UI1, VT_UI2, VT_UI4, VT_I8,   VT_UI8};
constexpr unsigned kMaxElements = 64;

BSTR makeText(FuzzedDataProvider& input) {
    const std::string bytes = input.ConsumeRandomLengthString(40);
    std::vector<OLECHAR> text;
    // Two bytes per character, so that any UTF-16 unit (a lone surrogate too) can turn up.
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<OLECHAR>(static_cast<std::uint8_t>(bytes[i]) |
                                            static_cast<std::uint8_t>(bytes[i + 1]) << 8));
    if (input.ConsumeBool()) return nullptr;
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// A lower bound that is often one of the edges.
LONG makeLowerBound(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 4)) {
        case 0:
            return 0;
        case 1:
            return INT_MIN;
        case 2:
            return INT_MAX;
        default:
            return input.ConsumeIntegral<LONG>();
    }
}

SAFEARRAY* makeArray(FuzzedDataProvider& input, VARTYPE type) {
    SAFEARRAYBOUND bounds[2];
    const UINT dimensions = input.ConsumeIntegralInRange<UINT>(1, 2);
    unsigned total = 1;
    for (UINT d = 0; d < dimensions; ++d) {
        bounds[d].lLbound = makeLowerBound(input);
        bounds[d].cElements = input.ConsumeIntegralInRange<ULONG>(0, kMaxElements / total);
        total *= bounds[d].cElements == 0 ? 1 : bounds[d].cElements;
    }
    SAFEARRAY* array = SafeArrayCreate(type, dimensions, bounds);
    if (array == nullptr) return nullptr;
    unsigned elements = 1;
    for (UINT d = 0; d < dimensions; ++d) elements *= bounds[d].cElements;
    void* data = nullptr;
    if (elements > 0 && SUCCEEDED(SafeArrayAccessData(array, &data))) {
        const UINT size = SafeArrayGetElemsize(array);
        for (unsigned i = 0; i < elements; ++i) {
            char* slot = static_cast<char*>(data) + static_cast<size_t>(i) * size;
            if (type == VT_BSTR) {
                *reinterpret_cast<BSTR*>(slot) = makeText(input);
            } else {
                const std::vector<std::uint8_t> bytes = input.ConsumeBytes<std::uint8_t>(size);
                if (!bytes.empty()) std::memcpy(slot, bytes.data(), bytes.size());
            }
        }
        SafeArrayUnaccessData(array);
    }
    return array;
}

void makeValue(FuzzedDataProvider& input, VARIANT& value) {
    if (input.ConsumeBool()) {
        const VARTYPE type = input.PickValueInArray(kArrayTypes);
        value.parray = makeArray(input, type);
        value.vt = static_cast<VARTYPE>(VT_ARRAY | type);
        return;
    }
    const VARTYPE type = input.PickValueInArray(kTypes);
    if (type == VT_BSTR) {
        value.bstrVal = makeText(input);
    } else {
        const std::vector<std::uint8_t> bytes = input.ConsumeBytes<std::uint8_t>(sizeof(LONGLONG));
        if (!bytes.empty()) std::memcpy(&value.llVal, bytes.data(), bytes.size());
    }
    value.vt = type;
}

// Reads an array into a buffer of a capacity taken from the input; more elements than it holds
// would be a fault.
template <typename T, typename Read>
void readArray(FuzzedDataProvider& input, Read read) {
    const unsigned capacity = input.ConsumeIntegralInRange<unsigned>(0, kMaxElements);
    std::vector<T> values(capacity);
    if (read(values.data(), capacity) > static_cast<int>(capacity)) __builtin_trap();
}

void convert(FuzzedDataProvider& input, const CDBCVariant& v) {
    using std::int16_t, std::int32_t, std::int64_t, std::uint8_t, std::uint16_t, std::uint32_t,
        std::uint64_t;
    const std::function<void()> conversions[] = {
        [&] { v.asString(); },
        [&] {
            const int size = input.ConsumeIntegralInRange(-1, 16);
            std::vector<char> narrow(size > 0 ? size : 0);
            std::vector<wchar_t> wide(narrow.size());
            v.asCString(narrow.data(), size);
            v.asCWString(wide.data(), size);
        },
        [&] { v.asLong(); },
        [&] { v.asDouble(); },
        [&] { v.asBoolean(); },
        [&] { v.asChar16(); },
        [&] { v.asUint8(); },
        [&] { v.asUint16(); },
        [&] { v.asSint16(); },
        [&] { v.asUint32(); },
        [&] { v.asSint32(); },
        [&] { v.asUint64(); },
        [&] { v.asSint64(); },
        [&] { v.asReal32(); },
        [&] { v.asReal64(); },
        [&] {
            const unsigned capacity = input.ConsumeIntegralInRange<unsigned>(0, kMaxElements);
            const int width = input.ConsumeIntegralInRange(-1, 12);
            std::vector<char> narrow(capacity * static_cast<unsigned>(width > 0 ? width : 0));
            std::vector<wchar_t> wide(narrow.size());
            v.asCStringArray(narrow.data(), capacity, width);
            v.asWCStringArray(wide.data(), capacity, width);
        },
        [&] {
            readArray<int32_t>(input, [&](auto* p, unsigned n) { return v.asLongArray(p, n); });
        },
        [&] {
            readArray<double>(input, [&](auto* p, unsigned n) { return v.asDoubleArray(p, n); });
        },
        [&] {
            readArray<uint8_t>(input, [&](auto* p, unsigned n) { return v.asBooleanArray(p, n); });
        },
        [&] {
            readArray<uint16_t>(input, [&](auto* p, unsigned n) { return v.asChar16Array(p, n); });
        },
        [&] {
            readArray<uint8_t>(input, [&](auto* p, unsigned n) { return v.asUint8Array(p, n); });
        },
        [&] {
            readArray<uint16_t>(input, [&](auto* p, unsigned n) { return v.asUint16Array(p, n); });
        },
        [&] {
            readArray<int16_t>(input, [&](auto* p, unsigned n) { return v.asSint16Array(p, n); });
        },
        [&] {
            readArray<uint32_t>(input, [&](auto* p, unsigned n) { return v.asUint32Array(p, n); });
        },
        [&] {
            readArray<int32_t>(input, [&](auto* p, unsigned n) { return v.asSint32Array(p, n); });
        },
        [&] {
            readArray<uint64_t>(input, [&](auto* p, unsigned n) { return v.asUint64Array(p, n); });
        },
        [&] {
            readArray<int64_t>(input, [&](auto* p, unsigned n) { return v.asSint64Array(p, n); });
        },
        [&] {
            readArray<float>(input, [&](auto* p, unsigned n) { return v.asReal32Array(p, n); });
        },
        [&] {
            readArray<double>(input, [&](auto* p, unsigned n) { return v.asReal64Array(p, n); });
        },
        [&] {
            std::ostringstream out;
            out << v;
        },
    };
    for (const auto& conversion : conversions) {
        try {
            conversion();
        } catch (const CDBC_Exception&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    VARIANT value;
    VariantInit(&value);
    makeValue(input, value);
    try {
        const CDBCVariant wrapped(value);
        const CDBCVariant copy(wrapped);
        convert(input, copy);
    } catch (const CDBC_Exception&) {
        // VT_ERROR values are refused when wrapped.
    }
    VariantClear(&value);
    return 0;
}
