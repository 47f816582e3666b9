#pragma once
// An allocator for buffers that hold a whole table's text (tens of megabytes, filled once by an import).

#include <cstddef>
#include <memory>
#include <new>

#include <sys/mman.h>

namespace qbm {

// Buffers from 4 MB up are mapped on their own and offered to the system's large pages: a 60 MB table
// then costs a few dozen page faults to fill instead of fifteen thousand, which is a good part of an
// import's time. Smaller ones come from the ordinary heap.
template <typename T> class TBigBufferAllocator {
public:
    using value_type = T;

    TBigBufferAllocator() = default;
    template <typename U> TBigBufferAllocator(const TBigBufferAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) {
        if (n > kMaxCount) throw std::bad_array_new_length();
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kMapped) return std::allocator<T>().allocate(n);
        void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
#ifdef MADV_HUGEPAGE
        madvise(p, bytes, MADV_HUGEPAGE); // a hint: without large pages the buffer works the same
#endif
        return static_cast<T*>(p);
    }

    void deallocate(T* p, std::size_t n) noexcept {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kMapped)
            std::allocator<T>().deallocate(p, n);
        else
            munmap(p, bytes);
    }

    template <typename U> bool operator==(const TBigBufferAllocator<U>&) const noexcept {
        return true;
    }

private:
    static constexpr std::size_t kMapped = std::size_t(4) << 20;
    static constexpr std::size_t kMaxCount = static_cast<std::size_t>(-1) / 2 / sizeof(T);
};

} // namespace qbm
