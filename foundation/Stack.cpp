// Stack: top-end access with empty-stack checks.
#include "foundation/Stack.h"

#include "foundation/Exception.h"

Object* Stack::peek() const
{
    if (size_ == 0)
        throw EmptyStackException("peek");
    return elements_[size_ - 1];
}

Object* Stack::pop()
{
    if (size_ == 0)
        throw EmptyStackException("pop");
    return elements_[--size_];
}
