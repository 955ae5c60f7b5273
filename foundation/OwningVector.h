// OwningVector: a Vector that owns its elements and deletes them.
#pragma once

#include "foundation/Vector.h"

class OwningVector : public Vector {
public:
    using Vector::Vector;
    // Deletes every non-null element through its virtual destructor.
    ~OwningVector() override;

    // Deletes every non-null element; the capacity stays.
    void removeAllElements();
    // Stores the element at index and deletes the one it replaces. A bad index throws
    // IndexOutOfBoundsException "setElementAt" and deletes nothing.
    virtual void replaceElementAt(Object* element, int index);
    // removeElementAt (inherited) hands the element back to the caller undeleted.
};
