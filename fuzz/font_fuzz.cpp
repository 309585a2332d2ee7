// Feeds arbitrary bytes to the font loader as a font file would reach it from
// disk, then realises each face it accepts at a few sizes and styles and
// measures and renders a few Windows-1252 characters.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/font.h"

namespace {

const char kSample[] = "Ag\x80\xE9 &\x9F";

void Exercise(const std::string& family, int height, int weight, bool italic) {
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    logFont.lfItalic = italic ? 1 : 0;
    std::strncpy(logFont.lfFaceName, family.c_str(), LF_FACESIZE - 1);
    std::shared_ptr<platform::gdi::FontInstance> font = platform::gdi::RealizeFont(logFont);
    const platform::gdi::FontMetrics& metrics = font->Metrics();
    if (metrics.height < 0 || metrics.ascent < 0)
        __builtin_trap();
    for (const char c : std::string(kSample)) {
        const platform::gdi::GlyphImage& glyph = font->Glyph(static_cast<uint8_t>(c));
        if (glyph.coverage.size() != static_cast<size_t>(glyph.width) * glyph.height) {
            __builtin_trap();
        }
    }
    (void)font->TextWidth(kSample);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> families;
    const int faces = platform::gdi::RegisterFontBytes(
        "fuzz", std::vector<uint8_t>(data, data + size), &families);
    if (faces > 0) {
        for (size_t i = 0; i < families.size() && i < 2; ++i) {
            Exercise(families[i], 13, FW_NORMAL, false);
            Exercise(families[i], -32, FW_BOLD, true);
        }
        platform::gdi::UnregisterFontBytes("fuzz");
    }
    platform::gdi::ForgetFontInstances();
    return 0;
}
