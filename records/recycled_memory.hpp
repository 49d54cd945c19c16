// Memory for records the rules make and drop again and again (missiles, a few every turn of a
// fight): a freed block waits in a list of its own size and is handed out again, so a steady
// stream of such records asks the heap for nothing once the largest number alive has been made.
// The game has one thread; the lists are never shared between threads.
#pragma once

#include <cstddef>
#include <memory>
#include <new>

namespace grotmere {

template <class T>
class RecycledMemory {
public:
    using value_type = T;

    RecycledMemory() = default;
    template <class U>
    RecycledMemory(const RecycledMemory<U>&) noexcept {}  // NOLINT: allocators convert implicitly

    T* allocate(std::size_t n) {
        if (n == 1 && free_blocks() != nullptr) {
            FreeBlock* block = free_blocks();
            free_blocks() = block->next;
            return reinterpret_cast<T*>(block);
        }
        return static_cast<T*>(::operator new(n * sizeof(Block)));
    }
    void deallocate(T* memory, std::size_t n) noexcept {
        if (n != 1) return ::operator delete(memory);
        auto* block = reinterpret_cast<FreeBlock*>(memory);
        block->next = free_blocks();
        free_blocks() = block;
    }

    friend bool operator==(const RecycledMemory&, const RecycledMemory&) { return true; }

private:
    struct FreeBlock {
        FreeBlock* next;
    };
    // A block holds either a T or, while it waits, the link to the next free one.
    union Block {
        alignas(T) std::byte value[sizeof(T)];
        FreeBlock free;
    };

    static FreeBlock*& free_blocks() {
        static FreeBlock* first = nullptr;
        return first;
    }
};

// A new record of type T in recycled memory, for the registry's factory of a type.
template <class T>
std::shared_ptr<T> make_recycled() {
    return std::allocate_shared<T>(RecycledMemory<T>());
}

}  // namespace grotmere
