#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "BstrHolder.h"
#include "ComRef.h"

namespace {

// A COM object that only counts its references; the test holds the first one itself.
class Counted : public IUnknown {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    ULONG refs = 1;
};

using Ref = ComRef<IUnknown>;

// Each case starts from a reference shared with the test's own.
TEST(ComRef, TakesEachReferenceOnceAndReleasesItOnce) {
    const struct {
        const char* what;
        std::function<void(Ref&)> run;
        ULONG refs;  // while the reference under test still exists
    } cases[] = {
        {"shared with AddRef", [](Ref&) {}, 2},
        {"taken over without AddRef", [](Ref& r) { r = Ref(r.detach()); }, 2},
        {"moved out and back", [](Ref& r) { r = Ref(std::move(r)); }, 2},
        {"moved-from holds nothing", [](Ref& r) { Ref taker(std::move(r)); }, 1},
        {"assigned over releases", [](Ref& r) { r = Ref(); }, 1},
        {"put() releases first", [](Ref& r) { r.put(); }, 1},
        {"detached for the caller", [](Ref& r) { r.detach()->Release(); }, 1},
    };
    for (const auto& c : cases) {
        Counted object;
        {
            Ref ref = Ref::share(&object);
            c.run(ref);
            EXPECT_EQ(object.refs, c.refs) << c.what;
            EXPECT_EQ(static_cast<bool>(ref), c.refs == 2) << c.what;
        }
        EXPECT_EQ(object.refs, 1u) << c.what;
    }
}

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
