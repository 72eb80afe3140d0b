// Owns one BSTR and frees it when it goes. Move-only: a copy of the text is made on purpose, with
// copyOf().
#ifndef BSTRHOLDER_H
#define BSTRHOLDER_H

#include <windows.h>
#include <oleauto.h>

#include <string>

class BstrHolder {
  public:
    BstrHolder() = default;
    // Takes over `text` (null allowed).
    explicit BstrHolder(BSTR text) noexcept : text_(text) {}
    // A new BSTR converted from narrow text in the ANSI code page. Raises WMIException
    // E_OUTOFMEMORY when the string cannot be allocated.
    explicit BstrHolder(const std::string& text);
    BstrHolder(BstrHolder&& other) noexcept : text_(other.detach()) {}
    BstrHolder& operator=(BstrHolder&& other) noexcept {
        reset(other.detach());
        return *this;
    }
    BstrHolder(const BstrHolder&) = delete;
    BstrHolder& operator=(const BstrHolder&) = delete;
    ~BstrHolder() { SysFreeString(text_); }

    // A private copy of `text`, embedded NULs included; null for null. Raises WMIException
    // E_OUTOFMEMORY when it cannot be allocated.
    static BstrHolder copyOf(BSTR text);

    BSTR get() const noexcept { return text_; }
    explicit operator bool() const noexcept { return text_ != nullptr; }

    // Hands the string to the caller, who frees it.
    BSTR detach() noexcept {
        BSTR text = text_;
        text_ = nullptr;
        return text;
    }
    // Frees the string held so far and takes over `text`.
    void reset(BSTR text = nullptr) noexcept {
        BSTR old = text_;
        text_ = text;
        SysFreeString(old);
    }
    // The place for a call to store a new string in; what was held is freed first.
    BSTR* put() noexcept {
        reset();
        return &text_;
    }

  private:
    BSTR text_ = nullptr;
};

#endif
