// Test helpers for controls: a fresh layer with the main window, a screen that
// records the operations its window procedure calls, and one-colour pictures
// for small resource packs.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "controls/control.h"
#include "graphics/surface.h"
#include "platform/kernel/resource_pack.h"
#include "shell/app.h"
#include "shell/mainwindow.h"
#include "shell/messages.h"
#include "shell/resources.h"
#include "shell/screen.h"
#include "tests/graphics/canvas.h"
#include "tests/support/layer.h"

namespace control_testing {

using Calls = std::vector<std::string>;

inline std::string Call(const char* name, int a) {
    return std::string(name) + "(" + std::to_string(a) + ")";
}
inline std::string Call(const char* name, int a, int b) {
    return std::string(name) + "(" + std::to_string(a) + "," + std::to_string(b) + ")";
}

class RecordingScreen : public Screen {
public:
    explicit RecordingScreen(Calls& calls) : Screen(nullptr, nullptr), m_calls(calls) {}

    void OnChar(int c, int repeat) override { m_calls.push_back(Call("OnChar", c, repeat)); }
    void OnKeyUp(int key) override { m_calls.push_back(Call("OnKeyUp", key)); }
    void OnLButtonDown(int x, int y) override { m_calls.push_back(Call("OnLButtonDown", x, y)); }
    void OnLButtonUp(int x, int y) override { m_calls.push_back(Call("OnLButtonUp", x, y)); }
    void OnMouseMove(int x, int y) override { m_calls.push_back(Call("OnMouseMove", x, y)); }
    void OnCommand(int id) override { m_calls.push_back(Call("OnCommand", id)); }

private:
    Calls& m_calls;
};

// A packed 8-bit picture of one colour.
inline std::vector<uint8_t> SolidPicture(int width, int height, COLORREF colour) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biClrUsed = 1;
    const RGBQUAD entry{GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
    const size_t rowBytes = (static_cast<size_t>(width) + 3) / 4 * 4;
    std::vector<uint8_t> bytes(sizeof header + sizeof entry + rowBytes * height, 0);
    memcpy(bytes.data(), &header, sizeof header);
    memcpy(bytes.data() + sizeof header, &entry, sizeof entry);
    return bytes;
}

// Makes a pack of the items the resource module.
inline void UsePack(std::vector<platform::PackItem> items) {
    std::vector<uint8_t> pack;
    ASSERT_TRUE(platform::BuildPack(std::move(items), pack));
    SetResourceModule(platform::LoadPackFromMemory(pack));
}

// The colour of a pixel of the window, as the art characters of canvas.h.
inline char PixelAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const char c = canvas::CharOf(GetPixel(dc, x, y));
    ReleaseDC(window, dc);
    return c;
}

inline COLORREF ColourAt(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

inline void Click(int x, int y) {
    testing_support::MouseButton(true, true, x, y);
    testing_support::MouseButton(false, true, x, y);
}

// The sound lines of the layer's log since the last call, emptied.
inline Calls TakeSoundLines() {
    Calls sounds;
    for (const std::string& line : testing_support::LogLines()) {
        if (line.rfind("sound ", 0) == 0) sounds.push_back(line);
    }
    testing_support::LogLines().clear();
    return sounds;
}

// A layer with the main window and the toolkit's patterns, the program's
// own resources, and no control state left over from another test.
class ControlTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }
    void TearDown() override { SetResourceModule(nullptr); }

    void Reset() {
        canvas::ResetToolkit(m_depth);
        g_mainWindow = nullptr;
        g_focusWindow = nullptr;
        g_closing = 0;
        g_screenShown = 0;
        g_platform.bitsPerPixel = m_depth;
        theApp.m_instance = GetModuleHandleA(nullptr);
        theApp.m_currentScreen = nullptr;
        SetResourceModule(theApp.m_instance);
        LoadErrorTexts();
        SetRect(&g_platform.screenRect, 0, 0, 640, 480);
        OpenMainWindow();
        g_pressedControl = nullptr;
        g_hoveredControl = nullptr;
        g_keyPressActive = false;
        calls.clear();
    }

    // A recording screen whose first paint is done.
    RecordingScreen* ShownScreen() {
        auto* screen = new RecordingScreen(calls);
        testing_support::RunUntilIdle();
        calls.clear();
        return screen;
    }

    Calls calls;
    // The display depth of the next Reset.
    int m_depth = 32;
};

}  // namespace control_testing
