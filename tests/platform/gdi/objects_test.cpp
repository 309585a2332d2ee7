// The object table: handles of deleted objects and the slots they free.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "platform/windows.h"
#include "tests/support/layer.h"

namespace {

// A program that makes and deletes brushes, fonts and regions all day keeps a
// table of the size it needs at once, and a handle kept past DeleteObject
// names nothing, however often its slot has served since.
TEST(GdiObjects, DeletedHandlesNameNothingWhileTheirSlotsServeAgain) {
    testing_support::ResetLayer();
    HBRUSH kept = CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH first = CreateSolidBrush(RGB(4, 5, 6));
    ASSERT_TRUE(DeleteObject(first));
    std::set<uintptr_t> handles;
    for (int i = 0; i < 5000; ++i) {
        HGDIOBJ made = i % 3 == 0   ? static_cast<HGDIOBJ>(CreateSolidBrush(RGB(i, 0, 0)))
                       : i % 3 == 1 ? static_cast<HGDIOBJ>(CreateRectRgn(0, 0, i, i))
                                    : static_cast<HGDIOBJ>(CreatePen(PS_SOLID, 1, RGB(0, i, 0)));
        const uintptr_t value = reinterpret_cast<uintptr_t>(made);
        EXPECT_LT(value, uintptr_t{1} << 31);
        handles.insert(value);
        EXPECT_EQ(GetObjectType(first), 0u) << "after " << i << " objects";
        ASSERT_TRUE(DeleteObject(made));
        EXPECT_EQ(GetObjectType(made), 0u);
    }
    // Each object had a handle of its own, and the one kept all along still works.
    EXPECT_EQ(handles.size(), 5000u);
    EXPECT_FALSE(handles.count(reinterpret_cast<uintptr_t>(first)));
    EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_FALSE(DeleteObject(first));
    EXPECT_TRUE(DeleteObject(kept));
}

}  // namespace
