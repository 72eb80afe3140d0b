// BSTRs with the SDK layout: a 32-bit byte count, then the characters, then a NUL character. The
// BSTR points at the characters; the block starts at the count.
#include <oleauto.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>

#include "nvx4/platform/FaultInjection.h"

namespace {

constexpr std::size_t kPrefix = sizeof(std::uint32_t);

// Large enough for any byte count the 32-bit prefix can hold, plus prefix and terminator.
BSTR allocate(std::size_t bytes) {
    if (nvx4::platform::FaultInjection::fire(nvx4::platform::FaultPoint::AllocString))
        return nullptr;
    if (bytes > std::numeric_limits<std::uint32_t>::max() - kPrefix - sizeof(OLECHAR))
        return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
    if (block == nullptr) return nullptr;
    const auto count = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &count, kPrefix);
    // The terminator is a whole NUL character, even after an odd number of bytes.
    std::memset(block + kPrefix + bytes, 0, sizeof(OLECHAR));
    return reinterpret_cast<BSTR>(block + kPrefix);
}

void* blockOf(BSTR bstr) { return reinterpret_cast<unsigned char*>(bstr) - kPrefix; }

std::size_t charBytes(UINT length) { return static_cast<std::size_t>(length) * sizeof(OLECHAR); }

}  // namespace

BSTR SysAllocString(const OLECHAR* psz) {
    if (psz == nullptr) return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(std::wcslen(psz)));
}

BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
    BSTR bstr = allocate(charBytes(ui));
    if (bstr == nullptr) return nullptr;
    if (strIn != nullptr)
        std::memcpy(bstr, strIn, charBytes(ui));
    else
        std::memset(bstr, 0, charBytes(ui));
    return bstr;
}

BSTR SysAllocStringByteLen(LPCSTR psz, UINT len) {
    BSTR bstr = allocate(len);
    if (bstr == nullptr) return nullptr;
    if (psz != nullptr)
        std::memcpy(bstr, psz, len);
    else
        std::memset(bstr, 0, len);
    return bstr;
}

INT SysReAllocString(BSTR* pbstr, const OLECHAR* psz) {
    if (pbstr == nullptr) return FALSE;
    return SysReAllocStringLen(pbstr, psz,
                               psz == nullptr ? 0 : static_cast<UINT>(std::wcslen(psz)));
}

INT SysReAllocStringLen(BSTR* pbstr, const OLECHAR* psz, UINT len) {
    if (pbstr == nullptr) return FALSE;
    // psz may point into the old string, so the new one is made before the old one goes.
    BSTR replacement = SysAllocStringLen(psz, len);
    if (replacement == nullptr) return FALSE;
    SysFreeString(*pbstr);
    *pbstr = replacement;
    return TRUE;
}

void SysFreeString(BSTR bstrString) {
    if (bstrString != nullptr) std::free(blockOf(bstrString));
}

UINT SysStringLen(BSTR pbstr) { return SysStringByteLen(pbstr) / sizeof(OLECHAR); }

UINT SysStringByteLen(BSTR bstr) {
    if (bstr == nullptr) return 0;
    std::uint32_t count;
    std::memcpy(&count, blockOf(bstr), kPrefix);
    return count;
}
