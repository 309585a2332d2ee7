// Test helpers for the dialogs: the program's own resources, fonts and
// picture module, a main window with the sheet's bitmaps, a pictures folder,
// and an event source that runs the test's steps whenever the layer looks for
// input, so that each step finds the dialog open and painted.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/dialog_frame.h"
#include "dialogs/dialogs.h"
#include "dialogs/saved_pictures.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "platform/backend/backend.h"
#include "platform/gdi/font.h"
#include "shell/app.h"
#include "shell/configuration.h"
#include "shell/mainwindow.h"
#include "shell/messages.h"
#include "shell/picture_module.h"
#include "shell/resources.h"
#include "shell/sound.h"
#include "storage/files.h"
#include "tests/graphics/canvas.h"
#include "tests/platform/kernel/kernel_test_folder.h"
#include "tests/storage/bmp_maker.h"
#include "tests/support/layer.h"

namespace dialog_testing {

using Event = platform::InputEvent;
using Step = std::function<void(std::deque<Event>&)>;

// The open dialog of the program, or null.
inline HWND OpenDialog() {
    return FindWindowA("#32770", nullptr);
}

// Hands the layer one step's events at a time. A dialog still open a minute
// after the last step is closed with Escape, and the test is told.
class StepSource : public platform::EventSource {
public:
    bool Poll(Event& event) override {
        const uint32_t now = platform::CurrentBackend().clock->NowMs();
        while (pending.empty() && !steps.empty()) {
            Step step = std::move(steps.front());
            steps.pop_front();
            step(pending);
            m_lastStep = now;
        }
        if (pending.empty() && steps.empty() && OpenDialog() != nullptr &&
            now - m_lastStep > 60000) {
            gaveUp = true;
            m_lastStep = now;
            PushKey(VK_ESCAPE, 0x1B);
        }
        if (pending.empty()) return false;
        event = pending.front();
        pending.pop_front();
        return true;
    }

    std::optional<int> AnswerMessageBox(uint32_t style, int defaultId) override {
        boxes.push_back(style);
        return defaultId;
    }

    void PushKey(uint32_t vk, uint8_t character) {
        Event e;
        e.kind = Event::Kind::KeyDown;
        e.vk = vk;
        e.character = character;
        pending.push_back(e);
        e.kind = Event::Kind::KeyUp;
        e.character = 0;
        pending.push_back(e);
    }

    std::deque<Step> steps;
    std::deque<Event> pending;
    std::vector<uint32_t> boxes;
    bool gaveUp = false;

private:
    uint32_t m_lastStep = 0;
};

inline RECT ItemRect(int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(OpenDialog(), id), &rect);
    return rect;
}

// Mouse events in the middle of the open dialog's item.
inline Step MouseOn(int id, std::vector<Event::Kind> kinds) {
    return [id, kinds](std::deque<Event>& out) {
        const RECT r = ItemRect(id);
        Event e;
        e.x = (r.left + r.right) / 2;
        e.y = (r.top + r.bottom) / 2;
        for (Event::Kind kind : kinds) {
            e.kind = kind;
            out.push_back(e);
        }
    };
}

inline Step ClickItem(int id) {
    return MouseOn(id, {Event::Kind::MouseMove, Event::Kind::MouseDown, Event::Kind::MouseUp});
}

// Runs a look at the open dialog without any input.
inline Step Check(std::function<void(HWND dialog)> look) {
    return [look](std::deque<Event>&) { look(OpenDialog()); };
}

// One key pressed and let go.
inline Step Key(uint32_t vk, uint8_t character = 0) {
    return [vk, character](std::deque<Event>& out) {
        Event e;
        e.kind = Event::Kind::KeyDown;
        e.vk = vk;
        e.character = character;
        out.push_back(e);
        e.kind = Event::Kind::KeyUp;
        e.character = 0;
        out.push_back(e);
    };
}

// Typed characters, as the keyboard delivers them.
inline Step Type(const std::string& text) {
    return [text](std::deque<Event>& out) {
        for (char c : text) {
            Event e;
            e.kind = Event::Kind::KeyDown;
            e.character = static_cast<uint8_t>(c);
            e.vk = (c >= 'a' && c <= 'z') ? static_cast<uint32_t>(c - 'a' + 'A')
                                          : static_cast<uint8_t>(c);
            out.push_back(e);
            e.kind = Event::Kind::KeyUp;
            e.character = 0;
            out.push_back(e);
        }
    };
}

inline COLORREF ScreenPixel(int x, int y) {
    HDC dc = GetDC(nullptr);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return colour;
}

inline COLORREF BitmapPixel(HBITMAP bitmap, int x, int y) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}

inline void FillBitmap(HBITMAP bitmap, const RECT& rect, COLORREF colour) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
}

