#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "platform/win/kernel.h"

namespace {

bool AllZero(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0) {
            return false;
        }
    }
    return true;
}

TEST(KernelMemory, HeapBlocksZeroGrowAndKeepTheirContents) {
    HANDLE heap = GetProcessHeap();
    ASSERT_NE(heap, nullptr);
    auto* block = static_cast<char*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, 100));
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(AllZero(block, 100));
    EXPECT_EQ(HeapSize(heap, 0, block), 100u);
    std::memcpy(block, "drawing", 8);
    block = static_cast<char*>(HeapReAlloc(heap, HEAP_ZERO_MEMORY, block, 100000));
    ASSERT_NE(block, nullptr);
    EXPECT_STREQ(block, "drawing");
    EXPECT_TRUE(AllZero(block + 100, 100000 - 100));
    EXPECT_EQ(HeapSize(heap, 0, block), 100000u);

    // In place, a block may shrink and grow back but never move.
    EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, block, 10), block);
    EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, block, 100000), block);
    EXPECT_EQ(HeapReAlloc(heap, HEAP_REALLOC_IN_PLACE_ONLY, block, 200000), nullptr);
    EXPECT_TRUE(HeapFree(heap, 0, block));
    EXPECT_TRUE(HeapFree(heap, 0, nullptr));
    int notABlock = 0;
    EXPECT_FALSE(HeapFree(heap, 0, &notABlock));
    EXPECT_EQ(HeapSize(heap, 0, &notABlock), static_cast<SIZE_T>(-1));
}

TEST(KernelMemory, AbsurdSizesFailCleanly) {
    for (SIZE_T size : {SIZE_T{0x80000000u}, static_cast<SIZE_T>(-1), static_cast<SIZE_T>(-16)}) {
        SetLastError(0);
        EXPECT_EQ(HeapAlloc(GetProcessHeap(), 0, size), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
        EXPECT_EQ(GlobalAlloc(GHND, size), nullptr);
        EXPECT_EQ(GlobalAlloc(GPTR, size), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    }
    HGLOBAL block = GlobalAlloc(GHND, 16);
    EXPECT_EQ(GlobalReAlloc(block, static_cast<SIZE_T>(-1), 0), nullptr);
    EXPECT_EQ(GlobalSize(block), 16u);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(KernelMemory, MovableBlocksLockToTheirDataAndCountLocks) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DISCARDABLE, 640 * 480);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 640u * 480u);
    EXPECT_EQ(GlobalFlags(block), static_cast<UINT>(GMEM_DISCARDABLE));
    auto* data = static_cast<char*>(GlobalLock(block));
    ASSERT_NE(data, nullptr);
    EXPECT_NE(static_cast<void*>(data), block);
    EXPECT_TRUE(AllZero(data, 640 * 480));
    EXPECT_EQ(GlobalHandle(data), block);
    EXPECT_EQ(GlobalLock(block), data);
    EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 2u);
    std::memcpy(data, "sheet", 6);

    // Locked and not allowed to move, the block cannot grow.
    EXPECT_EQ(GlobalReAlloc(block, 1000000, 0), nullptr);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));

    ASSERT_EQ(GlobalReAlloc(block, 1000000, GMEM_ZEROINIT), block);
    data = static_cast<char*>(GlobalLock(block));
    EXPECT_STREQ(data, "sheet");
    EXPECT_TRUE(AllZero(data + 640 * 480, 1000000 - 640 * 480));
    GlobalUnlock(block);

    // Reallocated to nothing, it is discarded but keeps its handle.
    ASSERT_EQ(GlobalReAlloc(block, 0, GMEM_MOVEABLE), block);
    EXPECT_EQ(GlobalFlags(block) & GMEM_DISCARDED, static_cast<UINT>(GMEM_DISCARDED));
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalFree(block), block);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalFlags(block), static_cast<UINT>(GMEM_INVALID_HANDLE));
}

TEST(KernelMemory, FixedBlocksAreTheirOwnPointers) {
    HGLOBAL block = GlobalAlloc(GPTR, 32);
    ASSERT_NE(block, nullptr);
    EXPECT_TRUE(AllZero(block, 32));
    EXPECT_EQ(GlobalLock(block), block);
    EXPECT_TRUE(GlobalUnlock(block));
    EXPECT_EQ(GlobalHandle(block), block);
    EXPECT_EQ(GlobalFlags(block), 0u);
    std::memcpy(block, "fixed", 6);
    EXPECT_EQ(GlobalReAlloc(block, 1 << 20, 0), nullptr);
    HGLOBAL moved = GlobalReAlloc(block, 1 << 20, GMEM_MOVEABLE);
    ASSERT_NE(moved, nullptr);
    EXPECT_STREQ(static_cast<char*>(moved), "fixed");
    EXPECT_EQ(GlobalSize(moved), 1u << 20);
    EXPECT_EQ(LocalFree(moved), nullptr);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

TEST(KernelVersion, ReportsWindowsXpOnTheNtPlatform) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = 100;
    EXPECT_FALSE(GetVersionExA(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(info.dwMajorVersion, 5u);
    EXPECT_EQ(info.dwMinorVersion, 1u);
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    const DWORD version = GetVersion();
    EXPECT_EQ(LOBYTE(LOWORD(version)), 5);
    EXPECT_EQ(HIBYTE(LOWORD(version)), 1);
    EXPECT_EQ(version & 0x80000000u, 0u);

    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    EXPECT_EQ(SetErrorMode(previous), static_cast<UINT>(0x8001));
}

}  // namespace
