// Font: CreateFontIndirect and the framework's point-font conversion.
#include "ui/Font.h"

#include "framework/PointFont.h"

Font::~Font()
{
    if (handle_)
        DeleteObject(handle_);
}

void Font::create(const LOGFONTA& font)
{
    if (handle_) {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
    handle_ = CreateFontIndirectA(&font);
    if (!handle_)
        throw Exception("CreateFontIndirect failure");
}

void Font::createPointFont(const LOGFONTA& font, HDC dc)
{
    create(pointFont(font, dc));
}
