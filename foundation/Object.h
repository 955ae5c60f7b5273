// Object: the root of the library's value classes (equals, hashCode, toString).
#pragma once

#include <cstdint>

class String;

class Object {
public:
    virtual ~Object() = default;

    // Which of the library's value classes this is, for equals: setup.exe is built without
    // the compiler's run-time type information.
    enum Kind { ObjectKind, StringKind, IntegerKind };
    virtual Kind kind() const { return ObjectKind; }

    // Identity: true only for this very object.
    virtual bool equals(const Object& other) const;
    // The object's address.
    virtual uint32_t hashCode() const;
    // "Object@" and hashCode() in lower-case hexadecimal.
    virtual String toString() const;
};
