// Icon: the best image of an icon group, LoadImage and DrawIconEx.
#include "ui/Icon.h"

#include "foundation/SystemLibrary.h"
#include "host/SystemMetrics.h"

#include <cstdlib>

Icon::~Icon()
{
    if (handle_)
        DestroyIcon(handle_);
}

int Icon::bestImage(const BYTE* group, int wantedWidth, int wantedHeight, int* width, int* height)
{
    // A 6-byte header whose third word is the count, then 14-byte entries that start with
    // the width and height bytes.
    const int count = group[4] | group[5] << 8;
    int best = -1;
    int bestDistance = 0;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = group + 6 + 14 * i;
        const int distance = std::abs(wantedHeight - entry[1]) + std::abs(wantedWidth - entry[0]);
        if (best < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
            *width = entry[0];
            *height = entry[1];
        }
    }
    return best;
}

namespace {

// GetSystemMetrics at dpi: GetSystemMetricsForDpi where Windows has it (10 1607 and later,
// the only ones with a per-monitor scale other than the system's), else the system's.
int systemMetric(int index, int dpi)
{
    typedef int(WINAPI * GetSystemMetricsForDpiFunction)(int, UINT);
    const auto forDpi = reinterpret_cast<GetSystemMetricsForDpiFunction>(
        reinterpret_cast<void*>(systemFunction("user32.dll", "GetSystemMetricsForDpi")));
    if (dpi > 0 && forDpi)
        return forDpi(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

} // namespace

void Icon::load(int id, Size size, int dpi)
{
    int wantedWidth;
    int wantedHeight;
    if (size == text) {
        LOGFONTA font = {};
        systemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0);
        wantedWidth = wantedHeight = std::abs(font.lfHeight);
    } else {
        wantedWidth = systemMetric(size == small ? SM_CXSMICON : SM_CXICON, dpi);
        wantedHeight = systemMetric(size == small ? SM_CYSMICON : SM_CYICON, dpi);
    }
    HMODULE module = GetModuleHandleA(nullptr);
    int width = wantedWidth;
    int height = wantedHeight;
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */);
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const BYTE* group = loaded ? static_cast<const BYTE*>(LockResource(loaded)) : nullptr;
    if (group)
        bestImage(group, wantedWidth, wantedHeight, &width, &height);
    HICON handle = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
    if (!handle)
        throw Exception("LoadImage failure");
    if (handle_)
        DestroyIcon(handle_);
    handle_ = handle;
    width_ = width;
    height_ = height;
}

void Icon::draw(HDC dc, POINT point) const
{
    if (!DrawIconEx(dc, point.x, point.y, handle_, 0, 0, 0, nullptr, DI_NORMAL))
        throw Exception("DrawIconEx failure");
}
