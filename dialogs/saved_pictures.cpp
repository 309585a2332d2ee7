#include "dialogs/saved_pictures.h"

#include <strings.h>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "dialogs/dialogs.h"
#include "graphics/sheet.h"
#include "shell/configuration.h"
#include "shell/memory.h"
#include "storage/picture_files.h"

SavedPicture* g_savedPictures = nullptr;
int g_savedPictureCount = 0;
uint8_t* g_unreadableMarks = nullptr;
int g_selectedPicture = -1;

char g_currentPictureName[kMaxPictureName + 1] = "";
char g_currentFileName[kPathSize] = "";
int g_givenByPath = 0;

namespace {

constexpr char kForbidden[] = "\\\"<>:/|*?.";

// The sort key: the date in the high half, the time in the low half.
uint32_t SortKey(const SavedPicture& picture) {
    return (static_cast<uint32_t>(picture.date) << 16) | picture.time;
}

bool HasExtension(const char* name, const char* extension) {
    const char* dot = strrchr(name, '.');
    return dot != nullptr && strcasecmp(dot + 1, extension) == 0;
}

void TakeFile(const WIN32_FIND_DATAA& found) {
    SavedPicture& entry = g_savedPictures[g_savedPictureCount++];
    snprintf(entry.name, sizeof entry.name, "%.*s", static_cast<int>(sizeof entry.name - 1),
             found.cFileName);
    entry.attributes = found.dwFileAttributes;
    entry.size = found.nFileSizeLow;
    ConvertFileTime(found.ftLastWriteTime, entry.date, entry.time, entry.written);
}

// Days since 1970-01-01 to a civil date (the proleptic Gregorian calendar).
void CivilFromDays(int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

BaseFolderChange::BaseFolderChange(const char* folder, bool active) : m_active(active) {
    if (!m_active) return;
    snprintf(m_current, sizeof m_current, "%s", BaseFolder());
    RestoreBaseFolder();
    snprintf(m_saved, sizeof m_saved, "%s", BaseFolder());
    SetBaseFolder(m_current);
    SetBaseFolder(folder);
}

BaseFolderChange::~BaseFolderChange() {
    if (!m_active) return;
    SetBaseFolder(m_saved);
    SetBaseFolder(m_current);
}

PicturesFolderScope::PicturesFolderScope()
    : BaseFolderChange(g_picturesFolder, g_picturesFolder[0] != '\0') {}

DrawingFolderScope::DrawingFolderScope(int givenByPath)
    : BaseFolderChange(givenByPath ? "" : g_picturesFolder,
                       givenByPath != 0 || g_picturesFolder[0] != '\0') {}

bool ConvertFileTime(const FILETIME& time, WORD& dosDate, WORD& dosTime, WrittenTime& written) {
    dosDate = 0;
    dosTime = 0;
    written = WrittenTime{};
    const uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    const int64_t seconds = static_cast<int64_t>(ticks / 10000000) - 11644473600LL;
    const int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const int64_t inDay = seconds - days * 86400;
    int year, month, day;
    CivilFromDays(days, year, month, day);
    if (year < 1980 || year > 2107) return false;
    const int hour = static_cast<int>(inDay / 3600);
    const int minute = static_cast<int>(inDay / 60 % 60);
    const int second = static_cast<int>(inDay % 60);
    dosDate = static_cast<WORD>(((year - 1980) << 9) | (month << 5) | day);
    dosTime = static_cast<WORD>((hour << 11) | (minute << 5) | (second / 2));
    written = WrittenTime{static_cast<WORD>(year),
                          static_cast<WORD>(month),
                          static_cast<WORD>((days % 7 + 11) % 7),  // 1970-01-01 was a Thursday
                          static_cast<WORD>(day),
                          static_cast<WORD>(hour),
                          static_cast<WORD>(minute),
                          static_cast<WORD>(second),
                          static_cast<WORD>(ticks / 10000 % 1000)};
    return true;
}

void ListSavedPictures() {
    PicturesFolderScope folder;
    FreeSavedPictures();
    g_savedPictures = static_cast<SavedPicture*>(
        AllocBlockOrFail(sizeof(SavedPicture) * kMaxSavedPictures, GMEM_ZEROINIT));
    g_unreadableMarks =
        static_cast<uint8_t*>(AllocBlockOrFail(kMaxSavedPictures / 8, GMEM_ZEROINIT));
    if (g_savedPictures == nullptr || g_unreadableMarks == nullptr) return;
    char pattern[16];
    snprintf(pattern, sizeof pattern, "*.%s", kPictureExtension);
    char fullPattern[kPathSize];
    if (!ResolveName(pattern, fullPattern)) return;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(fullPattern, &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            HasExtension(found.cFileName, kPictureExtension)) {
            TakeFile(found);
        }
    } while (g_savedPictureCount < kMaxSavedPictures && FindNextFileA(search, &found));
    FindClose(search);
    std::sort(g_savedPictures, g_savedPictures + g_savedPictureCount,
              [](const SavedPicture& a, const SavedPicture& b) { return SortKey(a) > SortKey(b); });
}

void FreeSavedPictures() {
    FreeBlock(g_savedPictures);
    FreeBlock(g_unreadableMarks);
    g_savedPictures = nullptr;
    g_unreadableMarks = nullptr;
    g_savedPictureCount = 0;
}

bool IsUnreadable(int index) {
    return g_unreadableMarks != nullptr && index >= 0 && index < kMaxSavedPictures &&
           (g_unreadableMarks[index / 8] & (1 << (index % 8))) != 0;
}

void MarkUnreadable(int index) {
    if (g_unreadableMarks == nullptr || index < 0 || index >= kMaxSavedPictures) return;
    g_unreadableMarks[index / 8] |= static_cast<uint8_t>(1 << (index % 8));
}

void MakePictureFileName(const char* typed, const char* extension, int unique, char* out,
                         const char* defaultName) {
    const int limit = 255 - static_cast<int>(strlen(extension));
    const char* source = typed != nullptr && typed[0] != '\0' ? typed
                         : defaultName != nullptr             ? defaultName
                                                              : "Default";
    char name[256];
    snprintf(name, sizeof name, "%.*s", limit, source);
    int length = static_cast<int>(strlen(name));
    while (length > 0 && name[length - 1] == ' ')
        name[--length] = '\0';
    if (length == 0) snprintf(name, sizeof name, "_");
    for (char* c = name; *c != '\0'; ++c) {
        if (static_cast<unsigned char>(*c) < 32 || strchr(kForbidden, *c) != nullptr) *c = '_';
    }
    snprintf(out, kPathSize, "%s.%s", name, extension);
    if (!unique) return;
    // The drawing is written into the pictures folder: no other folder can
    // tell whether the name is free.
    PicturesFolderScope folder;
    for (int n = 0; RelativeFileExists(out); ++n) {
        char number[16];
        const int digits = snprintf(number, sizeof number, "%d", n);
        const int at = std::min(static_cast<int>(strlen(name)), limit - digits);
        snprintf(name + at, sizeof name - at, "%s", number);
        snprintf(out, kPathSize, "%s.%s", name, extension);
    }
}

int LoadDrawing(const char* fileName, int givenByPath) {
    long error;
    {
        DrawingFolderScope folder(givenByPath);
        error = LoadPictureIntoBitmap(fileName, g_scratchPicture);
    }
    if (error != 0) {
        ReportFileError(fileName, error, kReportRead);
        return 0;
    }
    BaseName(fileName, g_currentPictureName, sizeof g_currentPictureName);
    snprintf(g_currentFileName, sizeof g_currentFileName, "%s", fileName);
    g_givenByPath = givenByPath;
    return 1;
}

void ForgetCurrentPicture() {
    g_currentPictureName[0] = '\0';
    g_currentFileName[0] = '\0';
    g_givenByPath = 0;
}
