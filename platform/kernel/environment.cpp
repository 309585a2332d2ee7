// The process environment, read in Windows-1252 as every ANSI call answers.
#include <stdlib.h>

#include <string>

#include "platform/kernel/codepage.h"
#include "platform/kernel/paths.h"
#include "platform/windows.h"

DWORD WINAPI GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size) {
    if (name == nullptr || name[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const char* value = getenv(platform::Cp1252ToUtf8(name).c_str());
    if (value == nullptr) {
        SetLastError(ERROR_ENVVAR_NOT_FOUND);
        return 0;
    }
    // CopyPathOut answers as the Windows getters do: the length copied, or the
    // size needed with the NUL when the buffer is too small.
    SetLastError(NO_ERROR);
    bool lost = false;
    const std::string converted = platform::Utf8ToCp1252(value, &lost);
    if (lost) {
        platform::ReportUnusableName(value);
    }
    return platform::CopyPathOut(converted, buffer, buffer != nullptr ? size : 0);
}
