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

// The order of the list: newer first by the MS-DOS date and time, then by the
// exact time, then by name, so that equal keys still sort one way.
bool Newer(const SavedPicture& a, const SavedPicture& b) {
    const uint32_t keyA = (static_cast<uint32_t>(a.date) << 16) | a.time;
    const uint32_t keyB = (static_cast<uint32_t>(b.date) << 16) | b.time;
    if (keyA != keyB) return keyA > keyB;
    if (a.writeTicks != b.writeTicks) return a.writeTicks > b.writeTicks;
    return strcmp(a.name, b.name) < 0;
}

bool HasExtension(const char* name, const char* extension) {
    const char* dot = strrchr(name, '.');
    return dot != nullptr && strcasecmp(dot + 1, extension) == 0;
}

SavedPicture EntryOf(const WIN32_FIND_DATAA& found) {
    SavedPicture entry{};
    snprintf(entry.name, sizeof entry.name, "%.*s", static_cast<int>(sizeof entry.name - 1),
             found.cFileName);
    entry.attributes = found.dwFileAttributes;
    entry.size = found.nFileSizeLow;
    ConvertFileTime(found.ftLastWriteTime, entry.date, entry.time, entry.written);
    entry.writeTicks = (static_cast<uint64_t>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                       found.ftLastWriteTime.dwLowDateTime;
    return entry;
}

// Keeps the newest drawings: the list fills up, then stays a heap with the
// oldest kept entry on top, which a newer file replaces.
void TakeFile(const WIN32_FIND_DATAA& found) {
    SavedPicture* begin = g_savedPictures;
    if (g_savedPictureCount < kMaxSavedPictures) {
        begin[g_savedPictureCount++] = EntryOf(found);
        if (g_savedPictureCount == kMaxSavedPictures) {
            std::make_heap(begin, begin + kMaxSavedPictures, Newer);
        }
        return;
    }
    const SavedPicture entry = EntryOf(found);
    if (!Newer(entry, begin[0])) return;
    std::pop_heap(begin, begin + kMaxSavedPictures, Newer);
    begin[kMaxSavedPictures - 1] = entry;
    std::push_heap(begin, begin + kMaxSavedPictures, Newer);
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
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(g_savedPictures, g_savedPictures + g_savedPictureCount, Newer);
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

namespace {

// Forms "name.extension" into out and tells whether it fits the pictures
// folder: the path buffers and the volume's limit for a name on disk.
bool FormName(const char* name, int length, const char* extension, char* out) {
    snprintf(out, kPathSize, "%.*s.%s", length, name, extension);
    return NameFits(out);
}

// Drops characters from the end of name until "name.extension" fits, and
// the trailing spaces that this leaves; an empty name becomes "_".
void ShortenToFit(char* name, const char* extension, char* out) {
    int length = static_cast<int>(strlen(name));
    while (length > 1 && !FormName(name, length, extension, out)) --length;
    while (length > 0 && name[length - 1] == ' ') --length;
    if (length == 0) name[length++] = '_';
    name[length] = '\0';
    snprintf(out, kPathSize, "%s.%s", name, extension);
}

}  // namespace

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
    // The drawing is written into the pictures folder: its limits count, and
    // no other folder can tell whether the name is free. A name too long for
    // the folder (accents take two bytes on disk) is shortened first.
    PicturesFolderScope folder;
    ShortenToFit(name, extension, out);
    if (!unique) return;
    for (int n = 0; RelativeFileExists(out); ++n) {
        char number[16];
        const int digits = snprintf(number, sizeof number, "%d", n);
        int at = std::min(static_cast<int>(strlen(name)), limit - digits);
        for (;;) {
            snprintf(name + at, sizeof name - at, "%s", number);
            if (at == 0 || FormName(name, static_cast<int>(strlen(name)), extension, out)) break;
            --at;
        }
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
