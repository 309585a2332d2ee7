#include "shell/cursors.h"

#include "shell/app.h"
#include "shell/messages.h"
#include "shell/resources.h"

HCURSOR g_currentCursor = nullptr;
HCURSOR g_initialCursor = nullptr;
HCURSOR g_waitCursor = nullptr;

namespace {

struct Loaded {
    int id;
    HCURSOR cursor;
};
Loaded g_startupCursors[3] = {{32001, nullptr}, {32000, nullptr}, {32002, nullptr}};

void RestoreInitialCursor() { SetCurrentCursor(g_initialCursor); }

}  // namespace

HCURSOR SetCurrentCursor(HCURSOR cursor) {
    HCURSOR previous = g_currentCursor;
    g_currentCursor = cursor;
    SetCursor(cursor);
    return previous;
}

HCURSOR LoadProgramCursor(int id) {
    if (id > 32500) return LoadCursorA(nullptr, MAKEINTRESOURCEA(id));
    return LoadCursorA(g_resourceModule, MAKEINTRESOURCEA(id));
}

HCURSOR LoadCursorOrFail(int id) {
    HCURSOR cursor = LoadProgramCursor(id);
    if (cursor == nullptr) ShowMessage(23, kFatal, static_cast<long>(GetLastError()));
    return cursor;
}

void LoadStartupCursors() {
    g_initialCursor = g_currentCursor = LoadCursorA(nullptr, IDC_ARROW);
    g_waitCursor = LoadCursorA(nullptr, IDC_WAIT);
    for (Loaded& loaded : g_startupCursors) {
        loaded.cursor = LoadProgramCursor(loaded.id);
        if (loaded.cursor == nullptr) loaded.cursor = g_initialCursor;
    }
    AddExitHandler(RestoreInitialCursor);
}

HCURSOR ProgramCursor(int id) {
    for (const Loaded& loaded : g_startupCursors) {
        if (loaded.id == id) return loaded.cursor;
    }
    return g_initialCursor;
}
