#include "platform/backend/sdl/sdl_backend.h"

#include "platform/backend/sdl/sdl_parts.h"

#include <SDL.h>

namespace platform {

Backend MakeSdlBackend(const Options& options, std::string* error) {
    auto session = std::make_shared<SdlSession>();
    if (error) {
        *error = session->VideoReady() ? std::string() : "no display: " + session->Error();
    }
    auto display = std::make_shared<SdlDisplay>(session, options);
    Backend backend;
    backend.clock = MakeSdlClock();
    backend.events = MakeSdlEvents(display);
    backend.presenter = MakeSdlPresenter(display);
    backend.audio = MakeSdlAudio(session, options.mute);
    backend.headless = false;
    if (!options.logPath.empty()) backend.log = MakeFileLog(options.logPath);
    return backend;
}

bool SdlDesktopSize(int& width, int& height) {
    SDL_DisplayMode mode;
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 || SDL_GetDesktopDisplayMode(0, &mode) != 0) {
        return false;
    }
    width = mode.w;
    height = mode.h;
    return true;
}

}  // namespace platform
