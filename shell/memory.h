// Memory blocks with the program's error reporting.
#pragma once

#include <cstddef>

#include "platform/windows.h"

// 0, -48 when the heap had no memory, or the system error of the last call.
extern long g_memoryError;

void* AllocBlock(size_t size, UINT flags);
void* AllocBlockOrFail(size_t size, UINT flags);
void FreeBlock(void* block);
HGLOBAL AllocGlobal(size_t size, UINT flags);
void* LockGlobal(HGLOBAL handle);
size_t GlobalBlockSize(HGLOBAL handle);
HGLOBAL ReallocGlobal(HGLOBAL handle, size_t size, long* error);
void RemoveArrayItem(void* array, int index, int count, size_t itemSize);
