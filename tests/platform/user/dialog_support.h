// Test helpers for dialogs: templates compiled from text into a library, a
// recorder for the dialog procedure, and input queued from WM_INITDIALOG, once
// the items have their places.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/kernel/resource_pack.h"
#include "platform/windows.h"
#include "tests/support/layer.h"
#include "buildtools/respack/dialog_source.h"

namespace dialog_testing {

using Kind = platform::InputEvent::Kind;
using Seen = std::vector<std::string>;

// The encoded templates of a dialog source, in order.
inline std::vector<std::vector<uint8_t>> Encode(const std::string& source) {
    std::vector<respack::DialogTemplate> dialogs;
    std::string error;
    EXPECT_TRUE(respack::ParseDialogSource({source.begin(), source.end()}, "test.txt", dialogs, error))
        << error;
    std::vector<std::vector<uint8_t>> out;
    for (const auto& d : dialogs) out.push_back(respack::EncodeDialogTemplate(d));
    return out;
}

// A library of RT_DIALOG resources; templates[i] gets the id firstId + i.
inline HMODULE DialogLibrary(const std::vector<std::vector<uint8_t>>& templates, uint16_t firstId) {
    std::vector<platform::PackItem> items;
    for (size_t i = 0; i < templates.size(); ++i) {
        items.push_back({5, static_cast<uint16_t>(firstId + i), templates[i]});
    }
    std::vector<uint8_t> pack;
    EXPECT_TRUE(platform::BuildPack(std::move(items), pack));
    return platform::LoadPackFromMemory(pack);
}

struct Recorder {
    Seen seen;
    std::function<void(HWND)> onInit;                        // queues the input
    std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> on;  // answers first when set
    testing_support::TestEvents* events = nullptr;
};

inline Recorder& Current() {
    static Recorder recorder;
    return recorder;
}

// A fresh layer with an owner window; opens the dialog with the procedure.
inline INT_PTR OpenDialog(HMODULE library, int id, DLGPROC proc, std::function<void(HWND)> onInit,
                          std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> on = nullptr) {
    Current() = Recorder{{}, std::move(onInit), std::move(on), &testing_support::ResetLayer()};
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "DialogOwner";
    RegisterClassA(&wc);
    HWND owner = CreateWindowExA(0, "DialogOwner", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                 nullptr, nullptr, nullptr, nullptr);
    testing_support::RunUntilIdle();
    return DialogBoxParamA(library, MAKEINTRESOURCEA(id), owner, proc, 0);
}

inline void QueueEvent(Kind kind, POINT at = {}, uint32_t vk = 0, uint8_t character = 0) {
    platform::InputEvent e;
    e.kind = kind;
    e.x = at.x;
    e.y = at.y;
    e.vk = vk;
    e.character = character;
    Current().events->pending.push_back(e);
}

inline void QueueKey(uint32_t vk, uint8_t character = 0, bool shift = false) {
    if (shift) QueueEvent(Kind::KeyDown, {}, VK_SHIFT);
    QueueEvent(Kind::KeyDown, {}, vk, character);
    QueueEvent(Kind::KeyUp, {}, vk);
    if (shift) QueueEvent(Kind::KeyUp, {}, VK_SHIFT);
}

// A point of an item in screen coordinates, from its top-left corner.
inline POINT ItemPoint(HWND dialog, int id, int dx, int dy) {
    RECT r{};
    GetWindowRect(GetDlgItem(dialog, id), &r);
    return POINT{r.left + dx, r.top + dy};
}

inline void QueueClick(POINT at) {
    QueueEvent(Kind::MouseMove, at);
    QueueEvent(Kind::MouseDown, at);
    QueueEvent(Kind::MouseUp, at);
}

}  // namespace dialog_testing
