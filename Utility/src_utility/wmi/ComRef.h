// Owns one reference to a COM object and releases it when it goes, so that every way out of a
// function, returned or thrown, gives back exactly the references it took. Move-only: a second
// reference is taken on purpose, with share().
#ifndef COMREF_H
#define COMREF_H

#include <windows.h>
#include <objbase.h>

template <class Interface>
class ComRef {
  public:
    ComRef() = default;
    // Takes over the caller's reference (null allowed).
    explicit ComRef(Interface* object) noexcept : object_(object) {}
    ComRef(ComRef&& other) noexcept : object_(other.detach()) {}
    ComRef& operator=(ComRef&& other) noexcept {
        reset(other.detach());
        return *this;
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ~ComRef() { reset(); }

    // A reference of its own to an object the caller keeps holding.
    static ComRef share(Interface* object) noexcept {
        if (object != nullptr) object->AddRef();
        return ComRef(object);
    }

    Interface* get() const noexcept { return object_; }
    Interface* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

    // Hands the reference to the caller, who releases it.
    Interface* detach() noexcept {
        Interface* object = object_;
        object_ = nullptr;
        return object;
    }
    // Releases the reference held so far and takes over `object`'s.
    void reset(Interface* object = nullptr) noexcept {
        Interface* old = object_;
        object_ = object;
        if (old != nullptr) old->Release();
    }
    // The place for a call to store a new reference in, emptied first: what was held is
    // released, and whatever the call leaves there, even on failure, is released in turn.
    Interface** put() noexcept {
        reset();
        return &object_;
    }
    // put() for the calls that take an untyped out-parameter.
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

  private:
    Interface* object_ = nullptr;
};

#endif
