// One running copy per user: the first copy holds an exclusive lock on a file
// and listens on a Unix socket, both in $XDG_RUNTIME_DIR (else /tmp/tavelin-UID);
// a second copy finds the lock taken and asks the first, over the socket, to
// come forward. The kernel drops the lock when a copy ends, however it ends; a
// socket file left by a copy that crashed is replaced by the next first copy.
// Leaves out: anything beyond the raise request.
#pragma once

#include <string>

namespace platform {

// True when this process is the first copy of appName (or when the check
// cannot be made at all, so that the program still runs). The first copy then
// listens for raise requests until it ends or calls ReleaseSingleInstance.
bool ClaimSingleInstance(const std::string& appName);

// Sends a raise request to the first copy; true when it acknowledged it within
// a couple of seconds.
bool AskFirstInstanceToRaise(const std::string& appName);

// Never blocks: true when a second copy asked this one to come forward since
// the last call. Event sources call it on each poll; false when nothing is claimed.
bool TakeRaiseRequest();

// Gives up the claim, closes the socket and removes its file.
void ReleaseSingleInstance();

}  // namespace platform
