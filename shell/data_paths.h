// The program's folders: the program folder, the data root on the program's
// CD, the default pictures folder, and the drive and folder helpers that find
// and check them.
#pragma once

#include "platform/windows.h"

// The volume label of the program's CD.
constexpr char kCdVolumeLabel[] = "PALMIRON";

// The folder of the program file, without a trailing backslash.
extern char g_programFolder[MAX_PATH];
// The CD's data folder: drive letter, colon, "\Datas".
extern char g_dataRoot[MAX_PATH];

// Make the data root, or the program folder, the base folder. Every use of
// the data root is bracketed by these two; between uses the base folder is
// the program folder.
void UseDataRoot();
void UseProgramFolder();

// Finds the CD and its "Datas" folder, asking for them until they are there:
// message 52 with the folder where the data was looked for, or message 40
// when no drive tells. False when the user cancelled. Sets the program folder
// and the data root and leaves the program folder as the base folder.
bool LocateDataRoot();

// The folder, as the desktop names it, of the first CD drive that is not
// ready, or labelled as the program's CD but without its "Datas" folder (the
// folder then ends with "/Datas"): into folder (MAX_PATH bytes). False when
// every CD drive is fine or none tells where it stands.
bool FindMissingDataFolder(char* folder);

// Looks through drives C to Z for a CD whose volume name is label, ignoring
// case. On success root receives "X:" (at least 3 bytes).
bool FindVolume(const char* label, char* root);

// The Windows drive type of a path's drive: 4 for a network path, -1 for no
// such drive, 10 for a floppy (removable A or B).
int GetDriveKind(const char* path);
// The same for drive index 0 (A) to 25 (Z); -1 outside.
int GetDriveKindByIndex(int index);

// Makes every missing folder of an absolute path. 0, or the system error of
// the first level that could not be made.
long CreateFolderPath(const char* path);
// Writes and removes a small file in the folder. 0, or the first system error.
long IsFolderWritable(const char* folder);

// Where drawings go: the desktop's pictures folder (SHGetFolderPathA) with
// "\Tavelin" added, into out (MAX_PATH bytes). False, with out empty, when
// the desktop has none or the path would not fit.
bool DefaultPicturesFolder(char* out);
