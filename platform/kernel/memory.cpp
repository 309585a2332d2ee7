// Process heap and global memory over the C heap. Heap blocks and fixed global
// blocks are plain pointers kept in a table with their sizes; a movable global
// block is a handle into a second table, and locking it gives its data.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "platform/win/kernel.h"

namespace {

// No block of a 32-bit program comes near this; larger requests fail cleanly
// instead of reaching the allocator.
constexpr SIZE_T kMaxBlockSize = SIZE_T{1} << 30;
constexpr uintptr_t kFirstGlobalHandle = 0x30000;
constexpr uintptr_t kGlobalHandleStep = 8;
constexpr unsigned kMaxLockCount = GMEM_LOCKCOUNT;
const HANDLE kProcessHeap = reinterpret_cast<HANDLE>(uintptr_t{0x50000});

struct RawBlock {
    SIZE_T size = 0;
    SIZE_T capacity = 0;
};

struct MovableBlock {
    char* data = nullptr;
    SIZE_T size = 0;
    unsigned locks = 0;
    bool discardable = false;
    bool discarded = false;
};

struct MemoryState {
    std::mutex mutex;
    std::unordered_map<void*, RawBlock> raw;
    std::unordered_map<uintptr_t, MovableBlock> movable;
    uintptr_t next = kFirstGlobalHandle;
};

MemoryState& Memory() {
    static MemoryState state;
    return state;
}

void* Fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

// Grows or shrinks storage of oldSize bytes to newSize, zeroing the new tail
// when asked; null (and the old storage kept) when memory runs out.
char* Resize(char* data, SIZE_T oldSize, SIZE_T newSize, bool zero) {
    auto* grown = static_cast<char*>(std::realloc(data, std::max<SIZE_T>(newSize, 1)));
    if (grown != nullptr && zero && newSize > oldSize) {
        std::memset(grown + oldSize, 0, newSize - oldSize);
    }
    return grown;
}

void* AllocRaw(SIZE_T bytes, bool zero) {
    if (bytes > kMaxBlockSize) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    const SIZE_T stored = std::max<SIZE_T>(bytes, 1);
    void* data = zero ? std::calloc(stored, 1) : std::malloc(stored);
    if (data == nullptr) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    MemoryState& state = Memory();
    std::lock_guard lock(state.mutex);
    state.raw[data] = RawBlock{bytes, stored};
    return data;
}

// Resizes a raw block; it moves only when allowed to.
void* ReAllocRaw(void* memory, SIZE_T bytes, bool mayMove, bool zero) {
    if (bytes > kMaxBlockSize) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    MemoryState& state = Memory();
    std::lock_guard lock(state.mutex);
    const auto found = state.raw.find(memory);
    if (found == state.raw.end()) {
        return Fail(ERROR_INVALID_HANDLE);
    }
    RawBlock block = found->second;
    if (bytes <= block.capacity) {
        if (zero && bytes > block.size) {
            std::memset(static_cast<char*>(memory) + block.size, 0, bytes - block.size);
        }
        found->second.size = bytes;
        return memory;
    }
    if (!mayMove) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    char* grown = Resize(static_cast<char*>(memory), block.size, bytes, zero);
    if (grown == nullptr) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    state.raw.erase(found);
    state.raw[grown] = RawBlock{bytes, bytes};
    return grown;
}

bool FreeRaw(void* memory) {
    MemoryState& state = Memory();
    std::lock_guard lock(state.mutex);
    if (state.raw.erase(memory) == 0) {
        return false;
    }
    std::free(memory);
    return true;
}

std::optional<RawBlock> FindRaw(const void* memory) {
    MemoryState& state = Memory();
    std::lock_guard lock(state.mutex);
    const auto found = state.raw.find(const_cast<void*>(memory));
    return found == state.raw.end() ? std::nullopt : std::optional<RawBlock>(found->second);
}

// The movable block behind a handle; the caller holds the memory mutex.
MovableBlock* FindMovable(MemoryState& state, HGLOBAL memory) {
    const auto found = state.movable.find(reinterpret_cast<uintptr_t>(memory));
    return found == state.movable.end() ? nullptr : &found->second;
}

HGLOBAL ReAllocMovable(HGLOBAL memory, MovableBlock& block, SIZE_T bytes,
                       UINT flags) {
    if (bytes == 0) {
        if (block.locks > 0) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
        std::free(block.data);
        block = MovableBlock{nullptr, 0, 0, block.discardable, true};
        return memory;
    }
    const bool mustStay = block.locks > 0 && (flags & GMEM_MOVEABLE) == 0;
    if (mustStay && bytes > block.size) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    if (block.locks > 0 && bytes <= block.size) {
        block.size = bytes;
        return memory;
    }
    char* grown = Resize(block.data, block.size, bytes, (flags & GMEM_ZEROINIT) != 0);
    if (grown == nullptr) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    block.data = grown;
    block.size = bytes;
    block.discarded = false;
    return memory;
}

}  // namespace

HANDLE WINAPI GetProcessHeap(void) {
    return kProcessHeap;
}

LPVOID WINAPI HeapAlloc(HANDLE /*heap*/, DWORD flags, SIZE_T bytes) {
    return AllocRaw(bytes, (flags & HEAP_ZERO_MEMORY) != 0);
}

