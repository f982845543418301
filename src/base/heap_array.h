// Memory whose size is known only at run time, from the C library's heap: an owned array that is simply
// null when there is no memory. The program uses no allocation that could throw.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <utility>

// An array of `count` plain values, uninitialised; moves, never copies.
template <typename T>
class HeapArray {
public:
    HeapArray() = default;
    explicit HeapArray(std::size_t count)
        : data_(count <= static_cast<std::size_t>(-1) / sizeof(T) ? static_cast<T*>(std::malloc(count * sizeof(T)))
                                                                  : nullptr),
          count_(data_ != nullptr ? count : 0) {}
    ~HeapArray() { std::free(data_); }
    HeapArray(const HeapArray&) = delete;
    HeapArray& operator=(const HeapArray&) = delete;
    HeapArray(HeapArray&& other) noexcept
        : data_(std::exchange(other.data_, nullptr)), count_(std::exchange(other.count_, 0)) {}
    HeapArray& operator=(HeapArray&& other) noexcept {
        if (this != &other) {
            std::free(data_);
            data_ = std::exchange(other.data_, nullptr);
            count_ = std::exchange(other.count_, 0);
        }
        return *this;
    }

    T* get() const { return data_; }
    std::size_t size() const { return count_; }
    explicit operator bool() const { return data_ != nullptr; }
    T& operator[](std::size_t i) const { return data_[i]; }

private:
    T* data_ = nullptr;
    std::size_t count_ = 0;
};
