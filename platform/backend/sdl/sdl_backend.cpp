#include "platform/backend/sdl/sdl_backend.h"

#include "platform/backend/sdl/sdl_parts.h"

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
    return backend;
}

}  // namespace platform
