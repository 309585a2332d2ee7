// Cursors: the system arrow and hourglass, program cursors decoded from cursor
// resources, the current cursor and the display counter of ShowCursor.
#include <cstring>
#include <memory>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/user/cursor_file.h"
#include "platform/user/internal.h"
#include "platform/windows.h"

namespace platform::user {
using platform::CursorShape;
namespace {

std::vector<std::unique_ptr<CursorShape>> g_cursors;  // index + 1 is the handle
HCURSOR g_current = nullptr;
int g_showCount = 0;

HCURSOR AddCursor(CursorShape shape) {
    g_cursors.push_back(std::make_unique<CursorShape>(std::move(shape)));
    return reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(g_cursors.size()));
}

CursorShape* FindCursor(HCURSOR cursor) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(cursor);
    if (value == 0 || value > g_cursors.size()) return nullptr;
    return g_cursors[value - 1].get();
}

HCURSOR SystemCursor(uintptr_t id) {
    static HCURSOR arrow = nullptr;
    static HCURSOR wait = nullptr;
    HCURSOR& slot = id == 32514 ? wait : arrow;
    if (slot == nullptr || FindCursor(slot) == nullptr) {
        CursorShape shape;
        shape.system = id == 32514 ? CursorShape::System::Wait : CursorShape::System::Arrow;
        slot = AddCursor(shape);
    }
    return slot;
}

}  // namespace

void ResetCursors() {
    g_cursors.clear();
    g_current = nullptr;
    g_showCount = 0;
}

}  // namespace platform::user

using namespace platform::user;
using platform::CursorShape;

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (!IS_INTRESOURCE(name)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const uintptr_t id = reinterpret_cast<uintptr_t>(name);
    if (instance == nullptr) {
        if (id >= 32512 && id <= 32650) return SystemCursor(id);
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    HRSRC resource = FindResourceA(instance, name, MAKEINTRESOURCEA(RT_CURSOR_ID));
    if (resource == nullptr) return nullptr;
    HGLOBAL loaded = LoadResource(instance, resource);
    const void* bytes = LockResource(loaded);
    const DWORD size = SizeofResource(instance, resource);
    std::optional<platform::CursorShape> shape =
        DecodeCursorFile(static_cast<const uint8_t*>(bytes), size);
    if (!shape) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return AddCursor(std::move(*shape));
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR) {
    // Icons only decorate windows that the desktop draws itself; a handle for
    // the system ones is enough.
    if (instance == nullptr) return reinterpret_cast<HICON>(SystemCursor(32512));
    return nullptr;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    HCURSOR previous = g_current;
    if (cursor != g_current) {
        g_current = cursor;
        CursorShape* shape = FindCursor(cursor);
        static const CursorShape hidden;
        platform::CurrentBackend().presenter->SetCursor(shape != nullptr ? shape : &hidden);
    }
    return previous;
}

HCURSOR WINAPI GetCursor(void) { return g_current; }

int WINAPI ShowCursor(BOOL show) {
    const bool wasVisible = g_showCount >= 0;
    g_showCount += show ? 1 : -1;
    const bool visible = g_showCount >= 0;
    if (visible != wasVisible) platform::CurrentBackend().presenter->ShowCursor(visible);
    return g_showCount;
}

BOOL WINAPI DestroyCursor(HCURSOR cursor) {
    CursorShape* shape = FindCursor(cursor);
    if (shape == nullptr) return FALSE;
    if (shape->system != platform::CursorShape::System::None) return TRUE;
    if (g_current == cursor) SetCursor(nullptr);
    g_cursors[reinterpret_cast<uintptr_t>(cursor) - 1].reset();
    return TRUE;
}
