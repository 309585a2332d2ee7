// Multimedia: the millisecond clock and its period, and wave playback.
//
// timeGetTime reads the backend's clock, the same one as GetTickCount; the
// period calls only count, since Linux sleeps are already fine-grained.
//
// PlaySoundA plays a wave file, a wave image in memory or a wave resource of a
// module through the backend's audio sink, one sound at a time: every call but
// a refused SND_NOSTOP one stops the sound that plays, and PlaySoundA(NULL, ...)
// only stops. SND_SYNC returns when the sound has finished (on the headless
// backend the virtual clock moves by the sound's length); SND_ASYNC returns at
// once; SND_LOOP with SND_ASYNC repeats until the next call. File names are
// Windows paths. sndPlaySoundA is PlaySoundA without a module. Wave files are
// checked before they are read: see platform/multimedia/wave.h for the formats.
// Every call is logged as "sound PATH FLAGS": the file's Windows path as the
// program named it, normalised to its drive-letter form ("<memory>" for an
// image in memory, "<resource N>" or "<resource NAME>" for a resource, "-" for
// no sound at all) and the flags in hexadecimal.
//
// Left out: sound aliases (SND_ALIAS, SND_ALIAS_ID and names looked up in the
// registry), SND_APPLICATION, and the system's default sound: without
// SND_NODEFAULT a sound that cannot be played is silent all the same.
//
// Differs from Windows: SND_LOOP without SND_ASYNC fails and stops nothing;
// SND_PURGE stops whatever plays whatever the name; SND_NOWAIT is accepted and
// never matters, since the sink is never busy. A wave resource is looked up
// under the type named "WAVE" and then, since resource packs number their
// types, under type 32003. Wave images in memory are bounded by their RIFF
// header and, when they lie in a global or heap block, by that block's size.
#pragma once

#include "platform/win/types.h"

typedef UINT MMRESULT;
#define TIMERR_NOERROR 0
#define TIMERR_NOCANDO 97

DWORD WINAPI timeGetTime(void);
MMRESULT WINAPI timeBeginPeriod(UINT period);
MMRESULT WINAPI timeEndPeriod(UINT period);

#define SND_SYNC 0x0000
#define SND_ASYNC 0x0001
#define SND_NODEFAULT 0x0002
#define SND_MEMORY 0x0004
#define SND_LOOP 0x0008
#define SND_NOSTOP 0x0010
#define SND_PURGE 0x0040
#define SND_APPLICATION 0x0080
#define SND_NOWAIT 0x00002000L
#define SND_ALIAS 0x00010000L
#define SND_ALIAS_ID 0x00110000L
#define SND_FILENAME 0x00020000L
#define SND_RESOURCE 0x00040004L

BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags);
BOOL WINAPI sndPlaySoundA(LPCSTR sound, UINT flags);
