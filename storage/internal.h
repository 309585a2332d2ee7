// What the parts of the file layer share and its users do not see.
#pragma once

#include "storage/files.h"

namespace storage {

// GetLastError, never 0 after a failed call.
long LastError();

// Copies name into g_givenName and resolves it into g_fullPath. False, with
// g_fullPath empty, when the resolved name would not fit.
bool ResolveGivenName(const char* name);

// True, once, when a test asked step to fail; error is then the code to give.
bool TakeInjectedFailure(SaveStep step, DWORD& error);

}  // namespace storage
