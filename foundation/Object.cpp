// Object: identity semantics for the library's value classes.
#include "foundation/Object.h"

#include "foundation/String.h"


bool Object::equals(const Object& other) const
{
    return this == &other;
}

uint32_t Object::hashCode() const
{
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this));
}

String Object::toString() const
{
    return "Object@" + String::toHexString(static_cast<long>(hashCode()));
}
