// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace tessaplex {

// Memory for data of many megabytes: a world file, the item rows, the records of PATCH. Such a
// block is mapped on its own, on a huge-page boundary, so that freeing it gives its pages back to
// the system at once; smaller blocks come from the ordinary heap. The contents are not
// initialised.
[[nodiscard]] void *allocateLarge(std::size_t bytes);
// Frees a block from allocateLarge; bytes must be the size it was allocated with.
void freeLarge(void *block, std::size_t bytes) noexcept;

// An allocator for containers that may grow large (the item table's rows).
template <class T> struct LargeAllocator {
    using value_type = T;
    LargeAllocator() = default;
    template <class U> LargeAllocator(const LargeAllocator<U> &) {}
    [[nodiscard]] T *allocate(std::size_t n) {
        return static_cast<T *>(allocateLarge(n * sizeof(T)));
    }
    void deallocate(T *p, std::size_t n) noexcept { freeLarge(p, n * sizeof(T)); }
    template <class U> bool operator==(const LargeAllocator<U> &) const { return true; }
    template <class U> bool operator!=(const LargeAllocator<U> &) const { return false; }
};

// A fixed-capacity array of plain values, not initialised: whoever fills it writes each element
// before reading it, so the memory is touched once instead of being zero-filled first.
template <class T> class LargeArray {
    static_assert(std::is_trivially_copyable_v<T>, "LargeArray holds plain values only");

public:
    LargeArray() = default;
    explicit LargeArray(std::size_t capacity)
        : m_data(static_cast<T *>(allocateLarge(capacity * sizeof(T))))
        , m_capacity(capacity) {}
    ~LargeArray() { release(); }
    LargeArray(LargeArray &&other) noexcept
        : m_data(std::exchange(other.m_data, nullptr))
        , m_capacity(std::exchange(other.m_capacity, 0)) {}
    LargeArray &operator=(LargeArray &&other) noexcept {
        if (this != &other) {
            release();
            m_data = std::exchange(other.m_data, nullptr);
            m_capacity = std::exchange(other.m_capacity, 0);
        }
        return *this;
    }
    LargeArray(const LargeArray &) = delete;
    LargeArray &operator=(const LargeArray &) = delete;

    [[nodiscard]] T *data() { return m_data; }
    [[nodiscard]] const T *data() const { return m_data; }
    [[nodiscard]] std::size_t capacity() const { return m_capacity; }
    T &operator[](std::size_t i) { return m_data[i]; }
    const T &operator[](std::size_t i) const { return m_data[i]; }

    // Moves to a block of the given capacity, keeping the first `keep` elements.
    void reallocate(std::size_t capacity, std::size_t keep) {
        LargeArray bigger(capacity);
        if (keep)
            std::memcpy(bigger.m_data, m_data, keep * sizeof(T));
        *this = std::move(bigger);
    }

private:
    void release() noexcept {
        if (m_data)
            freeLarge(m_data, m_capacity * sizeof(T));
        m_data = nullptr;
        m_capacity = 0;
    }

    T *m_data = nullptr;
    std::size_t m_capacity = 0;
};

} // namespace tessaplex
