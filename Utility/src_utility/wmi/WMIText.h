// Text conversions shared by the WMI driver: narrow text in the ANSI code page to and from the
// wide strings (BSTR) that COM and WMI take.
#ifndef WMITEXT_H
#define WMITEXT_H

#include <windows.h>
#include <oleauto.h>

#include <string>

// A new BSTR holding `text` converted from the ANSI code page; the caller frees it. A null
// pointer converts as the empty string. Null only when the string cannot be made (no memory).
BSTR toBstr(const char* text);
inline BSTR toBstr(const std::string& text) { return toBstr(text.c_str()); }

// `length` wide characters of `text` converted to the ANSI code page. Raises std::bad_alloc when
// the conversion cannot be made.
std::string toNarrow(const wchar_t* text, size_t length);
// A BSTR converted to the ANSI code page, embedded NULs included; null gives the empty string.
std::string bstrToNarrow(BSTR text);

#endif
