// ArgumentList: a command line split into String arguments.
#pragma once

#include "foundation/OwningVector.h"
#include "foundation/String.h"

// Blanks (space, tab) separate arguments; double quotes toggle quoting anywhere inside an
// argument and are never part of it; "" alone is an empty argument; backslashes are
// ordinary bytes. A text ending inside an open quotation keeps the argument gathered so far.
class ArgumentList {
public:
    explicit ArgumentList(const char* text);
    virtual ~ArgumentList() = default;
    ArgumentList(const ArgumentList&) = delete;
    ArgumentList& operator=(const ArgumentList&) = delete;

    // Replaces the arguments with those of text (a null text gives none).
    void parse(const char* text);
    int size() const { return arguments_.size(); }
    // The argument at index, or a shared empty String when index >= size (unsigned).
    const String& argument(int index) const;

private:
    OwningVector arguments_;
};
