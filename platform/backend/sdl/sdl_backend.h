// The SDL backend: the emulated display in a full-screen window (or a desktop
// window with --window) scaled by a whole factor, mouse and keyboard input
// translated to what Windows reports, wave output through an SDL audio device,
// and a steady millisecond clock. It leaves the run's log to the caller.
#pragma once

#include "platform/backend/backend.h"
#include "platform/options.h"

#include <string>

namespace platform {

// Starts SDL and returns a complete backend. When there is no display, every
// part still works but the presenter shows nothing and the event source gives
// only raise requests and no close; error then says why (when given) and the
// caller decides whether to go on.
Backend MakeSdlBackend(const Options& options, std::string* error = nullptr);

// The size of the desktop's first display, once a backend has started SDL;
// false when no display answers.
bool SdlDesktopSize(int& width, int& height);

}  // namespace platform
