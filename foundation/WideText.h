// WideText: UTF-16 text as the wide Windows API gives and takes it, unit for unit.
#pragma once

#include "foundation/Array.h"
#include "foundation/String.h"

// For text of other programs that must come back whole (a PATH entry in any script), where
// the program's own String, ANSI text, would lose what the code page cannot hold or turn it
// into a look-alike. Units are never combined, checked or normalised: what the system gave
// is what it gets back. Embedded NUL units are allowed.
class WideText {
public:
    WideText() = default;
    // NUL-terminated units; a null pointer gives the empty text.
    WideText(const wchar_t* units);
    WideText(const wchar_t* units, int count);

    // text read in the ANSI code page (MultiByteToWideChar(CP_ACP)): how the program's own
    // text joins other programs' text.
    static WideText fromAnsi(const String& text);
    // The text in the ANSI code page, with its default character for whatever the code
    // page cannot hold: for the log and the screen, and for Windows 95/98, whose registry
    // and files hold ANSI text only.
    String toAnsi() const;

    int length() const { return units_.isEmpty() ? 0 : units_.size() - 1; }
    bool isEmpty() const { return length() == 0; }
    // The unit at index (0 <= index < length; not checked).
    wchar_t charAt(int index) const { return units_[index]; }
    // The units, followed by a NUL.
    const wchar_t* c_str() const { return units_.isEmpty() ? L"" : units_.data(); }
    bool equals(const WideText& other) const;

    int indexOf(wchar_t unit, int from = 0) const;
    int indexOf(const WideText& text, int from = 0) const;
    // The caller keeps 0 <= begin <= end <= length.
    WideText substring(int begin, int end) const;
    WideText substring(int begin) const { return substring(begin, length()); }
    WideText& append(const WideText& other);
    WideText replace(wchar_t from, wchar_t to) const;
    // Unit for unit, letters in lower case as the system maps them (CharLowerBuffW); on
    // Windows 95/98/Me, which lack that, as the code page lowers them (CharLowerBuffA),
    // units the code page does not hold staying as they are.
    WideText toLowerCase() const;
    // Without leading and trailing units 0 to 32 (space and the control characters).
    WideText trim() const;

private:
    // The units and a terminating NUL; nothing at all for the empty text.
    Array<wchar_t> units_;
};

WideText operator+(const WideText& a, const WideText& b);
