// RegistryValue: a typed registry value as the registry operations read and write it.
#pragma once

#include "foundation/String.h"

#include <windows.h>

#include <cstdint>

// The data lives in `number` when the type is REG_DWORD and in `text` for every other
// type (the registry's bytes up to the first NUL).
class RegistryValue {
public:
    RegistryValue() : type(REG_NONE), number(0) {}
    RegistryValue(const String& text, uint32_t type = REG_SZ) : type(type), number(0), text(text) {}
    explicit RegistryValue(uint32_t number) : type(REG_DWORD), number(number) {}

    uint32_t type;
    uint32_t number;
    String text;
};
