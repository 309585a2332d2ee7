// The SDL state that the presenter and the event source share: the library's
// lifetime, and the window with its renderer, picture texture and fit. The
// window opens with the first picture, so that a box shown at start-up does not
// sit on an empty full-screen window. Internal to the SDL backend.
#pragma once

#include "platform/backend/sdl/screen_fit.h"
#include "platform/options.h"

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// SDL is started with the backend and shut down when its last part goes.
class SdlSession {
public:
    SdlSession();
    ~SdlSession();
    SdlSession(const SdlSession&) = delete;
    SdlSession& operator=(const SdlSession&) = delete;

    bool EventsReady() const { return m_eventsReady; }
    bool VideoReady() const { return m_videoReady; }
    const std::string& Error() const { return m_error; }

private:
    bool m_eventsReady = false;
    bool m_videoReady = false;
    std::string m_error;
};

class SdlDisplay {
public:
    SdlDisplay(std::shared_ptr<SdlSession> session, const Options& options);
    ~SdlDisplay();
    SdlDisplay(const SdlDisplay&) = delete;
    SdlDisplay& operator=(const SdlDisplay&) = delete;

    bool EventsReady() const { return m_session->EventsReady(); }
    bool VideoReady() const { return m_session->VideoReady(); }
    // Opens the window on first use; false when it cannot be had.
    bool EnsureWindow();
    SDL_Window* Window() const { return m_window; }
    uint32_t WindowId() const { return m_window ? SDL_GetWindowID(m_window) : 0; }

    // Copies a picture (stride in pixels) into the texture and shows it.
    void Show(const uint32_t* pixels, int width, int height, int stride);
    // Shows the last picture again, refitted to the window's current size.
    void Redraw();
    void SetTitle(const std::string& title);

    // The whole factor in use, for cursors that must match the picture.
    int Scale() const { return m_fit.scale; }
    // Window coordinates to the emulated display and back.
    void WindowToScreen(int windowX, int windowY, int& screenX, int& screenY) const;
    void ScreenToWindow(int screenX, int screenY, int& windowX, int& windowY) const;

private:
    bool EnsureTexture(int width, int height);
    bool EnsureSharpTexture(int width, int height);
    void UpdateFit();
    void SetIcon();

    std::shared_ptr<SdlSession> m_session;
    bool m_fullScreen = true;
    bool m_wholeScale = false;
    std::string m_programPath;
    bool m_windowFailed = false;
    int m_screenWidth;
    int m_screenHeight;
    std::string m_title;
    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
    int m_textureWidth = 0;
    int m_textureHeight = 0;
    // The picture drawn at the next whole factor, filtered down to its size
    // when the output lies between whole factors.
    SDL_Texture* m_sharpTexture = nullptr;
    int m_sharpWidth = 0;
    int m_sharpHeight = 0;
    ScreenFit m_fit;
    // Window coordinates are output pixels divided by these (1 unless high DPI).
    double m_outputPerWindowX = 1.0;
    double m_outputPerWindowY = 1.0;
};

}  // namespace platform
