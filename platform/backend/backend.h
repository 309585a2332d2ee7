// The four small interfaces between the Windows layer and what really shows,
// hears and times the program: a clock, an event source, a presenter and an
// audio sink. The SDL backend implements them over a real display; the headless
// backend over a memory framebuffer, a virtual clock and a script. Nothing above
// platform/ sees these types.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Milliseconds since the backend started; Sleep gives the processor away.
class Clock {
public:
    virtual ~Clock() = default;
    virtual uint32_t NowMs() = 0;
    // The same clock in microseconds, for decisions finer than a millisecond.
    virtual uint64_t NowMicros() { return static_cast<uint64_t>(NowMs()) * 1000; }
    virtual void SleepMs(uint32_t ms) = 0;
};

enum class MouseButton { Left, Right };

struct InputEvent {
    enum class Kind {
        MouseMove,
        MouseDown,
        MouseUp,
        KeyDown,      // vk, scan, character (Windows-1252, 0 when the key makes none), codePoint
        KeyUp,        // vk, scan
        Character,    // character or codePoint typed without a key (an input method's text)
        FocusGained,  // the desktop window became the active one
        FocusLost,
        Close,        // the user asked to close the window
        Raise,        // a second copy asked this one to come forward
    };
    Kind kind = Kind::MouseMove;
    int x = 0;  // screen coordinates of the emulated display
    int y = 0;
    MouseButton button = MouseButton::Left;
    uint32_t vk = 0;
    uint32_t scan = 0;
    uint8_t character = 0;
    uint32_t codePoint = 0;  // a typed character that Windows-1252 lacks (an emoji, a Greek letter)
    bool repeat = false;
};

class EventSource {
public:
    virtual ~EventSource() = default;
    // Takes the next pending input event, if any; never blocks.
    virtual bool Poll(InputEvent& event) = 0;
    // A message box is about to wait for the user. A scripted source answers at
    // once with a button id (IDOK, IDCANCEL, ...); an interactive one returns
    // nothing and the box runs its own loop.
    virtual std::optional<int> AnswerMessageBox(uint32_t style, int defaultId) = 0;
    // True once the source has nothing more to give and wants the program gone.
    virtual bool Finished() { return false; }
    // Blocks until input may be waiting or ms milliseconds have passed. False
    // when the source cannot wait, and the caller sleeps in short slices.
    virtual bool WaitForInput(uint32_t ms) {
        (void)ms;
        return false;
    }
    // The program is about to end, whatever the reason.
    virtual void Ending() {}
};

// A cursor as the presenter shows it: a system shape or a 32-bit picture.
struct CursorShape {
    enum class System { None, Arrow, Wait } system = System::None;
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<uint32_t> argb;  // width * height, 0xAARRGGBB, when system is None
};

class Presenter {
public:
    virtual ~Presenter() = default;
    // The emulated display's picture, 0x00RRGGBB per pixel, rows top-down.
    virtual void Present(const uint32_t* pixels, int width, int height, int stride) = 0;
    virtual void SetCursor(const CursorShape* shape) = 0;
    virtual void ShowCursor(bool visible) = 0;
    virtual void WarpMouse(int x, int y) = 0;
    virtual void Raise() = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // Shown before the program has a window of its own: a box from the desktop
    // when one can be had; returns false when it could not be shown.
    virtual bool NativeMessageBox(const std::string& caption, const std::string& textUtf8) = 0;
};

// Mixed 16-bit stereo PCM at 22050 Hz reaches the sink in whole sounds.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    virtual void Play(std::vector<int16_t> samples, bool loop) = 0;
    virtual void Stop() = 0;
    virtual bool Playing() = 0;
};

// What a run writes down: sounds, message boxes, files written, the exit code.
class EventLog {
public:
    virtual ~EventLog() = default;
    virtual void Line(const std::string& line) = 0;
};

// A log written line by line to a file, each line flushed at once.
std::unique_ptr<EventLog> MakeFileLog(const std::string& path);

struct Backend {
    std::unique_ptr<Clock> clock;
    std::unique_ptr<EventSource> events;
    std::unique_ptr<Presenter> presenter;
    std::unique_ptr<AudioSink> audio;
    std::unique_ptr<EventLog> log;  // null when nothing is logged
    bool headless = false;
};

// The backend in use; the layer installs one before the program starts.
Backend& CurrentBackend();
void InstallBackend(Backend backend);

// Writes a line to the run's log when there is one.
void LogLine(const std::string& line);

}  // namespace platform
