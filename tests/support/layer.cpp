#include "tests/support/layer.h"

#include "platform/backend/headless/headless.h"
#include "platform/gdi/dc.h"
#include "platform/options.h"
#include "platform/user/internal.h"
#include "shell/mainwindow.h"

namespace testing_support {

namespace {

TestEvents* g_events = nullptr;

class MemoryLog : public platform::EventLog {
public:
    void Line(const std::string& line) override { LogLines().push_back(line); }
};

}  // namespace

std::vector<std::string>& LogLines() {
    static std::vector<std::string> lines;
    return lines;
}

bool TestEvents::Poll(platform::InputEvent& event) {
    if (pending.empty()) return false;
    event = pending.front();
    pending.pop_front();
    return true;
}

std::optional<int> TestEvents::AnswerMessageBox(uint32_t style, int defaultId) {
    boxStyles.push_back(style);
    return onBox ? onBox(style) : defaultId;
}

TestEvents& ResetLayer() {
    platform::Options options;
    platform::Backend backend = platform::MakeHeadlessBackend(options);
    auto events = std::make_unique<TestEvents>();
    TestEvents& result = *events;
    g_events = &result;
    backend.events = std::move(events);
    backend.log = std::make_unique<MemoryLog>();
    LogLines().clear();
    platform::InstallBackend(std::move(backend));
    platform::user::ResetWindows();
    platform::user::ResetQueue();
    platform::user::ResetInput();
    platform::user::ResetCursors();
    platform::gdi::InitDisplay(640, 480, 32);
    return result;
}

void RunUntilIdle() {
    MSG msg;
    int result = 0;
    for (int guard = 0; guard < 10000; ++guard) {
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (g_events != nullptr && !g_events->pending.empty()) continue;
            return;
        }
        PumpMessage(result);
    }
}

void Inject(const platform::InputEvent& event) {
    platform::user::ApplyInputEvent(event);
    RunUntilIdle();
}

void MouseMove(int x, int y) {
    platform::InputEvent e;
    e.kind = platform::InputEvent::Kind::MouseMove;
    e.x = x;
    e.y = y;
    Inject(e);
}

void MouseButton(bool down, bool left, int x, int y) {
    platform::InputEvent e;
    e.kind = down ? platform::InputEvent::Kind::MouseDown : platform::InputEvent::Kind::MouseUp;
    e.button = left ? platform::MouseButton::Left : platform::MouseButton::Right;
    e.x = x;
    e.y = y;
    Inject(e);
}

void Key(uint32_t vk, bool down, uint8_t character, uint32_t scan) {
    platform::InputEvent e;
    e.kind = down ? platform::InputEvent::Kind::KeyDown : platform::InputEvent::Kind::KeyUp;
    e.vk = vk;
    e.character = character;
    e.scan = scan;
    Inject(e);
}

void AdvanceClock(uint32_t ms) { platform::CurrentBackend().clock->SleepMs(ms); }

}  // namespace testing_support
