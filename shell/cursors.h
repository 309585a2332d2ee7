// The current mouse cursor and the program's cursors.
#pragma once

#include "platform/windows.h"

extern HCURSOR g_currentCursor;
extern HCURSOR g_initialCursor;
extern HCURSOR g_waitCursor;

HCURSOR SetCurrentCursor(HCURSOR cursor);
// Ids up to 32500 are the program's own cursors, higher ones the system's.
HCURSOR LoadProgramCursor(int id);
HCURSOR LoadCursorOrFail(int id);
// The arrow, the hourglass and the program cursors 32001, 32000 and 32002;
// the arrow comes back when the program ends.
void LoadStartupCursors();
// One of the start-up cursors, or the arrow; it never loads a new handle.
HCURSOR ProgramCursor(int id);
