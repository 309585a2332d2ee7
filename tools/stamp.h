// The stamp tool: a floating picture taken from one of the thirteen banks of
// ready-made pictures in the picture module. Each bank remembers its current
// item for the whole run; the right button and the keyboard step through it,
// and the magnify toggle chooses between the normal and the large pictures.
#pragma once

#include "tools/floating_picture.h"

constexpr int kStampBankCount = 13;
inline constexpr int kStampItemCounts[kStampBankCount] = {11, 17, 18, 10, 12, 15, 14,
                                                   14, 17, 15, 8,  18, 26};

// The current item of each bank, kept from one stamp tool to the next.
extern int g_stampItems[kStampBankCount];

// The picture's number in the picture module; its mask is the next number.
int StampPictureNumber(int bank, int item, int magnify);
// The item that a key (a program key code or a character) chooses in a bank
// of count items, starting from item; -1 when the key chooses nothing.
int StampItemForKey(int code, int item, int count);

class StampTool : public FloatingPicture {
public:
    StampTool(WorkshopScreen* owner, int bank);
    ~StampTool() override;

    void OnRightPress(int x, int y) override;
    void OnChar(int code, int repeat) override;
    int OnCommand(int code, LPARAM value) override;

    void LoadStamp();
    void UnloadStamp();
    // Loads the bank's current item again, at the magnify toggle's size, and
    // shows it under the pointer; not during an action.
    void ReloadStamp();

    int m_bank;
};
