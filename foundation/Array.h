// Array: a growable array of values, copied in and out, with the size kept apart from the
// room. For small collections of records and for byte buffers handed to the system.
#pragma once

// T needs a default constructor and copy assignment. Indices are not checked: callers
// index below size(). The room only grows; a failed allocation throws and leaves the array
// as it was.
template <typename T>
class Array {
public:
    constexpr Array() = default;
    // size elements, each T() (0 for numbers and characters).
    explicit Array(int size) { resize(size); }
    // The size values at data: a writable copy of them. (Delegating, so that the destructor
    // frees the room when a copy fails half-way.)
    Array(const T* data, int size) : Array()
    {
        reserve(size);
        for (int i = 0; i < size; ++i)
            add(data[i]);
    }
    Array(const Array& other) : Array(other.elements_, other.size_) {}
    Array& operator=(const Array& other)
    {
        if (this != &other) {
            Array copy(other);
            swap(copy);
        }
        return *this;
    }
    ~Array() { delete[] elements_; }

    int size() const { return size_; }
    bool isEmpty() const { return size_ == 0; }
    T* data() { return elements_; }
    const T* data() const { return elements_; }
    T& operator[](int index) { return elements_[index]; }
    const T& operator[](int index) const { return elements_[index]; }
    T* begin() { return elements_; }
    T* end() { return elements_ + size_; }
    const T* begin() const { return elements_; }
    const T* end() const { return elements_ + size_; }

    void add(const T& value)
    {
        if (size_ == capacity_) {
            // value may be one of the elements: copied before the room moves.
            const T kept = value;
            reserve(capacity_ < 4 ? 4 : 2 * capacity_);
            elements_[size_++] = kept;
        } else {
            elements_[size_++] = value;
        }
    }
    // Shifts the later elements down by one.
    void removeAt(int index)
    {
        for (int i = index; i + 1 < size_; ++i)
            elements_[i] = elements_[i + 1];
        elements_[--size_] = T();
    }
    // The index of the first element equal to value, or -1.
    int indexOf(const T& value) const
    {
        for (int i = 0; i < size_; ++i)
            if (elements_[i] == value)
                return i;
        return -1;
    }
    // New elements are T(); dropped ones are reset to T() so they hold nothing.
    void resize(int size)
    {
        reserve(size);
        for (int i = size_; i < size; ++i)
            elements_[i] = T();
        for (int i = size; i < size_; ++i)
            elements_[i] = T();
        size_ = size;
    }
    void clear()
    {
        for (int i = 0; i < size_; ++i)
            elements_[i] = T();
        size_ = 0;
    }

private:
    void reserve(int capacity)
    {
        if (capacity <= capacity_)
            return;
        T* elements = new T[capacity];
        try {
            for (int i = 0; i < size_; ++i)
                elements[i] = elements_[i];
        } catch (...) {
            delete[] elements;
            throw;
        }
        delete[] elements_;
        elements_ = elements;
        capacity_ = capacity;
    }
    void swap(Array& other)
    {
        T* elements = elements_;
        elements_ = other.elements_;
        other.elements_ = elements;
        const int size = size_;
        size_ = other.size_;
        other.size_ = size;
        const int capacity = capacity_;
        capacity_ = other.capacity_;
        other.capacity_ = capacity;
    }

    T* elements_ = nullptr;
    int size_ = 0;
    int capacity_ = 0;
};
