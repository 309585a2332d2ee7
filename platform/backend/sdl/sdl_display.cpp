#include "platform/backend/sdl/sdl_display.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace platform {

SdlSession::SdlSession() {
    // Nearest-neighbour scaling, and a click that activates the window counts.
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // The layer catches the signals that end the session itself; SDL would
    // turn them into a close that asks the child whether to quit.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The window's class is the launcher's StartupWMClass, so that the task
    // bar groups the window with its launcher and icon.
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", "tavelin", 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", "tavelin", 0);
    SDL_SetHint(SDL_HINT_APP_NAME, "Le petit Tavelin");
    if (SDL_Init(SDL_INIT_EVENTS) != 0) {
        m_error = SDL_GetError();
        return;
    }
    m_eventsReady = true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        m_error = SDL_GetError();
        return;
    }
    // SDL falls back on a driver that draws nowhere when no desktop answers;
    // that counts as no display unless someone asked for it by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* asked = SDL_getenv("SDL_VIDEODRIVER");
    bool nowhere = driver && (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
    if (nowhere && !(asked && SDL_strcmp(asked, driver) == 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        m_error = "no desktop display (DISPLAY and WAYLAND_DISPLAY lead nowhere)";
        return;
    }
    m_videoReady = true;
    SDL_StartTextInput();
}

SdlSession::~SdlSession() {
    SDL_Quit();
}

SdlDisplay::SdlDisplay(std::shared_ptr<SdlSession> session, const Options& options)
    : m_session(std::move(session)),
      m_fullScreen(!options.window),
      m_wholeScale(options.wholeScale),
      m_programPath(options.programPath),
      m_screenWidth(options.screenWidth),
      m_screenHeight(options.screenHeight),
      m_fit(FitScreen(options.screenWidth, options.screenHeight, options.screenWidth, options.screenHeight)) {}

SdlDisplay::~SdlDisplay() {
    if (m_sharpTexture) {
        SDL_DestroyTexture(m_sharpTexture);
    }
    if (m_texture) {
        SDL_DestroyTexture(m_texture);
    }
    if (m_renderer) {
        SDL_DestroyRenderer(m_renderer);
    }
    if (m_window) {
        SDL_DestroyWindow(m_window);
    }
}

bool SdlDisplay::EnsureWindow() {
    if (m_window) {
        return true;
    }
    if (m_windowFailed || !VideoReady()) {
        return false;
    }
    int width = m_screenWidth;
    int height = m_screenHeight;
    Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE;
    SDL_Rect usable;
    SDL_DisplayMode desktop;
    if (m_fullScreen) {
        // Made at the desktop's size too, for desktops with no window manager
        // to carry out the full-screen request.
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
            width = desktop.w;
            height = desktop.h;
        }
    } else if (SDL_GetDisplayUsableBounds(0, &usable) == 0) {
        int scale = WholeScaleWithin(usable.w, usable.h, m_screenWidth, m_screenHeight);
        width *= scale;
        height *= scale;
    }
    m_window = SDL_CreateWindow(m_title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (m_window) {
        m_renderer = SDL_CreateRenderer(m_window, -1, 0);
        if (!m_renderer) {
            m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
        }
    }
    if (!m_renderer) {
        std::fprintf(stderr, "tavelin: cannot open the window: %s\n", SDL_GetError());
        if (m_window) {
            SDL_DestroyWindow(m_window);
            m_window = nullptr;
        }
        m_windowFailed = true;
        return false;
    }
    SetIcon();
    UpdateFit();
    return true;
}

// The icon that the build draws beside the program; a window without it
// still works.
void SdlDisplay::SetIcon() {
    const std::string& program = m_programPath;
    const size_t slash = program.rfind('/');
    if (slash == std::string::npos) {
        return;
    }
    SDL_Surface* icon = SDL_LoadBMP((program.substr(0, slash) + "/tavelin.bmp").c_str());
    if (icon) {
        SDL_SetWindowIcon(m_window, icon);
        SDL_FreeSurface(icon);
    }
}

bool SdlDisplay::EnsureSharpTexture(int width, int height) {
    if (m_sharpTexture && m_sharpWidth == width && m_sharpHeight == height) {
        return true;
    }
    if (m_sharpTexture) {
        SDL_DestroyTexture(m_sharpTexture);
    }
    m_sharpTexture = SDL_RenderTargetSupported(m_renderer)
                         ? SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET,
                                             width, height)
                         : nullptr;
    if (m_sharpTexture) {
        SDL_SetTextureScaleMode(m_sharpTexture, SDL_ScaleModeLinear);
    }
    m_sharpWidth = m_sharpTexture ? width : 0;
    m_sharpHeight = m_sharpTexture ? height : 0;
    return m_sharpTexture != nullptr;
}

