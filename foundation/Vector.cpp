// Vector: growth, index checks and the bracketed text form.
#include "foundation/Vector.h"

#include "foundation/Exception.h"
#include "foundation/String.h"

#include <cstring>

Vector::Vector(uint32_t initialCapacity, int32_t capacityIncrement)
    : elements_(nullptr), size_(0), capacity_(initialCapacity ? initialCapacity : 1),
      capacityIncrement_(capacityIncrement)
{
    elements_ = new Object*[capacity_];
}

Vector::~Vector()
{
    delete[] elements_;
}

int Vector::addElement(Object* element)
{
    const uint32_t required = size_ + 1;
    if (capacity_ < required) {
        uint32_t capacity = capacityIncrement_ > 0 ? capacity_ + capacityIncrement_ : capacity_ * 2;
        if (capacity < required)
            capacity = required;
        Object** elements = new Object*[capacity];
        std::memcpy(elements, elements_, size_ * sizeof *elements_);
        delete[] elements_;
        elements_ = elements;
        capacity_ = capacity;
    }
    elements_[size_] = element;
    return static_cast<int>(size_++);
}

Object* Vector::elementAt(int index) const
{
    if (static_cast<uint32_t>(index) >= size_)
        throw IndexOutOfBoundsException("elementAt");
    return elements_[index];
}

void Vector::setElementAt(Object* element, int index)
{
    if (static_cast<uint32_t>(index) >= size_)
        throw IndexOutOfBoundsException("setElementAt");
    elements_[index] = element;
}

void Vector::removeElementAt(int index)
{
    if (static_cast<uint32_t>(index) >= size_)
        throw IndexOutOfBoundsException("removeElementAt");
    std::memmove(elements_ + index, elements_ + index + 1, (size_ - index - 1) * sizeof *elements_);
    --size_;
}

String Vector::toString() const
{
    String text("[");
    for (uint32_t i = 0; i < size_; ++i) {
        if (i > 0)
            text += ", ";
        text += elements_[i] ? elements_[i]->toString() : String("null");
    }
    text += "]";
    return text;
}
