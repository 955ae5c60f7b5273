// Font: the owner of one GDI font.
#pragma once

#include "foundation/Exception.h"

#include <windows.h>

class Font {
public:
    // Text: "CreateFontIndirect failure".
    class Exception : public ::Exception {
    public:
        explicit Exception(const String& text) : ::Exception(text) {}
        explicit Exception(const char* text) : ::Exception(String(text)) {}
        const char* title() const override { return "Font error"; }
    };

    Font() = default;
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Deletes the current font, then makes one from font. Throws Exception when none results.
    void create(const LOGFONTA& font);
    // As create, with font.lfHeight in tenths of a point for the device of dc.
    void createPointFont(const LOGFONTA& font, HDC dc);

    HFONT handle() const { return handle_; }
    bool exists() const { return handle_ != nullptr; }

private:
    HFONT handle_ = nullptr;
};
