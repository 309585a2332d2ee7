// The text caret's blink time, apart from the rest of USER so that the few
// callers that blink a caret of their own include it alone.
#pragma once

#include "platform/win/types.h"

// Milliseconds between two blinks of a text caret.
UINT WINAPI GetCaretBlinkTime(void);
