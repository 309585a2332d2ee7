// Hooks between the parts of USER: windows, the queue, input and message boxes.
#pragma once

#include "platform/backend/backend.h"
#include "platform/win/types.h"

namespace platform::user {

// Called while a window is being destroyed, before its WM_DESTROY: drops its
// capture, focus, timers and queued messages.
void OnWindowDestroying(HWND window);
// Activates or deactivates the program's top-level window.
void ActivateTopLevel(HWND window, WORD how);
bool IsRemoteWindow(HWND window);
// Turns one event of the backend into queued messages.
void ApplyInputEvent(const InputEvent& event);
// True while a mouse button is down.
bool MouseButtonHeld();
// Brings every window's own device context to its window's place and
// visible area, after a window appeared, moved or went.
void RefreshOwnDCs();
// Draws and runs a message box inside the program's screen.
int RunScreenMessageBox(const char* text, const char* caption, UINT type);
// Forgets every window, class, message, timer and state; for tests.
void ResetWindows();
// Forgets the dialogs and their items' state (called by ResetWindows).
void ResetDialogs();
void ResetQueue();
void ResetCursors();
void ResetInput();

}  // namespace platform::user
