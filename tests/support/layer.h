// Test helpers: a fresh Windows layer on the headless backend, input injected
// as the backend would deliver it, and a pump that runs until nothing is left.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/windows.h"

namespace testing_support {

// An event source whose message boxes answer what the test says.
class TestEvents : public platform::EventSource {
public:
    bool Poll(platform::InputEvent& event) override;
    std::optional<int> AnswerMessageBox(uint32_t style, int defaultId) override;

    std::vector<uint32_t> boxStyles;
    std::function<int(uint32_t style)> onBox;  // null: the default button
    std::deque<platform::InputEvent> pending;  // what Poll hands out, in order
};

// The lines the layer logged since ResetLayer.
std::vector<std::string>& LogLines();

// Installs a fresh headless backend and forgets every window, message, timer,
// cursor and key state of the layer. Returns the test event source.
TestEvents& ResetLayer();

// Delivers one input event as the backend would, then dispatches everything
// that follows from it through the program's pump.
void Inject(const platform::InputEvent& event);
void MouseMove(int x, int y);
void MouseButton(bool down, bool left, int x, int y);
void Key(uint32_t vk, bool down, uint8_t character = 0, uint32_t scan = 0);
void RunUntilIdle();
void AdvanceClock(uint32_t ms);

}  // namespace testing_support
