// Keeps a SAFEARRAY's data accessed (locked in place) for as long as it exists, and gives the
// access back when it goes, so that a reader that raises never leaves the array locked (a locked
// array cannot be destroyed).
#ifndef SAFEARRAYACCESS_H
#define SAFEARRAYACCESS_H

#include <windows.h>
#include <oleauto.h>

class SafeArrayAccess {
  public:
    explicit SafeArrayAccess(SAFEARRAY* array) noexcept
        : array_(array), result_(SafeArrayAccessData(array, &data_)) {}
    SafeArrayAccess(const SafeArrayAccess&) = delete;
    SafeArrayAccess& operator=(const SafeArrayAccess&) = delete;
    ~SafeArrayAccess() {
        if (SUCCEEDED(result_)) SafeArrayUnaccessData(array_);
    }

    // The result of the access; the data is there only when it succeeded.
    HRESULT result() const noexcept { return result_; }
    void* data() const noexcept { return data_; }

  private:
    SAFEARRAY* array_;
    void* data_ = nullptr;
    HRESULT result_;
};

#endif
