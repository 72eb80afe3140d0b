// Owns one handle of the platform (a COM reference, a BSTR, an ODBC handle) and gives it back with
// `Release` when it goes, so that every way out of a function, returned or thrown, gives back
// exactly what it took. Move-only. `Release` is a function object called with a non-null handle.
#ifndef OWNEDHANDLE_H
#define OWNEDHANDLE_H

template <class Handle, class Release>
class OwnedHandle {
  public:
    OwnedHandle() = default;
    // Takes over `handle` (null allowed).
    explicit OwnedHandle(Handle handle) noexcept : handle_(handle) {}
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.detach()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        reset(other.detach());
        return *this;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    ~OwnedHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

    // Hands the handle to the caller, who gives it back.
    Handle detach() noexcept {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    // Gives back the handle held so far and takes over `handle`.
    void reset(Handle handle = nullptr) noexcept {
        Handle old = handle_;
        handle_ = handle;
        if (old != nullptr) Release()(old);
    }
    // The place for a call to store a new handle in, emptied first: what was held is given back,
    // and whatever the call leaves there, even on failure, is given back in turn.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }

  private:
    Handle handle_ = nullptr;
};

#endif
