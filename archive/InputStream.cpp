// InputStream: the block read built on the single-byte read.
#include "archive/InputStream.h"

int32_t InputStream::read(unsigned char* buffer, int32_t length)
{
    // Reading a byte here for a length of 0 would lose it: nothing could store it.
    if (length <= 0)
        return 0;
    int32_t c = read();
    if (c == -1)
        return -1;
    int32_t count = 0;
    while (c != -1) {
        buffer[count++] = static_cast<unsigned char>(c);
        if (count == length)
            break;
        c = read();
    }
    return count;
}
