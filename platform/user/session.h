// The end of the desktop session: the signals that announce it and the
// WM_ENDSESSION that the queue sends for them.
#pragma once

namespace platform::user {

// Catches SIGTERM, SIGHUP and SIGINT; the handler only sets a flag.
void CatchSessionEndSignals();

// True once one of those signals came.
bool SessionEndRequested();

// True while the windows are being told that the session ends.
bool SessionEnding();

// When a signal came: sends WM_ENDSESSION to every top-level window and ends
// the process with exit code 0. Called at every look at the queue.
void EndSessionIfRequested();

// Forgets a signal that came; for tests.
void ResetSessionEnd();

}  // namespace platform::user
