// The resource module and the loading of resource libraries.
#pragma once

#include "platform/windows.h"

extern HMODULE g_resourceModule;
extern DWORD g_lastResourceError;

HMODULE SetResourceModule(HMODULE module);
HGLOBAL FindProgramResource(LPCSTR type, int id);
HMODULE LoadLibraryFromBase(const char* name);
HMODULE LoadLibraryOrFail(const char* name);
