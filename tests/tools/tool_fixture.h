// Test helpers for the tools: a workshop screen without its palette (its
// first paint is skipped), with the sheet's bitmaps, the program's sounds and
// a sheet painted white inside a yellow window, driven through the window
// procedure like the real one.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "shell/sound.h"
#include "tests/controls/screen_fixture.h"
#include "tools/tool.h"
#include "workshop/workshop_screen.h"

namespace tool_testing {

// The sound lines of the log since the last call, lower-cased and without
// their folders: "pff1.wav 3", "<memory> f", "- 40".
inline std::vector<std::string> TakeSounds() {
    std::vector<std::string> sounds;
    for (std::string line : control_testing::TakeSoundLines()) {
        line.erase(0, 6);
        const size_t slash = line.find_last_of('\\');
        if (slash != std::string::npos) line.erase(0, slash + 1);
        std::transform(line.begin(), line.end(), line.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        sounds.push_back(line);
    }
    return sounds;
}

class ToolTest : public control_testing::ControlTest {
protected:
    void SetUp() override {
        ControlTest::SetUp();
        m_savedSounds = g_soundsFolder;
        m_savedCdSounds = g_cdSoundsFolder;
        snprintf(g_soundsFolder, sizeof g_soundsFolder, "Z:%s/lib/tavelin/Sons", TAVELIN_DIST_DIR);
        snprintf(g_cdSoundsFolder, sizeof g_cdSoundsFolder, "Z:%s/share/tavelin/cd/Datas/CDSons",
                 TAVELIN_DIST_DIR);
        g_workshop = WorkshopState{};
        g_workshop.colour = RGB(255, 0, 0);
        screen = new WorkshopScreen(nullptr);
        screen->m_firstPaintPending = 0;
        screen->m_active = 1;
        testing_support::RunUntilIdle();
        GetWindowSurface(screen->m_window);
        RECT client;
        GetClientRect(screen->m_window, &client);
        g_screenBuffer = CreateSurfaceBitmap(client, 0);
        g_scratchPicture = CreateSurfaceBitmap(kSheetArea, 0);
        g_undoPicture = CreateSurfaceBitmap(kSheetArea, kFillWhite);
        g_backgroundPicture = CreateSurfaceBitmap(kSheetArea, kFillWhite);
        ReleaseWindowSurface();
        Paint(client, 'y');
        Paint(kSheetRect, '.');
        control_testing::TakeSoundLines();
    }

    void TearDown() override {
        // The screen was never shown, so it never reaches OnDestroy.
        delete g_workshop.tool;
        g_workshop.tool = nullptr;
        delete screen;
        testing_support::RunUntilIdle();
        snprintf(g_soundsFolder, sizeof g_soundsFolder, "%s", m_savedSounds.c_str());
        snprintf(g_cdSoundsFolder, sizeof g_cdSoundsFolder, "%s", m_savedCdSounds.c_str());
        ControlTest::TearDown();
    }

    // Makes the tool the workshop's current one, replacing the last.
    template <typename T>
    T* Use() {
        delete g_workshop.tool;
        g_workshop.tool = nullptr;
        auto* tool = new T(screen);
        g_workshop.tool = tool;
        return tool;
    }

    void SetBrushSize(int size) {
        g_workshop.brushSize = size;
        g_workshop.brushWidth = kBrushWidths[size];
    }

    void Paint(const RECT& rect, char colour) {
        GetWindowSurface(screen->m_window);
        HBRUSH brush = CreateSolidBrush(canvas::ColourOf(colour));
        FillRect(g_currentSurface, &rect, brush);
        DeleteObject(brush);
        ReleaseWindowSurface();
    }

    // The window's pixels in the rectangle as art.
    std::string Art(const RECT& rect) {
        GetWindowSurface(screen->m_window);
        const std::string art = canvas::Read(rect);
        ReleaseWindowSurface();
        return art;
    }

    // The pixels of the window that are not the colour.
    std::vector<POINT> PixelsNot(char colour, const RECT& rect) {
        std::vector<POINT> points;
        GetWindowSurface(screen->m_window);
        for (int y = rect.top; y < rect.bottom; ++y) {
            for (int x = rect.left; x < rect.right; ++x) {
                if (canvas::CharOf(GetPixel(g_currentSurface, x, y)) != colour) points.push_back({x, y});
            }
        }
        ReleaseWindowSurface();
        return points;
    }

    WorkshopScreen* screen = nullptr;

private:
    std::string m_savedSounds;
    std::string m_savedCdSounds;
};

}  // namespace tool_testing
