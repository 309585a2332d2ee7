// Saving and loading the 24-bit sheet as a picture file, beside writing and
// reading the same 614454 bytes with plain write and read. The files go to a
// folder in memory (/dev/shm when there is one), where the flush to disk that
// every save makes costs nothing, so that the numbers measure the program's
// own work.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "graphics/surface.h"
#include "platform/backend/backend.h"
#include "platform/backend/headless/headless.h"
#include "platform/gdi/dc.h"
#include "platform/kernel/paths.h"
#include "platform/options.h"
#include "shell/app.h"
#include "storage/files.h"
#include "storage/picture_files.h"

namespace {

constexpr size_t kFileBytes = 614454;

// A headless layer at 32 bits, a sheet with a picture on it, and a folder in
// memory that is the base folder.
class Workbench {
public:
    Workbench() {
        static bool started = [] {
            platform::Options options;
            platform::InstallBackend(platform::MakeHeadlessBackend(options));
            platform::gdi::InitDisplay(640, 480, 32);
            g_platform.bitsPerPixel = 32;
            return true;
        }();
        (void)started;
        char pattern[] = "/dev/shm/tavelin-bench-XXXXXX";
        char fallback[] = "/tmp/tavelin-bench-XXXXXX";
        const char* made = mkdtemp(pattern);
        m_folder = made != nullptr ? made : mkdtemp(fallback);
        SetBaseFolder(platform::ToWindowsPath(m_folder).c_str());
        GetWindowSurface(nullptr);
        m_sheet = CreateCompatibleBitmap(g_currentSurface, 512, 400);
        std::vector<uint32_t> pixels(512 * 400);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 2654435761u);
        BITMAPINFO info{};
        info.bmiHeader = BITMAPINFOHEADER{40, 512, 400, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBits(g_currentSurface, m_sheet, 0, 400, pixels.data(), &info, DIB_RGB_COLORS);
        if (SaveSheetPicture("Sheet.BMP", m_sheet) != 0) abort();
    }
    ~Workbench() {
        DeleteObject(m_sheet);
        ReleaseWindowSurface();
        SetBaseFolder("");
        for (const char* name : {"/Sheet.BMP", "/plain.bin"}) unlink((m_folder + name).c_str());
        rmdir(m_folder.c_str());
    }

    HBITMAP Sheet() const { return m_sheet; }
    std::string Path(const char* name) const { return m_folder + "/" + name; }

private:
    std::string m_folder;
    HBITMAP m_sheet = nullptr;
};

void SaveSheet(benchmark::State& state) {
    Workbench bench;
    for (auto _ : state) {
        if (SaveSheetPicture("Sheet.BMP", bench.Sheet()) != 0) state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

void LoadSheet(benchmark::State& state) {
    Workbench bench;
    HBITMAP target = CreateCompatibleBitmap(g_currentSurface, 512, 400);
    for (auto _ : state) {
        if (LoadPictureIntoBitmap("Sheet.BMP", target) != 0) state.SkipWithError("load failed");
    }
    DeleteObject(target);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

// The parts of a save and a load: the capture and the read alone.
void CaptureSheet(benchmark::State& state) {
    Workbench bench;
    for (auto _ : state) {
        HGLOBAL block = CaptureDib(bench.Sheet(), 24, nullptr, BI_RGB);
        benchmark::DoNotOptimize(block);
        GlobalFree(block);
    }
}

void ReadSheetFile(benchmark::State& state) {
    Workbench bench;
    for (auto _ : state) {
        long error = 0;
        HGLOBAL block = ReadDibFile("Sheet.BMP", &error);
        benchmark::DoNotOptimize(block);
        GlobalFree(block);
    }
}

void PlainWrite(benchmark::State& state) {
    Workbench bench;
    const std::vector<char> bytes(kFileBytes, 'x');
    const std::string path = bench.Path("plain.bin");
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            state.SkipWithError("write failed");
        }
        close(fd);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

// The baseline: copying the file's bytes in memory.
void MemcpySheet(benchmark::State& state) {
    const std::vector<char> from(kFileBytes, 'x');
    std::vector<char> to(kFileBytes);
    for (auto _ : state) {
        memcpy(to.data(), from.data(), kFileBytes);
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

void PlainRead(benchmark::State& state) {
    Workbench bench;
    std::vector<char> bytes(kFileBytes);
    const std::string path = bench.Path("Sheet.BMP");
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_RDONLY);
        if (fd < 0 || read(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
            state.SkipWithError("read failed");
        }
        close(fd);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kFileBytes));
}

BENCHMARK(SaveSheet)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadSheet)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainRead)->Unit(benchmark::kMicrosecond);
BENCHMARK(MemcpySheet)->Unit(benchmark::kMicrosecond);
BENCHMARK(CaptureSheet)->Unit(benchmark::kMicrosecond);
BENCHMARK(ReadSheetFile)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
