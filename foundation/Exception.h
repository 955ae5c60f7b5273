// Exception: the hierarchy through which every failure of the program travels.
#pragma once

#include "foundation/String.h"

// An exception has a fixed title per class and one text, composed completely where it is
// thrown. Thrown by value, caught by reference to a base.
class Exception {
public:
    Exception() = default;
    explicit Exception(const String& text) : text_(text) {}
    virtual ~Exception() = default;

    virtual const char* title() const = 0;

    // The title alone when the text is empty, else title + ": " + text.
    String message() const;

    const String& text() const { return text_; }
    void setText(const String& text) { text_ = text; }
    void setText(const char* text) { text_ = text; }

private:
    String text_;
};

class RuntimeException : public Exception {
public:
    explicit RuntimeException(const String& text) : Exception(text) {}
    explicit RuntimeException(const char* text) : Exception(String(text)) {}
    const char* title() const override { return "RuntimeException"; }
};

// Text: the name of the operation on the empty stack ("peek", "pop").
class EmptyStackException : public RuntimeException {
public:
    explicit EmptyStackException(const String& text) : RuntimeException(text) {}
    explicit EmptyStackException(const char* text) : RuntimeException(text) {}
    const char* title() const override { return "EmptyStackException"; }
};

// Text: the name of the operation given a bad index ("elementAt", ...).
class IndexOutOfBoundsException : public RuntimeException {
public:
    explicit IndexOutOfBoundsException(const String& text) : RuntimeException(text) {}
    explicit IndexOutOfBoundsException(const char* text) : RuntimeException(text) {}
    const char* title() const override { return "IndexOutOfBoundsException"; }
};

// Base of failures of the C library: the text gets ": " and strerror(errno) appended,
// also when errno is 0.
class ExceptionText : public Exception {
public:
    explicit ExceptionText(const String& text);
    explicit ExceptionText(const char* text) : ExceptionText(String(text)) {}
};

// Thrown when an install is abandoned. Deliberately outside the Exception hierarchy, so
// that handlers for Exception let it pass.
namespace Script {
class Abort {};
} // namespace Script
