// Sounds by name: files played straight from the sounds folders, and sounds
// loaded once into memory and played from there, possibly in a loop (the
// tools' continuous sounds). One sound plays at a time; each new one cuts the
// one before.
#pragma once

#include "platform/windows.h"

// The program's sounds folder and the CD's sounds folder (voices and effect
// sounds). The configuration sets them; until then they are "Sons", resolved
// against the base folder like any relative name, and the data drive's
// "Datas\CDSons". A folder given with a drive letter or a leading separator is
// used as it is, whatever the base folder.
extern char g_soundsFolder[MAX_PATH];
extern char g_cdSoundsFolder[MAX_PATH];

// The one kind of loaded sound: the file's bytes in a movable global block.
constexpr int kSoundInMemory = 1;

// A loaded sound. Its data is locked at most once: PlayLoadedSound locks it
// when locked is null and keeps it locked while it may play; only StopSound
// and FreeSound unlock it.
struct Sound {
    int kind = kSoundInMemory;
    HGLOBAL data = nullptr;
    void* locked = nullptr;
};

// Plays "folder\name" with the extension made "WAV" (added when the name has
// none), adding SND_NODEFAULT to flags. A missing or bad file plays nothing
// and shows nothing; the result is PlaySoundA's.
BOOL PlaySoundFile(const char* name, DWORD flags);
BOOL PlayCdSound(const char* name, DWORD flags);

// Reads the named file of the sounds folder whole into memory. A file that
// cannot be read is fatal (message 27 with the name, the file error as code).
Sound* LoadSound(const char* name);
// Plays a loaded sound from memory (SND_MEMORY and SND_NODEFAULT are added).
BOOL PlayLoadedSound(Sound* sound, DWORD flags);
// Stops whatever plays; then, for a given sound, unlocks its data.
void StopSound(Sound* sound);
void FreeSound(Sound* sound);