bool SdlDisplay::EnsureTexture(int width, int height) {
    if (m_texture && m_textureWidth == width && m_textureHeight == height) {
        return true;
    }
    if (m_texture) {
        SDL_DestroyTexture(m_texture);
    }
    m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, width, height);
    m_textureWidth = m_texture ? width : 0;
    m_textureHeight = m_texture ? height : 0;
    return m_texture != nullptr;
}

void SdlDisplay::Show(const uint32_t* pixels, int width, int height, int stride) {
    if (width <= 0 || height <= 0 || !EnsureWindow()) {
        return;
    }
    m_screenWidth = width;
    m_screenHeight = height;
    if (!EnsureTexture(width, height)) {
        return;
    }
    SDL_UpdateTexture(m_texture, nullptr, pixels, stride * static_cast<int>(sizeof(uint32_t)));
    Redraw();
}

void SdlDisplay::Redraw() {
    if (!m_renderer || !m_texture) {
        return;
    }
    UpdateFit();
    SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
    SDL_RenderClear(m_renderer);
    SDL_Rect destination{m_fit.x, m_fit.y, m_fit.width, m_fit.height};
    const int sharpWidth = m_textureWidth * m_fit.drawFactor;
    const int sharpHeight = m_textureHeight * m_fit.drawFactor;
    if (m_fit.Filtered() && EnsureSharpTexture(sharpWidth, sharpHeight) &&
        SDL_SetRenderTarget(m_renderer, m_sharpTexture) == 0) {
        SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
        SDL_SetRenderTarget(m_renderer, nullptr);
        SDL_SetRenderDrawColor(m_renderer, 0, 0, 0, 255);
        SDL_RenderClear(m_renderer);
        SDL_RenderCopy(m_renderer, m_sharpTexture, nullptr, &destination);
    } else {
        SDL_RenderCopy(m_renderer, m_texture, nullptr, &destination);
    }
    SDL_RenderPresent(m_renderer);
}

void SdlDisplay::SetTitle(const std::string& title) {
    m_title = title;
    if (m_window) {
        SDL_SetWindowTitle(m_window, title.c_str());
    }
}

void SdlDisplay::UpdateFit() {
    int outputWidth = 0;
    int outputHeight = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    if (SDL_GetRendererOutputSize(m_renderer, &outputWidth, &outputHeight) != 0) {
        return;
    }
    SDL_GetWindowSize(m_window, &windowWidth, &windowHeight);
    m_outputPerWindowX = windowWidth > 0 ? static_cast<double>(outputWidth) / windowWidth : 1.0;
    m_outputPerWindowY = windowHeight > 0 ? static_cast<double>(outputHeight) / windowHeight : 1.0;
    m_fit = FitScreen(outputWidth, outputHeight, m_screenWidth, m_screenHeight, m_wholeScale);
}

void SdlDisplay::WindowToScreen(int windowX, int windowY, int& screenX, int& screenY) const {
    int outputX = static_cast<int>(std::floor(windowX * m_outputPerWindowX));
    int outputY = static_cast<int>(std::floor(windowY * m_outputPerWindowY));
    OutputToScreen(m_fit, outputX, outputY, screenX, screenY);
}

void SdlDisplay::ScreenToWindow(int screenX, int screenY, int& windowX, int& windowY) const {
    int outputX = 0;
    int outputY = 0;
    ScreenToOutput(m_fit, screenX, screenY, outputX, outputY);
    windowX = static_cast<int>(outputX / m_outputPerWindowX);
    windowY = static_cast<int>(outputY / m_outputPerWindowY);
}

}  // namespace platform
