// Feeds untrusted bytes to the picture file reader as a file on disk, and
// what it accepts to the drawing into a bitmap. A refused file must leave the
// bitmap as it was.
#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/backend/backend.h"
#include "platform/backend/headless/headless.h"
#include "platform/gdi/dc.h"
#include "platform/kernel/paths.h"
#include "platform/options.h"
#include "platform/windows.h"
#include "storage/files.h"
#include "storage/picture_files.h"

namespace {

// The file the input goes into: in memory when /dev/shm is there.
const std::string& InputPath() {
    static const std::string path = [] {
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(folder) + "/tavelin-bmp-fuzz-" + std::to_string(getpid()) + ".bmp";
    }();
    return path;
}

bool WriteInput(const uint8_t* data, size_t size) {
    const int fd = open(InputPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) return false;
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    close(fd);
    return done == size;
}

void RemoveInput() { unlink(InputPath().c_str()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string name = [] {
        platform::Options options;
        platform::InstallBackend(platform::MakeHeadlessBackend(options));
        platform::gdi::InitDisplay(64, 64, 32);
        atexit(RemoveInput);
        return platform::ToWindowsPath(InputPath());
    }();
    static HBITMAP target = [] {
        HDC screen = GetDC(nullptr);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
        ReleaseDC(nullptr, screen);
        return bitmap;
    }();
    if (!WriteInput(data, size)) return 0;

    long error = 0;
    HGLOBAL block = ReadDibFile(name.c_str(), &error);
    if ((block == nullptr) == (error == 0)) abort();
    if (block != nullptr) {
        BITMAPINFOHEADER header;
        GetDibHeader(block, &header);
        const size_t needed = 40 + DibColourTableSize(&header) + header.biSizeImage;
        if (header.biHeight <= 0 || GlobalSize(block) != needed) abort();
        GlobalFree(block);
    }

    // The bitmap changes only when the whole file was taken.
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{40, 8, 8, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    uint32_t mark[64];
    for (uint32_t i = 0; i < 64; ++i) mark[i] = 0x123456 + i;
    HDC screen = GetDC(nullptr);
    SetDIBits(screen, target, 0, 8, mark, &info, DIB_RGB_COLORS);
    const long loaded = LoadPictureIntoBitmap(name.c_str(), target);
    if (loaded != error) abort();
    if (loaded != 0) {
        uint32_t after[64];
        GetDIBits(screen, target, 0, 8, after, &info, DIB_RGB_COLORS);
        for (int i = 0; i < 64; ++i) {
            if (after[i] != mark[i]) abort();
        }
    }
    ReleaseDC(nullptr, screen);
    return 0;
}
