// The message queue's operations inside USER.
#pragma once

#include "platform/win/types.h"
#include "platform/win/user.h"

namespace platform::user {

void PostToQueue(const MSG& msg);
void PostInput(const MSG& msg);
size_t PendingInputCount();
bool PeekQueue(MSG& msg, HWND window, UINT low, UINT high, UINT flags);
void DropWindowMessages(HWND window);
void SetQuit(int code);
LONG MessageTime();
DWORD MessagePos();
UINT_PTR AddTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC function);
bool RemoveTimer(HWND window, UINT_PTR id);

}  // namespace platform::user
