#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "BstrHolder.h"

namespace {

// The leak sanitizer sees a string that put() or a move forgets to free.
TEST(BstrHolder, CopiesWholeStringsAndFreesEachOnce) {
    const std::wstring text(L"a\0b", 3);
    BstrHolder original(SysAllocStringLen(text.data(), 3));
    BstrHolder copy = BstrHolder::copyOf(original.get());
    ASSERT_NE(copy.get(), original.get());
    EXPECT_EQ(std::wstring(copy.get(), SysStringLen(copy.get())), text);
    EXPECT_FALSE(BstrHolder::copyOf(nullptr));
    BstrHolder moved(std::move(copy));
    EXPECT_FALSE(copy);
    *original.put() = SysAllocString(L"new");
    EXPECT_EQ(std::wstring(original.get()), L"new");
}

}  // namespace
