// The child's saved drawings: the list of the pictures folder's BMP files,
// newest first, the current picture that links a load to the next save, and
// how a typed name becomes a file name.
#pragma once

#include <cstdint>

#include "platform/windows.h"
#include "storage/files.h"

constexpr int kMaxSavedPictures = 256;
constexpr int kMaxPictureName = 250;
constexpr char kPictureExtension[] = "BMP";

// A last-write time in the fields of a SYSTEMTIME.
struct WrittenTime {
    WORD year;
    WORD month;
    WORD dayOfWeek;
    WORD day;
    WORD hour;
    WORD minute;
    WORD second;
    WORD milliseconds;
};

struct SavedPicture {
    char name[256];
    DWORD attributes;
    DWORD size;
    WORD time;  // MS-DOS form
    WORD date;
    WrittenTime written;
    uint64_t writeTicks;  // the last-write time to the 100 ns, for the order
};

// The list made by ListSavedPictures, its count and one unreadable mark a
// picture; both live until FreeSavedPictures.
extern SavedPicture* g_savedPictures;
extern int g_savedPictureCount;
extern uint8_t* g_unreadableMarks;
// The loading dialog's selection, kept from one opening to the next.
extern int g_selectedPicture;

// The current picture: the name shown and offered for saving, the file name
// as given to the file layer, and whether it came by a path of its own.
extern char g_currentPictureName[kMaxPictureName + 1];
extern char g_currentFileName[kPathSize];
extern int g_givenByPath;

// Lists the kMaxSavedPictures most recently written drawings of the
// pictures folder, newest first.
void ListSavedPictures();
void FreeSavedPictures();
bool IsUnreadable(int index);
void MarkUnreadable(int index);

// Converts a file time (UTC) to the MS-DOS date and time and the written
// time; false, with zero fields, outside the years 1980 to 2107.
bool ConvertFileTime(const FILETIME& time, WORD& dosDate, WORD& dosTime, WrittenTime& written);

// The typed name (or the default name, or "Default") made fit for a file
// name, with a dot and the extension, into out (kPathSize bytes). With unique
// set, digits are added until no file of that name exists in the folder the
// drawing is written to: the pictures folder when it is set.
void MakePictureFileName(const char* typed, const char* extension, int unique, char* out,
                         const char* defaultName);

// Makes folder the base folder for its lifetime when active; both the base
// folder and the one that RestoreBaseFolder brings back are as before
// afterwards, so scopes may nest.
class BaseFolderChange {
public:
    BaseFolderChange(const char* folder, bool active);
    ~BaseFolderChange();
    BaseFolderChange(const BaseFolderChange&) = delete;
    BaseFolderChange& operator=(const BaseFolderChange&) = delete;

private:
    bool m_active;
    char m_current[kPathSize] = "";
    char m_saved[kPathSize] = "";
};

// The pictures folder as base folder, when it is set.
class PicturesFolderScope : public BaseFolderChange {
public:
    PicturesFolderScope();
};

// Where the current drawing's file is read or written: no base folder for a
// drawing given by a path of its own, else the pictures folder when it is set.
class DrawingFolderScope : public BaseFolderChange {
public:
    explicit DrawingFolderScope(int givenByPath);
};
