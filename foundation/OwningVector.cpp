// OwningVector: deleting owned elements.
#include "foundation/OwningVector.h"

OwningVector::~OwningVector()
{
    removeAllElements();
}

void OwningVector::removeAllElements()
{
    for (uint32_t i = 0; i < size_; ++i)
        delete elements_[i];
    size_ = 0;
}

void OwningVector::replaceElementAt(Object* element, int index)
{
    Object* replaced = static_cast<uint32_t>(index) < size_ ? elements_[index] : nullptr;
    setElementAt(element, index);
    if (replaced != element)
        delete replaced;
}
