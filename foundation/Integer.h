// Integer: an int read from text with strtol, as the archive's decimal fields are.
#pragma once

#include "foundation/String.h"

class Integer : public Object {
public:
    // strtol of the text in the radix: leading blanks and a sign accepted, conversion stops
    // at the first non-digit, never an error.
    Integer(const String& text, int radix);
    explicit Integer(int value) : value_(value) {}

    int value() const { return value_; }

    Kind kind() const override { return IntegerKind; }
    bool equals(const Object& other) const override;
    uint32_t hashCode() const override;
    String toString() const override;

private:
    int value_;
};
