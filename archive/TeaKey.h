// TeaKey: the 128-bit key of the payload's TEA layer, shared by setup.exe, which deciphers,
// and the host's payload builder, which enciphers. Plain C++ without Windows headers, so
// that both compilers can read it.
#pragma once

// Word i of the key is bytes 4i to 4i + 3, little-endian.
inline constexpr unsigned char teaKey[16] = {
    0xca, 0x9e, 0x16, 0xd5, 0x2c, 0x7e, 0x99, 0xad,
    0x3c, 0x60, 0x06, 0xb6, 0x5e, 0x80, 0xd2, 0x52,
};
