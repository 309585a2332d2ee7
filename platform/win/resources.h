// KERNEL resources: module handles, resource lookup and resource libraries.
//
// Implements GetModuleHandleA, FindResourceA, LoadResource, LockResource,
// SizeofResource, FreeResource, LoadLibraryA and FreeLibrary over resource
// packs (platform/kernel/resource_pack.h). The program's own module carries the
// pack built into the executable; LoadLibraryA opens a pack file from disk,
// reads it whole and validates it before it returns.
//
// Left out: string-named resources and types (only MAKEINTRESOURCEA values and
// "#123" strings are found), languages, executable code in libraries, the
// other A/W and Ex variants, and enumeration of resources.
//
// Differs from Windows: a library is a resource pack, not a PE image, so any
// other file fails with ERROR_BAD_EXE_FORMAT; an invalid module or resource
// handle fails with ERROR_INVALID_HANDLE rather than faulting; FreeResource is
// a no-op, as on 32-bit Windows, and a resource stays valid until its library
// is freed.
#pragma once

#include "platform/win/types.h"

#define RT_CURSOR MAKEINTRESOURCEA(1)
#define RT_BITMAP MAKEINTRESOURCEA(2)
#define RT_ICON MAKEINTRESOURCEA(3)
#define RT_MENU MAKEINTRESOURCEA(4)
#define RT_DIALOG MAKEINTRESOURCEA(5)
#define RT_STRING MAKEINTRESOURCEA(6)
#define RT_RCDATA MAKEINTRESOURCEA(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEA(12)
#define RT_GROUP_ICON MAKEINTRESOURCEA(14)

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName);
HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type);
HGLOBAL WINAPI LoadResource(HMODULE module, HRSRC resource);
LPVOID WINAPI LockResource(HGLOBAL resourceData);
DWORD WINAPI SizeofResource(HMODULE module, HRSRC resource);
BOOL WINAPI FreeResource(HGLOBAL resourceData);
HMODULE WINAPI LoadLibraryA(LPCSTR fileName);
BOOL WINAPI FreeLibrary(HMODULE module);
