// Helpers shared by the file calls: Windows error codes for POSIX errors,
// Windows file times and attributes for what stat(2) reports.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>

#include "platform/win/kernel.h"

namespace platform {

// The Windows error for an errno value. A missing name is ERROR_FILE_NOT_FOUND
// when its folder exists and ERROR_PATH_NOT_FOUND otherwise.
DWORD ErrorFromErrno(int error, bool parentExists);

// 100-nanosecond intervals since 1 January 1601, as Windows counts file times.
FILETIME FileTimeFromTimespec(const timespec& time);

// The Windows attributes of a file: FILE_ATTRIBUTE_DIRECTORY for folders,
// FILE_ATTRIBUTE_ARCHIVE for files, FILE_ATTRIBUTE_READONLY when it cannot be
// written (always on a CD drive), FILE_ATTRIBUTE_HIDDEN for Linux dot names,
// FILE_ATTRIBUTE_NORMAL when nothing else applies.
DWORD AttributesFromStat(const std::string& linuxPath, const struct stat& info,
                         bool readOnlyDrive);

// At most limit bytes from the start of a regular file. Nothing when the file
// cannot be opened or is not a regular file: a pipe, socket or device could
// block the program or never end. Every file the layer reads for itself goes
// through here, as the program's own files go through CreateFileA.
std::optional<std::string> ReadRegularFile(const std::string& linuxPath, size_t limit);

}  // namespace platform