// The base names of the sounds played since the last call.
inline std::vector<std::string> TakeSounds() {
    std::vector<std::string> names;
    for (const std::string& line : testing_support::LogLines()) {
        if (line.rfind("sound ", 0) != 0) continue;
        const size_t end = line.rfind(' ');
        const size_t start = line.find_last_of("\\/", end) + 1;
        std::string name = line.substr(start, end - start);
        const size_t dot = name.rfind('.');
        names.push_back(dot == std::string::npos ? name : name.substr(0, dot));
    }
    testing_support::LogLines().clear();
    return names;
}

inline bool IsCancelSound(const std::string& name) {
    return name == "Gomme1" || name == "Crecel" || name == "Undo4" || name == "WeezCrt";
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        canvas::ResetToolkit(32);
        // The layer's own test source stays alive while ours answers.
        static std::unique_ptr<platform::EventSource> heldEvents;
        heldEvents = std::move(platform::CurrentBackend().events);
        auto steps = std::make_unique<StepSource>();
        source = steps.get();
        platform::CurrentBackend().events = std::move(steps);

        const std::string dist = TAVELIN_DIST_DIR;
        static HMODULE pack =
            LoadLibraryA(("Z:" + dist + "/../resources/program_resources.pack").c_str());
        static HMODULE module = LoadLibraryA(("Z:" + dist + "/lib/tavelin/Banques.dat").c_str());
        ASSERT_NE(pack, nullptr);
        ASSERT_NE(module, nullptr);
        theApp.m_instance = pack;
        SetResourceModule(pack);
        g_pictureModule = module;
        LoadErrorTexts();
        ASSERT_TRUE(LoadHelpTexts(1));
        // The program folder's profile maps the program's face names to the
        // fonts shipped.
        std::filesystem::copy_file(dist + "/lib/tavelin/win.ini", tree.Path("lib/tavelin/win.ini"));
        platform::gdi::ResetFonts();
        for (const auto& font :
             std::filesystem::directory_iterator(dist + "/share/tavelin/cd/Datas/Polices")) {
            AddFontResourceA(("Z:" + font.path().string()).c_str());
        }

        g_platform.bitsPerPixel = 32;
        SetRect(&g_platform.screenRect, 0, 0, 640, 480);
        g_mainWindow = nullptr;
        g_focusWindow = nullptr;
        g_closing = 0;
        OpenMainWindow();
        testing_support::RunUntilIdle();

        g_undoPicture = CreateSurfaceBitmap(kSheetArea, kFillWhite);
        g_scratchPicture = CreateSurfaceBitmap(kSheetArea, kFillWhite);
        g_backgroundPicture = CreateSurfaceBitmap(kSheetArea, kFillWhite);
        g_screenBuffer = CreateSurfaceBitmap(RECT{0, 0, 640, 480}, kFillWhite);

        std::filesystem::create_directories(tree.Path("pictures"));
        SetPicturesFolder(tree.WindowsPath("pictures"));
        SetBaseFolder(tree.WindowsPath("lib/tavelin").c_str());

        g_selectedPicture = -1;
        ForgetCurrentPicture();
        g_fontChooser = FontChooserValues{};
        g_textSettings = TextSettings{};
        g_backgroundChoice = -1;
        testing_support::LogLines().clear();
    }

    void TearDown() override {
        EXPECT_FALSE(source->gaveUp) << "a dialog stayed open";
        for (HBITMAP* bitmap :
             {&g_undoPicture, &g_scratchPicture, &g_backgroundPicture, &g_screenBuffer}) {
            DeleteObject(*bitmap);
            *bitmap = nullptr;
        }
        g_picturesFolder[0] = '\0';
        SetBaseFolder("");
        SetBaseFolder("");
        SetResourceModule(nullptr);
        g_pictureModule = nullptr;
        theApp.m_instance = GetModuleHandleA(nullptr);
    }

    static void SetPicturesFolder(const std::string& folder) {
        snprintf(g_picturesFolder, sizeof g_picturesFolder, "%s", folder.c_str());
    }

    void Steps(std::initializer_list<Step> steps) {
        for (const Step& step : steps) source->steps.push_back(step);
    }

    // Writes a small picture file of one colour into the pictures folder,
    // written seconds after the epoch of the folder's other files.
    void WritePicture(const std::string& name, char colour, int seconds) {
        bmp_maker::BmpLayout layout;
        const std::string row(4, colour);
        tree.Write("pictures/" + name, bmp_maker::MakeBmp(layout, {row, row, row}));
        Touch("pictures/" + name, seconds);
    }

    void Touch(const std::string& name, int seconds) {
        std::filesystem::last_write_time(
            tree.Path(name), std::filesystem::file_time_type::clock::now() - std::chrono::hours(1) +
                                 std::chrono::seconds(seconds));
    }

    platform::testing::KernelTestFolder tree;
    StepSource* source = nullptr;
};

}  // namespace dialog_testing
