// PlaySoundA and sndPlaySoundA: one sound at a time through the backend's
// audio sink, from a wave file, a wave image in memory or a wave resource.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/kernel/paths.h"
#include "platform/multimedia/wave.h"
#include "platform/windows.h"

namespace {

// The type number under which resource packs keep wave resources.
constexpr WORD kWaveResourceType = 32003;

// After a synchronous sound's length has gone by, the device may still hold
// its last buffer; the wait for it is cut off after this long.
constexpr DWORD kDrainSliceMs = 5;
constexpr int kDrainSlices = 40;

// The bytes of a sound and, for a file, the buffer that holds them.
struct WaveBytes {
    std::vector<uint8_t> owned;
    std::span<const uint8_t> bytes;
};

bool IsResource(DWORD flags) { return (flags & SND_RESOURCE) == SND_RESOURCE; }
bool IsMemory(DWORD flags) { return !IsResource(flags) && (flags & SND_MEMORY) != 0; }

std::string Label(LPCSTR sound, DWORD flags) {
    if (sound == nullptr) return "-";
    if (IsMemory(flags)) return "<memory>";
    if (IsResource(flags)) {
        if (IS_INTRESOURCE(sound)) {
            return "<resource " + std::to_string(reinterpret_cast<ULONG_PTR>(sound)) + ">";
        }
        return std::string("<resource ") + sound + ">";
    }
    DWORD error = 0;
    const auto resolved = platform::ResolvePath(sound, error);
    return resolved ? resolved->windowsPath : std::string(sound);
}

void LogCall(LPCSTR sound, DWORD flags) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%lx", static_cast<unsigned long>(flags));
    platform::LogLine("sound " + Label(sound, flags) + " " + hex);
}

// Reads a regular file of at most kMaxWaveBytes; its size is checked before
// anything is allocated.
bool ReadRegularFile(const std::string& linuxPath, std::vector<uint8_t>& out) {
    const int fd = open(linuxPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
              static_cast<uint64_t>(info.st_size) <= platform::kMaxWaveBytes;
    if (ok) {
        out.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (ok && done < out.size()) {
            const ssize_t got = read(fd, out.data() + done, out.size() - done);
            if (got > 0) done += static_cast<size_t>(got);
            else ok = got < 0 && errno == EINTR;
        }
    }
    close(fd);
    return ok;
}

bool FileBytes(LPCSTR name, WaveBytes& wave) {
    const std::string linuxPath = platform::ToLinuxPath(name);
    if (linuxPath.empty() || !ReadRegularFile(linuxPath, wave.owned)) return false;
    wave.bytes = wave.owned;
    return true;
}

// A wave image in memory ends where its RIFF header says, and never beyond
// the global or heap block it lies in.
bool MemoryBytes(LPCSTR image, WaveBytes& wave) {
    if (image == nullptr) return false;
    size_t available = platform::kMaxWaveBytes;
    const DWORD savedError = GetLastError();
    if (const HGLOBAL block = GlobalHandle(image)) {
        available = std::min<size_t>(available, GlobalSize(block));
    }
    SetLastError(savedError);
    const auto* start = reinterpret_cast<const uint8_t*>(image);
    const auto size = platform::WaveImageSize(start, available);
    if (!size) return false;
    wave.bytes = std::span<const uint8_t>(start, std::min(*size, available));
    return true;
}

bool ResourceBytes(HMODULE module, LPCSTR name, WaveBytes& wave) {
    HRSRC found = FindResourceA(module, name, "WAVE");
    if (found == nullptr) found = FindResourceA(module, name, MAKEINTRESOURCEA(kWaveResourceType));
    if (found == nullptr) return false;
    const HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) return false;
    wave.bytes = std::span<const uint8_t>(static_cast<const uint8_t*>(data),
                                          SizeofResource(module, found));
    return true;
}

bool Fetch(LPCSTR sound, HMODULE module, DWORD flags, WaveBytes& wave) {
    if (IsResource(flags)) return ResourceBytes(module, sound, wave);
    if (IsMemory(flags)) return MemoryBytes(sound, wave);
    return FileBytes(sound, wave);
}

void WaitUntilPlayed(uint32_t durationMs) {
    Sleep(durationMs);
    platform::AudioSink& audio = *platform::CurrentBackend().audio;
    for (int i = 0; i < kDrainSlices && audio.Playing(); ++i) Sleep(kDrainSliceMs);
}

}  // namespace

BOOL WINAPI PlaySoundA(LPCSTR sound, HMODULE module, DWORD flags) {
    LogCall(sound, flags);
    platform::AudioSink& audio = *platform::CurrentBackend().audio;
    if (sound == nullptr || (flags & SND_PURGE) != 0) {
        audio.Stop();
        return TRUE;
    }
    if ((flags & SND_NOSTOP) != 0 && audio.Playing()) return FALSE;
    const bool loop = (flags & SND_LOOP) != 0;
    const bool async = (flags & SND_ASYNC) != 0;
    if (loop && !async) return FALSE;

    audio.Stop();
    // Aliases name sounds in the registry, which this layer does not have.
    if ((flags & SND_ALIAS) != 0) return FALSE;
    WaveBytes wave;
    if (!Fetch(sound, module, flags, wave)) return FALSE;
    platform::WaveError error;
    const auto parsed = platform::ParseWave(wave.bytes, error);
    if (!parsed) return FALSE;
    std::vector<int16_t> samples = platform::ConvertToDevice(*parsed);
    const uint32_t durationMs = platform::DeviceDurationMs(samples.size());
    audio.Play(std::move(samples), loop);
    if (!async) WaitUntilPlayed(durationMs);
    return TRUE;
}

BOOL WINAPI sndPlaySoundA(LPCSTR sound, UINT flags) {
    const DWORD kept = SND_ASYNC | SND_NODEFAULT | SND_MEMORY | SND_LOOP | SND_NOSTOP;
    return PlaySoundA(sound, nullptr, flags & kept);
}
