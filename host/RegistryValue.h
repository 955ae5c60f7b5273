// RegistryValue: a typed registry value as the registry operations read and write it.
#pragma once

#include "foundation/String.h"
#include "foundation/WideText.h"

#include <windows.h>

#include <cstdint>

// How a value's text is read and written: as the program's ANSI text, or through the wide
// API as the UTF-16 text the registry keeps, so that a value of another program keeps
// every unit whatever its script. (Windows 95/98 has no wide registry API and keeps ANSI
// text only: there the wide form is converted from and to the ANSI code page.)
enum class TextForm { Ansi, Wide };

// The data lives in `number` when the type is REG_DWORD. In the ANSI form a REG_SZ or
// REG_EXPAND_SZ holds its characters up to the first NUL in `text` (the terminator is added
// again on writing). In the wide form it holds its units up to the first NUL in `wide`
// instead, and `text` stays empty. Any other type (REG_BINARY, REG_MULTI_SZ, ...) holds in
// `text` every byte as the registry gives it in the value's form (REG_MULTI_SZ in UTF-16
// in the wide form), NULs included, written back unchanged.
class RegistryValue {
public:
    static bool isString(uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

    RegistryValue() : type(REG_NONE), number(0), form(TextForm::Ansi) {}
    RegistryValue(const String& text, uint32_t type = REG_SZ) : type(type), number(0), form(TextForm::Ansi), text(text) {}
    RegistryValue(const WideText& wide, uint32_t type) : type(type), number(0), form(TextForm::Wide), wide(wide) {}
    explicit RegistryValue(uint32_t number) : type(REG_DWORD), number(number), form(TextForm::Ansi) {}

    // This value in the other form: a string's text converted from or to the ANSI code page
    // (to it, with the code page's default character for what it cannot hold); any other
    // data as it is.
    RegistryValue in(TextForm to) const
    {
        RegistryValue value(*this);
        if (to == form)
            return value;
        value.form = to;
        if (isString(type) && to == TextForm::Wide) {
            value.wide = WideText::fromAnsi(text);
            value.text = String();
        } else if (isString(type)) {
            value.text = wide.toAnsi();
            value.wide = WideText();
        }
        return value;
    }

    uint32_t type;
    uint32_t number;
    TextForm form;
    String text;
    WideText wide;
};
