// Vector: a growable array of Object pointers with index-checked access. Does not own
// its elements.
#pragma once

#include "foundation/Object.h"

#include <cstdint>

class Vector : public Object {
public:
    // An initial capacity of 0 is taken as 1. An increment of 0 or less doubles the capacity.
    explicit Vector(uint32_t initialCapacity = 10, int32_t capacityIncrement = 0);
    ~Vector() override;
    Vector(const Vector&) = delete;
    Vector& operator=(const Vector&) = delete;

    // Appends and returns the index it stored at.
    int addElement(Object* element);
    // Throw IndexOutOfBoundsException named after the operation for index >= size
    // (compared unsigned, so negative indices fail too); the vector is then unchanged.
    Object* elementAt(int index) const;
    void setElementAt(Object* element, int index);
    virtual void removeElementAt(int index);

    int size() const { return static_cast<int>(size_); }
    uint32_t capacity() const { return capacity_; }

    // "[" + each element's toString joined by ", " + "]".
    String toString() const override;

protected:
    Object** elements_;
    uint32_t size_;

private:
    uint32_t capacity_;
    int32_t capacityIncrement_;
};
