// Where the pictures go: BMP and cursor files in the output folder, a line in
// the manifest of the pack that holds them, and a copy for the contact sheet.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "buildtools/art/canvas.h"

namespace art {

enum class Pack { Program, Module };

// One picture as the contact sheet shows it.
struct Shown {
    std::string label;
    int width = 0;
    int height = 0;
    std::vector<uint32_t> rgb;  // 0x00RRGGBB, or 0xFF000000 for a transparent pixel
};

class Output {
public:
    explicit Output(std::string folder) : m_folder(std::move(folder)) {}

    // A 24-bit picture, or an 8-bit one with the picture's own palette.
    void Picture(Pack pack, int id, const Canvas& canvas, int bitsPerPixel = 24);
    // A monochrome mask: black where opaque[i] is set, white elsewhere.
    void Mask(Pack pack, int id, int width, int height, const std::vector<bool>& opaque);
    // A 32 x 32 cursor; pixels of the key colour are transparent.
    void Cursor(int id, const Canvas& canvas, COLORREF key, int hotX, int hotY);

    // Writes the two manifests; false when a file could not be written.
    bool WriteManifests(const std::string& programManifest, const std::string& moduleManifest);
    bool Failed() const { return m_failed; }
    const std::vector<Shown>& Gallery() const { return m_gallery; }
    // A 24-bit BMP of the canvas written anywhere, for the contact sheet.
    static bool WriteBmpFile(const std::string& path, const Canvas& canvas, int bitsPerPixel);

private:
    void Remember(const std::string& label, const Canvas& canvas, COLORREF key);
    bool WriteFile(const std::string& name, const std::vector<uint8_t>& bytes);

    std::string m_folder;
    std::vector<std::string> m_program;
    std::vector<std::string> m_module;
    std::vector<Shown> m_gallery;
    bool m_failed = false;
};

}  // namespace art
