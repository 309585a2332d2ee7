#include "shell/sound.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "shell/memory.h"
#include "shell/messages.h"
#include "storage/files.h"

char g_soundsFolder[MAX_PATH] = "Sons";
char g_cdSoundsFolder[MAX_PATH] = "D:\\Datas\\CDSons";

namespace {

constexpr int kCannotLoadSound = 27;

bool IsAbsolute(const char* folder) {
    if (folder[0] == '\\' || folder[0] == '/') return true;
    return std::isalpha(static_cast<unsigned char>(folder[0])) && folder[1] == ':';
}

// Clears the base folder while a sound is found in an absolute folder, which
// the file layer would otherwise put behind it. Both the base folder and the
// one that RestoreBaseFolder would bring back are as before afterwards.
class BaseFolderScope {
public:
    explicit BaseFolderScope(const char* folder) : m_active(IsAbsolute(folder)) {
        if (!m_active) return;
        std::snprintf(m_base, sizeof m_base, "%s", BaseFolder());
        RestoreBaseFolder();
        std::snprintf(m_saved, sizeof m_saved, "%s", BaseFolder());
        SetBaseFolder("");
    }
    ~BaseFolderScope() {
        if (!m_active) return;
        SetBaseFolder(m_saved);
        SetBaseFolder(m_base);
    }
    BaseFolderScope(const BaseFolderScope&) = delete;
    BaseFolderScope& operator=(const BaseFolderScope&) = delete;

private:
    bool m_active;
    char m_base[kPathSize] = "";
    char m_saved[kPathSize] = "";
};

BOOL PlayFromFolder(const char* folder, const char* name, DWORD flags) {
    BaseFolderScope scope(folder);
    const char* path = BuildPath(name, folder, "WAV");
    return PlaySoundA(path, nullptr, flags | SND_NODEFAULT);
}

}  // namespace

BOOL PlaySoundFile(const char* name, DWORD flags) {
    return PlayFromFolder(g_soundsFolder, name, flags);
}

BOOL PlayCdSound(const char* name, DWORD flags) {
    return PlayFromFolder(g_cdSoundsFolder, name, flags);
}

Sound* LoadSound(const char* name) {
    long error = ERROR_FILENAME_EXCED_RANGE;
    HGLOBAL data = nullptr;
    {
        BaseFolderScope scope(g_soundsFolder);
        if (BuildPath(name, g_soundsFolder, "WAV")[0] != '\0') {
            // The name as composed, before the base folder: the file layer
            // puts the base folder in front of it again as it opens it.
            char composed[kPathSize];
            std::memcpy(composed, g_givenName, sizeof composed);
            data = ReadWholeFileGlobal(composed, 0, kWholeFile, nullptr, &error);
        }
    }
    if (data == nullptr) {
        ShowMessageWithText(kCannotLoadSound, name, kFatal, error);
        return nullptr;
    }
    auto* sound = static_cast<Sound*>(AllocBlockOrFail(sizeof(Sound), 0));
    if (sound == nullptr) {
        GlobalFree(data);
        return nullptr;
    }
    *sound = Sound{kSoundInMemory, data, nullptr};
    return sound;
}

BOOL PlayLoadedSound(Sound* sound, DWORD flags) {
    if (sound == nullptr) return FALSE;
    if (sound->locked == nullptr) sound->locked = LockGlobal(sound->data);
    if (sound->locked == nullptr) return FALSE;
    return PlaySoundA(static_cast<LPCSTR>(sound->locked), nullptr,
                      flags | SND_MEMORY | SND_NODEFAULT);
}

void StopSound(Sound* sound) {
    PlaySoundA(nullptr, nullptr, SND_PURGE);
    if (sound != nullptr && sound->locked != nullptr) {
        GlobalUnlock(sound->data);
        sound->locked = nullptr;
    }
}

void FreeSound(Sound* sound) {
    if (sound == nullptr) return;
    if (sound->locked != nullptr) GlobalUnlock(sound->data);
    GlobalFree(sound->data);
    FreeBlock(sound);
}
