// InputResource: finding the resource and handing out its bytes.
#include "archive/InputResource.h"

#include <windows.h>

#include <cstring>

InputResource::InputResource(int resourceId)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId),
                                MAKEINTRESOURCEA(10) /* RT_RCDATA */);
    if (!found)
        throw Exception("FindResource");
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded)
        throw Exception("LoadResource");
    data_ = static_cast<const unsigned char*>(LockResource(loaded));
    if (!data_)
        throw Exception("LockResource");
    size_ = SizeofResource(module, found);
    if (size_ == 0)
        throw Exception("SizeofResource");
}

int32_t InputResource::read(unsigned char* buffer, int32_t length)
{
    if (position_ >= size_)
        return -1;
    if (length <= 0)
        return 0;
    uint32_t count = size_ - position_;
    if (count > static_cast<uint32_t>(length))
        count = static_cast<uint32_t>(length);
    std::memcpy(buffer, data_ + position_, count);
    position_ += count;
    return static_cast<int32_t>(count);
}

int32_t InputResource::read()
{
    if (position_ >= size_)
        return -1;
    return data_[position_++];
}
