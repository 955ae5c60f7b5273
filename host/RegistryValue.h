// RegistryValue: a typed registry value as the registry operations read and write it.
#pragma once

#include "foundation/String.h"

#include <windows.h>

#include <cstdint>

// The data lives in `number` when the type is REG_DWORD and in `text` for every other
// type: for REG_SZ and REG_EXPAND_SZ the characters up to the first NUL (the terminator is
// added again on writing), for any other type (REG_BINARY, REG_MULTI_SZ, ...) every byte as
// the registry holds it, NULs included, written back unchanged.
class RegistryValue {
public:
    static bool isString(uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

    RegistryValue() : type(REG_NONE), number(0) {}
    RegistryValue(const String& text, uint32_t type = REG_SZ) : type(type), number(0), text(text) {}
    explicit RegistryValue(uint32_t number) : type(REG_DWORD), number(number) {}

    uint32_t type;
    uint32_t number;
    String text;
};
