// The parts of the SDL backend, made over the shared SDL state. Internal to the
// backend; MakeSdlBackend puts them together.
#pragma once

#include "platform/backend/backend.h"
#include "platform/backend/sdl/sdl_display.h"

#include <memory>

namespace platform {

std::unique_ptr<Clock> MakeSdlClock();
std::unique_ptr<EventSource> MakeSdlEvents(std::shared_ptr<SdlDisplay> display);
std::unique_ptr<Presenter> MakeSdlPresenter(std::shared_ptr<SdlDisplay> display);
std::unique_ptr<AudioSink> MakeSdlAudio(std::shared_ptr<SdlSession> session, bool mute);

}  // namespace platform