LPVOID WINAPI HeapReAlloc(HANDLE /*heap*/, DWORD flags, LPVOID memory, SIZE_T bytes) {
    if (memory == nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    return ReAllocRaw(memory, bytes, (flags & HEAP_REALLOC_IN_PLACE_ONLY) == 0,
                      (flags & HEAP_ZERO_MEMORY) != 0);
}

BOOL WINAPI HeapFree(HANDLE /*heap*/, DWORD /*flags*/, LPVOID memory) {
    if (memory == nullptr || FreeRaw(memory)) {
        return TRUE;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}

SIZE_T WINAPI HeapSize(HANDLE /*heap*/, DWORD /*flags*/, LPCVOID memory) {
    const auto block = FindRaw(memory);
    if (!block) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return static_cast<SIZE_T>(-1);
    }
    return block->size;
}

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    const bool zero = (flags & GMEM_ZEROINIT) != 0;
    if ((flags & GMEM_MOVEABLE) == 0) {
        return AllocRaw(bytes, zero);
    }
    if (bytes > kMaxBlockSize) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    MovableBlock block;
    block.discardable = (flags & GMEM_DISCARDABLE) != 0;
    block.size = bytes;
    block.discarded = bytes == 0;
    if (bytes > 0) {
        block.data = static_cast<char*>(zero ? std::calloc(bytes, 1) : std::malloc(bytes));
        if (block.data == nullptr) {
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        }
    }
    MemoryState& state = Memory();
    std::lock_guard lock(state.mutex);
    const uintptr_t value = state.next;
    state.next += kGlobalHandleStep;
    state.movable.emplace(value, block);
    return reinterpret_cast<HGLOBAL>(value);
}

HGLOBAL WINAPI GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags) {
    MemoryState& state = Memory();
    {
        std::lock_guard lock(state.mutex);
        if (MovableBlock* block = FindMovable(state, memory)) {
            if ((flags & GMEM_MODIFY) != 0) {
                block->discardable = (flags & GMEM_DISCARDABLE) != 0;
                return memory;
            }
            if (bytes > kMaxBlockSize) {
                return Fail(ERROR_NOT_ENOUGH_MEMORY);
            }
            return ReAllocMovable(memory, *block, bytes, flags);
        }
    }
    if ((flags & GMEM_MODIFY) != 0) {
        return FindRaw(memory) ? memory : Fail(ERROR_INVALID_HANDLE);
    }
    return ReAllocRaw(memory, bytes, (flags & GMEM_MOVEABLE) != 0, (flags & GMEM_ZEROINIT) != 0);
}

HGLOBAL WINAPI GlobalFree(HGLOBAL memory) {
    if (memory == nullptr) {
        return nullptr;
    }
    MemoryState& state = Memory();
    {
        std::lock_guard lock(state.mutex);
        const auto found = state.movable.find(reinterpret_cast<uintptr_t>(memory));
        if (found != state.movable.end()) {
            std::free(found->second.data);
            state.movable.erase(found);
            return nullptr;
        }
    }
    if (FreeRaw(memory)) {
        return nullptr;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return memory;
}

LPVOID WINAPI GlobalLock(HGLOBAL memory) {
    MemoryState& state = Memory();
    {
        std::lock_guard lock(state.mutex);
        if (MovableBlock* block = FindMovable(state, memory)) {
            if (block->discarded) {
                return Fail(ERROR_INVALID_HANDLE);
            }
            block->locks = std::min(block->locks + 1, kMaxLockCount);
            return block->data;
        }
    }
    return FindRaw(memory) ? memory : Fail(ERROR_INVALID_HANDLE);
}

BOOL WINAPI GlobalUnlock(HGLOBAL memory) {
    MemoryState& state = Memory();
    {
        std::lock_guard lock(state.mutex);
        if (MovableBlock* block = FindMovable(state, memory)) {
            if (block->locks == 0) {
                SetLastError(ERROR_NOT_LOCKED);
                return FALSE;
            }
            if (--block->locks == 0) {
                SetLastError(NO_ERROR);
                return FALSE;
            }
            return TRUE;
        }
    }
    if (FindRaw(memory)) {
        return TRUE;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

SIZE_T WINAPI GlobalSize(HGLOBAL memory) {
    MemoryState& state = Memory();
    {
        std::lock_guard lock(state.mutex);
        if (const MovableBlock* block = FindMovable(state, memory)) {
            return block->size;
        }
    }
    if (const auto block = FindRaw(memory)) {
        return block->size;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
}

UINT WINAPI GlobalFlags(HGLOBAL memory) {
    MemoryState& state = Memory();
    {
        std::lock_guard lock(state.mutex);
        if (const MovableBlock* block = FindMovable(state, memory)) {
            return block->locks | (block->discardable ? GMEM_DISCARDABLE : 0) |
                   (block->discarded ? GMEM_DISCARDED : 0);
        }
    }
    if (FindRaw(memory)) {
        return 0;
    }
    SetLastError(ERROR_INVALID_HANDLE);
    return GMEM_INVALID_HANDLE;
}

HGLOBAL WINAPI GlobalHandle(LPCVOID memory) {
    MemoryState& state = Memory();
    {
        std::lock_guard lock(state.mutex);
        for (const auto& [value, block] : state.movable) {
            if (block.data != nullptr && block.data == memory) {
                return reinterpret_cast<HGLOBAL>(value);
            }
        }
    }
    if (FindRaw(memory)) {
        return const_cast<LPVOID>(memory);
    }
    return Fail(ERROR_INVALID_HANDLE);
}

HLOCAL WINAPI LocalAlloc(UINT flags, SIZE_T bytes) {
    return GlobalAlloc(flags, bytes);
}

HLOCAL WINAPI LocalFree(HLOCAL memory) {
    return GlobalFree(memory);
}

LPVOID WINAPI LocalLock(HLOCAL memory) {
    return GlobalLock(memory);
}

BOOL WINAPI LocalUnlock(HLOCAL memory) {
    return GlobalUnlock(memory);
}
