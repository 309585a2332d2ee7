#include "shell/memory.h"

#include <cstring>

#include "shell/messages.h"

long g_memoryError = 0;

void* AllocBlock(size_t size, UINT flags) {
    void* block = HeapAlloc(GetProcessHeap(), (flags & GMEM_ZEROINIT) ? HEAP_ZERO_MEMORY : 0, size);
    if (block == nullptr) g_memoryError = -48;
    return block;
}

void* AllocBlockOrFail(size_t size, UINT flags) {
    void* block = AllocBlock(size, flags);
    if (block == nullptr) ShowMessage(10, kFatal, g_memoryError);
    return block;
}

void FreeBlock(void* block) {
    if (block == nullptr) return;
    g_memoryError = HeapFree(GetProcessHeap(), 0, block) ? 0 : static_cast<long>(GetLastError());
}

HGLOBAL AllocGlobal(size_t size, UINT flags) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | (flags & (GMEM_ZEROINIT | GMEM_DISCARDABLE)), size);
    g_memoryError = handle != nullptr ? 0 : static_cast<long>(GetLastError());
    return handle;
}

void* LockGlobal(HGLOBAL handle) {
    void* data = GlobalLock(handle);
    g_memoryError = data != nullptr ? 0 : static_cast<long>(GetLastError());
    return data;
}

size_t GlobalBlockSize(HGLOBAL handle) {
    if (GlobalFlags(handle) & GMEM_DISCARDED) return 0;
    const size_t size = GlobalSize(handle);
    if (size == 0) g_memoryError = static_cast<long>(GetLastError());
    return size;
}

HGLOBAL ReallocGlobal(HGLOBAL handle, size_t size, long* error) {
    HGLOBAL resized = GlobalReAlloc(handle, size, 0);
    if (resized == nullptr) {
        resized = GlobalAlloc(GMEM_MOVEABLE, size);
        if (resized != nullptr) {
            const size_t oldSize = GlobalSize(handle);
            void* to = GlobalLock(resized);
            const void* from = GlobalLock(handle);
            if (to != nullptr && from != nullptr) memcpy(to, from, oldSize < size ? oldSize : size);
            GlobalUnlock(handle);
            GlobalUnlock(resized);
            GlobalFree(handle);
        }
    }
    g_memoryError = resized != nullptr ? 0 : static_cast<long>(GetLastError());
    if (error != nullptr) *error = g_memoryError;
    return resized;
}

void RemoveArrayItem(void* array, int index, int count, size_t itemSize) {
    if (index < 0 || index >= count) return;
    char* base = static_cast<char*>(array);
    memmove(base + index * itemSize, base + (index + 1) * itemSize,
            static_cast<size_t>(count - index - 1) * itemSize);
}
