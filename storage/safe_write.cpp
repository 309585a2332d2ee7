// Safe replacement of a file. A file that exists is never opened for
// writing: the new bytes go to a temporary file in the same folder, which is
// flushed to disk and renamed over the old file in one step, and then the
// folder is flushed. Until the rename the old file is untouched, and any
// failure on the way removes the temporary file.
#include <cstdio>
#include <cstring>

#include "storage/files.h"
#include "storage/internal.h"

namespace {

// Beyond this many temporary names in one folder something else is wrong.
constexpr int kMaxTempNumber = 10000;

SaveStep g_failingStep = SaveStep::kNone;
DWORD g_failingError = NO_ERROR;

bool AlreadyExists(long error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

// Creates a new, empty file; CREATE_NEW keeps an existing one safe.
[[nodiscard]] long CreateEmpty(const char* path, DWORD disposition) {
    const HANDLE file =
        CreateFileA(path, GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return storage::LastError();
    }
    return CloseFile(file);
}

// Creates "TempName.n" beside target for the first n that is free, and puts
// its name into tempName.
[[nodiscard]] long CreateTemporary(const char* target, char* tempName) {
    const int folderLength = static_cast<int>(FileNamePart(target) - target);
    for (int n = 0; n < kMaxTempNumber; ++n) {
        const int length =
            snprintf(tempName, kPathSize, "%.*sTempName.%d", folderLength, target, n);
        if (length < 0 || length >= kPathSize) {
            break;
        }
        if (FileExists(tempName)) {
            continue;
        }
        const long error = CreateEmpty(tempName, CREATE_NEW);
        if (error == 0) {
            return 0;
        }
        if (!AlreadyExists(error)) {
            tempName[0] = '\0';
            return error;
        }
    }
    tempName[0] = '\0';
    return ERROR_FILENAME_EXCED_RANGE;
}

// Writes the entries of the folder holding path to disk. Some file systems
// cannot sync a folder; the rename is then done and only its durability is
// lost, so a failure is not reported.
void FlushFolderOf(const char* path) {
    char folder[kPathSize + 1];
    const int folderLength = static_cast<int>(FileNamePart(path) - path);
    snprintf(folder, sizeof folder, "%.*s.", folderLength, path);
    const HANDLE handle =
        CreateFileA(folder, 0, 0, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return;
    }
    FlushFileBuffers(handle);
    CloseHandle(handle);
}

[[nodiscard]] long FlushFile(HANDLE handle) {
    DWORD injected = 0;
    if (storage::TakeInjectedFailure(SaveStep::kFlush, injected)) {
        return static_cast<long>(injected);
    }
    return FlushFileBuffers(handle) ? 0 : storage::LastError();
}

[[nodiscard]] long RenameOver(const char* from, const char* to) {
    DWORD injected = 0;
    if (storage::TakeInjectedFailure(SaveStep::kRename, injected)) {
        return static_cast<long>(injected);
    }
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) ? 0 : storage::LastError();
}

}  // namespace

namespace storage {

bool TakeInjectedFailure(SaveStep step, DWORD& error) {
    if (step != g_failingStep) {
        return false;
    }
    g_failingStep = SaveStep::kNone;
    error = g_failingError;
    return true;
}

}  // namespace storage

void FailSaveStepForTesting(SaveStep step, DWORD error) {
    g_failingStep = step;
    g_failingError = error;
}

long OpenForSafeWrite(const char* name, char* tempName, HANDLE* handle) {
    *handle = nullptr;
    tempName[0] = '\0';
    if (!storage::ResolveGivenName(name)) {
        return ERROR_FILENAME_EXCED_RANGE;
    }
    char target[kPathSize];
    memcpy(target, g_fullPath, sizeof target);
    const bool replaces = FileExists(target);
    const long created =
        replaces ? CreateTemporary(target, tempName) : CreateEmpty(target, CREATE_ALWAYS);
    if (created != 0) {
        return created;
    }
    const char* written = replaces ? tempName : target;
    const HANDLE file = CreateFileA(written, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const long error = storage::LastError();
        DeleteFileA(written);
        tempName[0] = '\0';
        ReportFileError(g_givenName, error, kReportRead);
        return error;
    }
    *handle = file;
    return 0;
}

// A failed rename leaves the old file as it was and removes the temporary
// file, so the drawing is not kept under the temporary name: the user sees a
// write error of the name with its code and can save again.
long CloseSafeWrite(HANDLE handle, const char* name, const char* tempName, long writeError) {
    long closeError = writeError == 0 ? FlushFile(handle) : 0;
    const long closed = CloseFile(handle);
    if (closeError == 0) {
        closeError = closed;
    }
    const bool hasTemporary = tempName != nullptr && tempName[0] != '\0';
    char target[kPathSize];
    if (!storage::ResolveGivenName(name) && closeError == 0 && writeError == 0) {
        closeError = ERROR_FILENAME_EXCED_RANGE;
    }
    memcpy(target, g_fullPath, sizeof target);
    if (writeError == 0 && closeError == 0) {
        const long renameError = hasTemporary ? RenameOver(tempName, target) : 0;
        if (renameError == 0) {
            FlushFolderOf(target);
            return 0;
        }
        DeleteFileA(tempName);
        ReportFileError(name, renameError, kReportWrite);
        return renameError;
    }
    if (hasTemporary) {
        DeleteFileA(tempName);
    } else if (target[0] != '\0') {
        DeleteFileA(target);
    }
    if (closeError == 0) {
        return 0;
    }
    ReportFileError(name, closeError, kReportWrite);
    return closeError;
}
