// The one public header of the Windows layer: the subset of Win32 that the
// program calls, with Windows names, types, constants and signatures (ANSI
// variants). Each part's header says what it implements, what it leaves out and
// where it knowingly differs from Windows.
#pragma once

#include "platform/win/types.h"
#include "platform/win/kernel.h"
#include "platform/win/resources.h"
#include "platform/win/user.h"
#include "platform/win/dialog.h"
#include "platform/win/gdi.h"
#include "platform/win/print.h"
#include "platform/win/mmsystem.h"

// The program's entry point, called by the layer once the backend is running.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
