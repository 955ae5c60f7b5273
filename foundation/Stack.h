// Stack: a Vector used from its top end.
#pragma once

#include "foundation/Vector.h"

class Stack : public Vector {
public:
    using Vector::Vector;

    void push(Object* element) { addElement(element); }
    // Throw EmptyStackException named "peek" or "pop" when the stack is empty.
    Object* peek() const;
    Object* pop();
};
