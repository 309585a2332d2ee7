// Test helpers for printing: a fresh toolkit with the English messages, a
// temporary tree standing for the Windows folder, the program folder and a
// print folder, a sheet-sized picture with marks to find on a page, and PDF
// pages read back through pdftoppm.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/options.h"
#include "shell/app.h"
#include "shell/messages.h"
#include "shell/resources.h"
#include "tests/graphics/canvas.h"

namespace print_fixture {

constexpr COLORREF kSky = RGB(200, 220, 255);
constexpr COLORREF kDot = RGB(0, 0, 0);
constexpr COLORREF kBlock = RGB(255, 0, 0);
constexpr POINT kDotAt{10, 20};
constexpr RECT kBlockAt{500, 390, 508, 398};

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_savedOptions = platform::CurrentOptions();
        for (const char* name : {"LC_ALL", "LPDEST", "PRINTER"}) {
            const char* value = getenv(name);
            m_savedEnv.emplace_back(name, value != nullptr ? std::optional<std::string>(value)
                                                           : std::nullopt);
        }
        setenv("LC_ALL", "en_GB.UTF-8", 1);
        unsetenv("LPDEST");
        unsetenv("PRINTER");
        canvas::ResetToolkit(32);
        theApp.m_instance = GetModuleHandleA(nullptr);
        SetResourceModule(theApp.m_instance);
        LoadErrorTexts();
        g_platform.platformId = 0;
        char pattern[] = "/tmp/tavelin-print-XXXXXX";
        m_root = mkdtemp(pattern);
        for (const char* folder : {"config", "lib/tavelin", "out"}) {
            std::filesystem::create_directories(m_root + "/" + folder);
        }
        platform::Options& options = platform::CurrentOptions();
        options.configDir = m_root + "/config";
        options.programPath = m_root + "/lib/tavelin/tavelin";
    }

    void TearDown() override {
        platform::CurrentOptions() = m_savedOptions;
        for (const auto& [name, value] : m_savedEnv) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    // The profile's "windows" "device" value; nothing asks the desktop.
    void SetDevice(const std::string& device) {
        std::ofstream(m_root + "/config/win.ini") << "[windows]\ndevice=" << device << "\n";
    }

    // Pages go to the print folder, with this printable area.
    void PrintToFolder(int width, int height, int dpiX = 300, int dpiY = 300, int64_t limit = 0) {
        platform::Options& options = platform::CurrentOptions();
        options.printTo = m_root + "/out";
        options.printWidth = width;
        options.printHeight = height;
        options.printDpiX = dpiX;
        options.printDpiY = dpiY;
        options.printDrawLimit = limit;
    }

    std::vector<std::string> Pages() const {
        std::vector<std::string> pages;
        for (const auto& entry : std::filesystem::directory_iterator(m_root + "/out")) {
            pages.push_back(entry.path().string());
        }
        return pages;
    }

    // The texts of the message boxes shown since the toolkit was reset.
    static std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const std::string& line : testing_support::LogLines()) {
            if (line.rfind("message ", 0) == 0) texts.push_back(line.substr(line.find(' ', 8) + 1));
        }
        return texts;
    }

    std::string m_root;

private:
    platform::Options m_savedOptions;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_savedEnv;
};

// A 512 x 400 picture of sky with a one-pixel dot and a small block.
inline HBITMAP MakeSheetPicture() {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 512, 400);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    auto fill = [&](const RECT& rect, COLORREF colour) {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(memory, &rect, brush);
        DeleteObject(brush);
    };
    fill(RECT{0, 0, 512, 400}, kSky);
    fill(RECT{kDotAt.x, kDotAt.y, kDotAt.x + 1, kDotAt.y + 1}, kDot);
    fill(kBlockAt, kBlock);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// A page rasterised by pdftoppm, 0x00RRGGBB per pixel.
struct Raster {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

inline bool HavePdftoppm() {
    return access("/usr/bin/pdftoppm", X_OK) == 0;
}

// Rasterises the first page at dpi; also writes a PNG beside it when png is
// given, to look at.
inline std::optional<Raster> Rasterise(const std::string& pdf, int dpi, const char* png = nullptr) {
    const std::string base = pdf + ".raster";
    const std::string command = "/usr/bin/pdftoppm -r " + std::to_string(dpi) + " -singlefile " +
                                pdf + " " + base;
    if (system(command.c_str()) != 0) return std::nullopt;
    if (png != nullptr) {
        const std::string toPng = "/usr/bin/pdftoppm -png -r " + std::to_string(dpi) +
                                  " -singlefile " + pdf + " " + png;
        if (system(toPng.c_str()) != 0) return std::nullopt;
    }
    std::ifstream in(base + ".ppm", std::ios::binary);
    std::string magic;
    int maxValue = 0;
    Raster raster;
    in >> magic >> raster.width >> raster.height >> maxValue;
    in.get();
    if (magic != "P6" || maxValue != 255 || raster.width <= 0 || raster.height <= 0) return std::nullopt;
    std::vector<unsigned char> bytes(static_cast<size_t>(raster.width) * raster.height * 3);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in) return std::nullopt;
    raster.pixels.resize(bytes.size() / 3);
    for (size_t i = 0; i < raster.pixels.size(); ++i) {
        raster.pixels[i] = (uint32_t{bytes[3 * i]} << 16) | (uint32_t{bytes[3 * i + 1]} << 8) |
                           bytes[3 * i + 2];
    }
    return raster;
}

inline uint32_t Rgb(COLORREF colour) {
    return (uint32_t{GetRValue(colour)} << 16) | (uint32_t{GetGValue(colour)} << 8) |
           GetBValue(colour);
}

}  // namespace print_fixture
