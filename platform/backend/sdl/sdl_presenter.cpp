#include "platform/backend/sdl/keymap.h"
#include "platform/backend/sdl/sdl_parts.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace platform {
namespace {

// Cursors larger than this are refused and shown as the arrow.
constexpr int kLargestCursor = 256;

uint64_t HashShape(const CursorShape& shape) {
    uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](uint64_t value) { hash = (hash ^ value) * 1099511628211ull; };
    mix(static_cast<uint64_t>(shape.system));
    mix(static_cast<uint64_t>(shape.width) << 32 | static_cast<uint32_t>(shape.height));
    mix(static_cast<uint64_t>(shape.hotX) << 32 | static_cast<uint32_t>(shape.hotY));
    for (uint32_t pixel : shape.argb) {
        mix(pixel);
    }
    return hash;
}

CursorShape ArrowShape() {
    CursorShape shape;
    shape.system = CursorShape::System::Arrow;
    return shape;
}

bool SameShape(const CursorShape& a, const CursorShape& b) {
    return a.system == b.system && a.width == b.width && a.height == b.height && a.hotX == b.hotX &&
           a.hotY == b.hotY && a.argb == b.argb;
}

bool UsablePicture(const CursorShape& shape) {
    return shape.width > 0 && shape.height > 0 && shape.width <= kLargestCursor && shape.height <= kLargestCursor &&
           shape.argb.size() >= static_cast<size_t>(shape.width) * static_cast<size_t>(shape.height);
}

// A colour cursor from a picture, each pixel a scale x scale block.
SDL_Cursor* MakeColorCursor(const CursorShape& shape, int scale) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, shape.width * scale, shape.height * scale, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) {
        return nullptr;
    }
    for (int y = 0; y < surface->h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
        const uint32_t* source = shape.argb.data() + static_cast<size_t>(y / scale) * shape.width;
        for (int x = 0; x < surface->w; ++x) {
            row[x] = source[x / scale];
        }
    }
    int hotX = std::clamp(shape.hotX, 0, shape.width - 1) * scale + scale / 2;
    int hotY = std::clamp(shape.hotY, 0, shape.height - 1) * scale + scale / 2;
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, hotX, hotY);
    SDL_FreeSurface(surface);
    return cursor;
}

class SdlPresenter final : public Presenter {
public:
    explicit SdlPresenter(std::shared_ptr<SdlDisplay> display) : m_display(std::move(display)) {}
    ~SdlPresenter() override;

    void Present(const uint32_t* pixels, int width, int height, int stride) override {
        m_display->Show(pixels, width, height, stride);
        if (m_shape && m_display->Scale() != m_cursorScale) {
            ApplyCursor();
        }
    }

    void SetCursor(const CursorShape* shape) override {
        if (!shape) {
            m_shape.reset();
        } else if (!m_shape || !SameShape(*m_shape, *shape)) {
            m_shape = *shape;
            ApplyCursor();
        }
        ApplyVisibility();
    }

    void ShowCursor(bool visible) override {
        m_visible = visible;
        ApplyVisibility();
    }

    void WarpMouse(int x, int y) override {
        if (SDL_Window* window = m_display->Window()) {
            int windowX = 0;
            int windowY = 0;
            m_display->ScreenToWindow(x, y, windowX, windowY);
            SDL_WarpMouseInWindow(window, windowX, windowY);
        }
    }

    void Raise() override {
        if (SDL_Window* window = m_display->Window()) {
            if (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) {
                SDL_RestoreWindow(window);
            }
            SDL_RaiseWindow(window);
        }
    }

    // Titles come in the program's code page; SDL wants UTF-8.
    void SetTitle(const std::string& title) override {
        m_display->SetTitle(IsValidUtf8(title) ? title : Cp1252ToUtf8(title));
    }

    bool NativeMessageBox(const std::string& caption, const std::string& textUtf8) override {
        if (!m_display->VideoReady()) {
            return false;
        }
        // SDL wants UTF-8; a caption in the program's code page is converted.
        std::string captionUtf8 = IsValidUtf8(caption) ? caption : Cp1252ToUtf8(caption);
        std::string text = IsValidUtf8(textUtf8) ? textUtf8 : Cp1252ToUtf8(textUtf8);
        return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, captionUtf8.c_str(), text.c_str(),
                                        m_display->Window()) == 0;
    }

private:
    struct CachedCursor {
        uint64_t hash = 0;
        int scale = 1;
        CursorShape shape;
        SDL_Cursor* cursor = nullptr;  // null when SDL refused it
    };

    SDL_Cursor* SystemCursor(CursorShape::System system);
    SDL_Cursor* CursorFor(const CursorShape& shape, int scale);
    void ApplyCursor();
    void ApplyVisibility();

    std::shared_ptr<SdlDisplay> m_display;
    // The cursor the program asked for; none hides it, as SetCursor(NULL) does.
    std::optional<CursorShape> m_shape = ArrowShape();
    int m_cursorScale = 0;
    bool m_visible = true;
    SDL_Cursor* m_arrow = nullptr;
    SDL_Cursor* m_wait = nullptr;
    std::vector<CachedCursor> m_cache;
};

SdlPresenter::~SdlPresenter() {
    for (CachedCursor& entry : m_cache) {
        if (entry.cursor) {
            SDL_FreeCursor(entry.cursor);
        }
    }
    if (m_arrow) {
        SDL_FreeCursor(m_arrow);
    }
    if (m_wait) {
        SDL_FreeCursor(m_wait);
    }
}

SDL_Cursor* SdlPresenter::SystemCursor(CursorShape::System system) {
    SDL_Cursor*& cursor = system == CursorShape::System::Wait ? m_wait : m_arrow;
    if (!cursor) {
        cursor = SDL_CreateSystemCursor(system == CursorShape::System::Wait ? SDL_SYSTEM_CURSOR_WAIT
                                                                            : SDL_SYSTEM_CURSOR_ARROW);
    }
    return cursor;
}

SDL_Cursor* SdlPresenter::CursorFor(const CursorShape& shape, int scale) {
    if (shape.system != CursorShape::System::None || !UsablePicture(shape)) {
        return SystemCursor(shape.system);
    }
    uint64_t hash = HashShape(shape);
    for (const CachedCursor& entry : m_cache) {
        if (entry.hash == hash && entry.scale == scale && SameShape(entry.shape, shape)) {
            return entry.cursor ? entry.cursor : SystemCursor(CursorShape::System::Arrow);
        }
    }
    SDL_Cursor* cursor = MakeColorCursor(shape, scale);
    m_cache.push_back(CachedCursor{hash, scale, shape, cursor});
    return cursor ? cursor : SystemCursor(CursorShape::System::Arrow);
}

void SdlPresenter::ApplyCursor() {
    if (!m_display->VideoReady() || !m_shape) {
        return;
    }
    m_cursorScale = m_display->Scale();
    if (SDL_Cursor* cursor = CursorFor(*m_shape, m_cursorScale); cursor && cursor != SDL_GetCursor()) {
        SDL_SetCursor(cursor);
    }
}

void SdlPresenter::ApplyVisibility() {
    if (m_display->VideoReady()) {
        SDL_ShowCursor(m_visible && m_shape ? SDL_ENABLE : SDL_DISABLE);
    }
}

}  // namespace

std::unique_ptr<Presenter> MakeSdlPresenter(std::shared_ptr<SdlDisplay> display) {
    return std::make_unique<SdlPresenter>(std::move(display));
}

}  // namespace platform
