// Version information and the error mode. The layer presents itself as
// Windows XP with Service Pack 3, an NT-family Windows 5.1.
#include <atomic>
#include <cstring>

#include "platform/win/kernel.h"

static_assert(sizeof(OSVERSIONINFOA) == 148, "OSVERSIONINFOA has the Windows layout");
static_assert(sizeof(OSVERSIONINFOEXA) == 156, "OSVERSIONINFOEXA has the Windows layout");
static_assert(sizeof(WIN32_FIND_DATAA) == 320, "WIN32_FIND_DATAA has the Windows layout");

namespace {

constexpr DWORD kMajorVersion = 5;
constexpr DWORD kMinorVersion = 1;
constexpr DWORD kBuildNumber = 2600;
constexpr const char* kServicePack = "Service Pack 3";

std::atomic<UINT> g_errorMode{0};

}  // namespace

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA versionInformation) {
    if (versionInformation == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD size = versionInformation->dwOSVersionInfoSize;
    if (size != sizeof(OSVERSIONINFOA) && size != sizeof(OSVERSIONINFOEXA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    versionInformation->dwMajorVersion = kMajorVersion;
    versionInformation->dwMinorVersion = kMinorVersion;
    versionInformation->dwBuildNumber = kBuildNumber;
    versionInformation->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(versionInformation->szCSDVersion, 0, sizeof versionInformation->szCSDVersion);
    std::strcpy(versionInformation->szCSDVersion, kServicePack);
    if (size == sizeof(OSVERSIONINFOEXA)) {
        auto* extended = reinterpret_cast<LPOSVERSIONINFOEXA>(versionInformation);
        extended->wServicePackMajor = 3;
        extended->wServicePackMinor = 0;
        extended->wSuiteMask = 0;
        extended->wProductType = VER_NT_WORKSTATION;
        extended->wReserved = 0;
    }
    return TRUE;
}

DWORD WINAPI GetVersion(void) {
    return kMajorVersion | (kMinorVersion << 8) | (kBuildNumber << 16);
}

UINT WINAPI SetErrorMode(UINT mode) {
    return g_errorMode.exchange(mode);
}
