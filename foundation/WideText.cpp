// WideText: the units in an array with their terminator, and the code-page conversions.
#include "foundation/WideText.h"

#include "foundation/WindowsVersion.h"

#include <windows.h>

#include <cwchar>

WideText::WideText(const wchar_t* units) : WideText(units, units ? static_cast<int>(std::wcslen(units)) : 0) {}

WideText::WideText(const wchar_t* units, int count)
{
    if (!units || count <= 0)
        return;
    for (int i = 0; i < count; ++i)
        units_.add(units[i]);
    units_.add(L'\0');
}

WideText WideText::fromAnsi(const String& text)
{
    if (text.isEmpty())
        return WideText();
    // A byte never makes more than one unit.
    Array<wchar_t> units(text.length());
    const int count = MultiByteToWideChar(CP_ACP, 0, text.c_str(), text.length(), units.data(), units.size());
    return WideText(units.data(), count);
}

String WideText::toAnsi() const
{
    if (isEmpty())
        return String();
    // Asked first: a unit may make up to two bytes in a double-byte code page, three in UTF-8.
    const int size = WideCharToMultiByte(CP_ACP, 0, c_str(), length(), nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return String();
    Array<char> bytes(size);
    const int count = WideCharToMultiByte(CP_ACP, 0, c_str(), length(), bytes.data(), size, nullptr, nullptr);
    return String(bytes.data(), count);
}

bool WideText::equals(const WideText& other) const
{
    if (other.length() != length())
        return false;
    for (int i = 0; i < length(); ++i) {
        if (other.charAt(i) != charAt(i))
            return false;
    }
    return true;
}

int WideText::indexOf(wchar_t unit, int from) const
{
    for (int i = from < 0 ? 0 : from; i < length(); ++i) {
        if (charAt(i) == unit)
            return i;
    }
    return -1;
}

int WideText::indexOf(const WideText& text, int from) const
{
    for (int at = from < 0 ? 0 : from; at + text.length() <= length(); ++at) {
        int i = 0;
        while (i < text.length() && charAt(at + i) == text.charAt(i))
            ++i;
        if (i == text.length())
            return at;
    }
    return -1;
}

WideText WideText::substring(int begin, int end) const
{
    return WideText(c_str() + begin, end - begin);
}

WideText& WideText::append(const WideText& other)
{
    if (other.isEmpty())
        return *this;
    *this = *this + other;
    return *this;
}

WideText WideText::replace(wchar_t from, wchar_t to) const
{
    WideText result(*this);
    for (int i = 0; i < result.length(); ++i) {
        if (result.units_[i] == from)
            result.units_[i] = to;
    }
    return result;
}

WideText WideText::toLowerCase() const
{
    WideText result(*this);
    if (result.isEmpty())
        return result;
    if (isWindowsNT()) {
        CharLowerBuffW(result.units_.data(), static_cast<DWORD>(result.length()));
        return result;
    }
    // Windows 95/98/Me's CharLowerBuffW is a stub: each unit that the code page holds
    // exactly (no best-fit look-alike) is lowered there, with the CharLowerBuffA they have.
    for (int i = 0; i < result.length(); ++i) {
        wchar_t& unit = result.units_[i];
        char narrow[2];
        const int length = WideCharToMultiByte(CP_ACP, 0, &unit, 1, narrow, sizeof narrow, nullptr, nullptr);
        wchar_t back = 0;
        if (length <= 0 || MultiByteToWideChar(CP_ACP, 0, narrow, length, &back, 1) != 1 || back != unit)
            continue;
        CharLowerBuffA(narrow, static_cast<DWORD>(length));
        if (MultiByteToWideChar(CP_ACP, 0, narrow, length, &back, 1) == 1)
            unit = back;
    }
    return result;
}

WideText WideText::trim() const
{
    int begin = 0;
    int end = length();
    while (begin < end && charAt(begin) <= 32)
        ++begin;
    while (end > begin && charAt(end - 1) <= 32)
        --end;
    return substring(begin, end);
}

WideText operator+(const WideText& a, const WideText& b)
{
    Array<wchar_t> units(a.length() + b.length());
    for (int i = 0; i < a.length(); ++i)
        units[i] = a.charAt(i);
    for (int i = 0; i < b.length(); ++i)
        units[a.length() + i] = b.charAt(i);
    return WideText(units.data(), units.size());
}
