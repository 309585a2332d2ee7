#include "tools/stamp.h"

#include "graphics/surface.h"
#include "shell/configuration.h"
#include "shell/cursors.h"
#include "shell/picture_module.h"
#include "workshop/workshop_screen.h"

int g_stampItems[kStampBankCount] = {};

namespace {

constexpr int kDefaultCursor = 101;
constexpr int kFirstStamp = 2000;

// The program's key codes, as they reach the tools (sign-extended).
constexpr int kLeft = 0x8009;
constexpr int kRight = 0x800A;
constexpr int kUp = 0x800B;
constexpr int kDown = 0x800C;
constexpr int kCtrlHome = 0x800D;
constexpr int kCtrlEnd = 0x800E;
constexpr int kPageUp = 0x800F;
constexpr int kPageDown = 0x8010;

}  // namespace

int StampPictureNumber(int bank, int item, int magnify) {
    return kFirstStamp + 200 * bank + 4 * item + 2 * magnify;
}

int StampItemForKey(int code, int item, int count) {
    switch (code & 0xFFFF) {
        case kLeft: return item == 0 ? count - 1 : item - 1;
        case kRight: return (item + 1) % count;
        case kUp: case kCtrlHome: case kPageUp: return 0;
        case kDown: case kCtrlEnd: case kPageDown: return count - 1;
        default: break;
    }
    if (code < 32 || code > 255) return -1;
    int value = code;
    if (code >= 'a' && code <= 'z') value = code - 'a';
    else if (code >= 'A' && code <= 'Z') value = code - 'A';
    else if (code >= '0' && code <= '9') value = code - '0';
    return value % count;
}

StampTool::StampTool(WorkshopScreen* owner, int bank)
    : FloatingPicture(owner, LoadedCursor(kDefaultCursor)), m_bank(bank) {
    m_masked = 1;
    LoadStamp();
}

StampTool::~StampTool() { UnloadStamp(); }

void StampTool::LoadStamp() {
    const HCURSOR previous = SetCurrentCursor(g_waitCursor);
    const int number = StampPictureNumber(m_bank, g_stampItems[m_bank], g_workshop.magnify);
    HBITMAP picture = nullptr;
    HBITMAP mask = nullptr;
    // The pictures take the depth of the window's surface.
    GetWindowSurface(m_owner->m_window);
    {
        PictureModuleScope module;
        picture = LoadPictureOrFail(number);
        mask = LoadResourceBitmapOrFail(number + 1);
    }
    ReleaseWindowSurface();
    SetPicture(picture, mask);
    SetCurrentCursor(previous);
}

void StampTool::UnloadStamp() {
    Hide();
    if (m_picture != nullptr) DeleteObject(m_picture);
    if (m_mask != nullptr) DeleteObject(m_mask);
    SetPicture(nullptr, nullptr);
}

void StampTool::ReloadStamp() {
    if (g_workshop.actionInProgress) return;
    UnloadStamp();
    LoadStamp();
    OnHover(m_owner->m_pointerX, m_owner->m_pointerY, 0);
}

void StampTool::OnRightPress(int /*x*/, int /*y*/) {
    if (g_workshop.actionInProgress) return;
    int& item = g_stampItems[m_bank];
    item = (item + 1) % kStampItemCounts[m_bank];
    ReloadStamp();
}

void StampTool::OnChar(int code, int repeat) {
    if (repeat || g_workshop.actionInProgress) return;
    const int item = StampItemForKey(code, g_stampItems[m_bank], kStampItemCounts[m_bank]);
    if (item >= 0) g_stampItems[m_bank] = item;
    ReloadStamp();
}

int StampTool::OnCommand(int code, LPARAM value) {
    if (code == kToolMagnify) {
        ReloadStamp();
        return 0;
    }
    return FloatingPicture::OnCommand(code, value);
}
