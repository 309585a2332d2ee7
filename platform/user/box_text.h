// The plain face with which the layer writes its own boxes: a free sans-serif
// font of the desktop drawn through FreeType, grey levels blended into the
// framebuffer.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/dc.h"

namespace platform::user {

class BoxText {
public:
    // Opens the face at a pixel height; false when no face could be had, in
    // which case the text is drawn as plain blocks so that the box still shows.
    bool Open(int pixelHeight);
    ~BoxText();
    int LineHeight() const { return m_lineHeight; }
    int Width(const std::string& text1252);
    void Draw(gdi::Surface& surface, int x, int y, const std::string& text1252, uint32_t rgb);
    // Breaks text at line feeds and between words to fit a width; a word
    // wider than a line is broken between its characters.
    std::vector<std::string> Wrap(const std::string& text1252, int width);

private:
    std::string BreakWord(const std::string& word, int width, std::vector<std::string>& lines);
    void* m_library = nullptr;
    void* m_face = nullptr;
    int m_lineHeight = 16;
    int m_ascent = 12;
};


}  // namespace platform::user
