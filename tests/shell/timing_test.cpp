#include "shell/timing.h"

#include <gtest/gtest.h>

#include <vector>

#include "shell/memory.h"
#include "shell/random.h"
#include "tests/support/layer.h"

using namespace testing_support;

namespace {

TEST(Timing, WaitFramePacesStepsAndDelayWaits) {
    ResetLayer();
    const DWORD start = timeGetTime();
    Delay(400);
    EXPECT_EQ(timeGetTime() - start, 400u);

    // Ten milliseconds of work per step, forty per frame.
    std::vector<DWORD> steps;
    WaitFrame(40);
    for (int i = 0; i < 4; ++i) {
        Sleep(10);
        WaitFrame(40);
        steps.push_back(timeGetTime());
    }
    for (size_t i = 1; i < steps.size(); ++i) EXPECT_EQ(steps[i] - steps[i - 1], 40u);
    // After a long pause the next frame is due at once.
    Sleep(1000);
    const DWORD before = timeGetTime();
    WaitFrame(40);
    EXPECT_EQ(timeGetTime(), before);

    ProbeTimerPeriod(1);
    EXPECT_EQ(g_timerPeriod, 1u);
}

TEST(Random, FollowsTheLinearCongruentialSequence) {
    SeedRandom(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected) EXPECT_EQ(Random(), value);
    ResetLayer();
    SeedRandom(0);  // the multimedia clock, which starts at the run's seed
    EXPECT_EQ(g_randomSeed, timeGetTime());
}

TEST(Memory, BlocksAndArrays) {
    auto* block = static_cast<unsigned char*>(AllocBlock(4096, GMEM_ZEROINIT));
    ASSERT_NE(block, nullptr);
    for (int i = 0; i < 4096; ++i) ASSERT_EQ(block[i], 0) << i;
    FreeBlock(block);
    EXPECT_EQ(g_memoryError, 0);
    EXPECT_EQ(AllocBlock(size_t{1} << 40, 0), nullptr);
    EXPECT_EQ(g_memoryError, -48);

    int items[] = {1, 2, 3, 4, 5};
    RemoveArrayItem(items, 1, 5, sizeof(int));
    EXPECT_EQ(std::vector<int>(items, items + 4), (std::vector<int>{1, 3, 4, 5}));

    HGLOBAL handle = AllocGlobal(16, GMEM_ZEROINIT);
    auto* data = static_cast<char*>(LockGlobal(handle));
    memcpy(data, "tavelin", 8);
    GlobalUnlock(handle);
    long error = -1;
    handle = ReallocGlobal(handle, 1 << 20, &error);
    EXPECT_EQ(error, 0);
    EXPECT_STREQ(static_cast<char*>(LockGlobal(handle)), "tavelin");
    EXPECT_EQ(GlobalBlockSize(handle), size_t{1} << 20);
    GlobalUnlock(handle);
    GlobalFree(handle);
}

}  // namespace
