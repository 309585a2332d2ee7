// The caret's blink time. The desktops we run on keep theirs in settings of
// their own toolkits, out of reach of a program without one, so every caret
// blinks at Windows' default pace.
#include "platform/win/caret.h"

namespace {

constexpr UINT kCaretBlinkMilliseconds = 530;

}  // namespace

UINT WINAPI GetCaretBlinkTime(void) { return kCaretBlinkMilliseconds; }
