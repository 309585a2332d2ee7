// The program's file layer: every file is named, opened, read and written
// through it. Names are resolved against a base folder; operations return 0
// or an error code (a Windows error, kShortRead when a read delivered fewer
// bytes than asked for, kNoMemory when a whole-file read found no memory);
// ReportFileError turns a code into the fitting numbered message.
#pragma once

#include <cstddef>

#include "platform/windows.h"

constexpr int kPathSize = 260;
constexpr long kShortRead = 38;
constexpr long kNoMemory = -48;

// A count for ReadBlock, and an end for the whole-file reads: the whole file.
constexpr DWORD kWholeFile = 0xFFFFFFFF;

// Open flags: read access, or read and write access.
constexpr int kOpenRead = 1;
constexpr int kOpenReadWrite = 3;

// How a file error happened, for ReportFileError: the low two bits say reading
// or writing; kReportFatal or kReportRetry change the kind of message.
constexpr int kReportRead = 1;
constexpr int kReportWrite = 2;
constexpr int kReportFatal = 0x100;
constexpr int kReportRetry = 0x200;

// The last name given to a resolving operation, as given (for messages), and
// its resolved form (for the system calls). Every resolving operation
// overwrites both.
extern char g_givenName[kPathSize];
extern char g_fullPath[kPathSize];

// The base folder. A non-empty base folder is put in front of every relative
// name with a "\" between, whatever the name holds. SetBaseFolder keeps the
// previous value in a single second slot that RestoreBaseFolder puts back, so
// such pairs never nest.
void SetBaseFolder(const char* folder);
void RestoreBaseFolder();
const char* BaseFolder();

// Writes the resolved name into out (kPathSize bytes). Returns false, with
// out empty, when the result would not fit.
bool ResolveName(const char* name, char* out);

// Resolves "folder\name" (or name alone when folder is null or empty) with
// the extension set (when not null) into g_fullPath and returns it. The
// result is empty when the path would not fit, so that opening it fails.
const char* BuildPath(const char* name, const char* folder, const char* extension);

// Path helpers working in place on buffers of size bytes. SetExtension
// replaces the extension of the file name part, adds one when there is none
// and removes it when extension is empty; it returns false and leaves the
// path alone when the result would not fit.
bool SetExtension(char* path, const char* extension, size_t size = kPathSize);
const char* FileNamePart(const char* path);
char* FileNamePart(char* path);
void StripTrailingSeparator(char* path);

// The file name part without its extension, cut to size - 1 characters.
// Returns 0, or the full length + 1 when it had to be cut.
size_t BaseName(const char* path, char* out, size_t size);

// Bytes of name in the encoding of the names on disk (UTF-8).
size_t OnDiskNameLength(const char* name);
// The longest name, in bytes on disk, that the volume of the resolved path
// takes (255 when it does not say).
size_t MaxNameLength(const char* fullPath);
// True when the name, resolved against the base folder, fits the path buffers
// and its file name part fits the volume's limit on disk.
bool NameFits(const char* name);

// The folder of the program's executable, without a trailing "\", into out
// (kPathSize bytes).
void GetProgramFolder(char* out);

// Existence tests. FileExists and FindWithAttributes take a resolved name or
// pattern; the Relative forms resolve the name first.
bool FileExists(const char* fullPath);
bool FindWithAttributes(const char* pattern, DWORD attributes);
bool DirectoryExists(const char* fullPath);
bool RelativeFileExists(const char* name);
bool RelativeDirectoryExists(const char* name);

[[nodiscard]] long DeleteRelativeFile(const char* name);

// Opens an existing file without sharing (flags kOpenRead or
// kOpenReadWrite); the handle is null on failure. Shows nothing.
[[nodiscard]] long OpenNamedFile(const char* name, HANDLE* handle, int flags);
[[nodiscard]] long CloseFile(HANDLE handle);

// Reads *count bytes (the file's size when *count is kWholeFile); *count
// becomes the number read, and a short read returns kShortRead.
[[nodiscard]] long ReadBlock(HANDLE handle, DWORD* count, void* buffer);
[[nodiscard]] long WriteBlock(HANDLE handle, DWORD* count, const void* buffer);
// WriteBlock; a failure is shown as a write error of g_givenName.
[[nodiscard]] long WriteBlockReporting(HANDLE handle, DWORD count, const void* buffer);

[[nodiscard]] long TellFile(HANDLE handle, DWORD* position);
// Moves from the start (FILE_BEGIN) or the current position (FILE_CURRENT);
// *position becomes the new position.
[[nodiscard]] long SeekFile(HANDLE handle, long* position, DWORD method);
[[nodiscard]] long FileSize(HANDLE handle, DWORD* size);

// Safe replacement of a file. OpenForSafeWrite opens a new, empty file for
// writing: when name exists, a temporary "TempName.n" in the same folder (the
// first n free), whose resolved name goes into tempName (kPathSize bytes),
// else the file itself, tempName then empty. After writing, CloseSafeWrite
// flushes and closes the file; when neither that nor the writing (writeError)
// failed, it renames the temporary over the old file in one step and flushes
// the folder. Otherwise it removes what was written and leaves the old file
// as it was: a failed flush, close or rename is shown as a write error of
// name and returned; a failed write is left to the caller (0 is returned).
[[nodiscard]] long OpenForSafeWrite(const char* name, char* tempName, HANDLE* handle);
[[nodiscard]] long CloseSafeWrite(HANDLE handle, const char* name, const char* tempName,
                                  long writeError);

// A new block holding bytes from to to of a file (to kWholeFile or 0: its
// end), from the process heap (free with FreeBlock) or as a movable global
// block. Null on failure; *size (to - from) and *error are set when asked for.
void* ReadWholeFile(const char* name, DWORD from, DWORD to, DWORD* size, long* error);
HGLOBAL ReadWholeFileGlobal(const char* name, DWORD from, DWORD to, DWORD* size, long* error);

// Shows the message that fits a file error (how: kReportRead or kReportWrite,
// with kReportFatal or kReportRetry) and returns what the message returns.
bool ReportFileError(const char* name, long error, int how);

// Makes the next write, flush or rename of a safe save fail with error, once,
// for tests that check that a failed save keeps the old file. SaveStep::kNone
// turns it off.
enum class SaveStep { kNone, kWrite, kFlush, kRename };
void FailSaveStepForTesting(SaveStep step, DWORD error);
