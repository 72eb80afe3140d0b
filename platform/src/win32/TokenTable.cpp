#include "TokenTable.h"

#include <map>
#include <mutex>

namespace nvx4::platform {

namespace {

std::mutex tableMutex;
std::map<HANDLE, std::shared_ptr<TokenHandle>> table;
// Handle values look like the system's: small multiples of four, never reused while open.
UINT_PTR nextHandle = 0x1000;

}  // namespace

HANDLE TokenTable::open(std::shared_ptr<PrivilegeSet> token, DWORD access) {
    auto entry = std::make_shared<TokenHandle>(TokenHandle{std::move(token), access});
    std::lock_guard<std::mutex> lock(tableMutex);
    HANDLE handle = reinterpret_cast<HANDLE>(nextHandle);
    nextHandle += 4;
    table.emplace(handle, std::move(entry));
    return handle;
}

std::shared_ptr<TokenHandle> TokenTable::find(HANDLE handle) {
    std::lock_guard<std::mutex> lock(tableMutex);
    auto found = table.find(handle);
    return found == table.end() ? nullptr : found->second;
}

bool TokenTable::close(HANDLE handle) {
    std::lock_guard<std::mutex> lock(tableMutex);
    return table.erase(handle) > 0;
}

std::size_t TokenTable::openCount() {
    std::lock_guard<std::mutex> lock(tableMutex);
    return table.size();
}

}  // namespace nvx4::platform
