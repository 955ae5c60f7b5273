// Icon: the owner of one icon of the program's resources, at the best of its sizes.
#pragma once

#include "foundation/ExceptionWin.h"

#include <windows.h>

class Icon {
public:
    // Texts: "LoadImage failure", "DrawIconEx failure", with the system's error text.
    class Exception : public ExceptionWin {
    public:
        explicit Exception(const String& text) : ExceptionWin(text) {}
        explicit Exception(const char* text) : ExceptionWin(text) {}
        const char* title() const override { return "Icon error"; }
    };

    // text: the height of the icon-title font (both ways); small and large: the system's
    // icon sizes.
    enum Size { text, small, large };

    Icon() = default;
    ~Icon();
    Icon(const Icon&) = delete;
    Icon& operator=(const Icon&) = delete;

    // Loads icon group id at the image nearest to size, small and large at dpi dots per inch
    // (0: the system's). Throws Exception when it cannot (and Win::Exception when the
    // icon-title font cannot be read).
    void load(int id, Size size, int dpi = 0);
    // Draws the icon at its own size with its top left corner at point.
    void draw(HDC dc, POINT point) const;

    HICON handle() const { return handle_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // The index of the group's image nearest to wanted (the sum of the width and height
    // differences; the earlier of equally near ones), its size in *width and *height; -1 for
    // a group without images. group: the RT_GROUP_ICON resource's bytes.
    static int bestImage(const BYTE* group, int wantedWidth, int wantedHeight, int* width, int* height);

private:
    HICON handle_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
