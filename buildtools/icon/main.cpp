// tavelin_icon: draws the program's icon for the desktop, as SVG and as PNG
// files at the sizes of the hicolor theme, and turns the program's BMP
// screenshots into the PNG files that the software centres show.
//   tavelin_icon --icon DIR        writes DIR/tavelin.svg and DIR/NxN/tavelin.png
//   tavelin_icon --png IN.bmp OUT.png
//   tavelin_icon --window-icon OUT.bmp   the window's icon, 64 x 64 with alpha
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kIconSizes[] = {48, 64, 128, 256};

void SetColour(cairo_t* cr, uint32_t rgb) {
    cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                         (rgb & 0xFF) / 255.0);
}

void RoundedSquare(cairo_t* cr, double x, double y, double size, double radius) {
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + size - radius, y + radius, radius, -kPi / 2, 0);
    cairo_arc(cr, x + size - radius, y + size - radius, radius, 0, kPi / 2);
    cairo_arc(cr, x + radius, y + size - radius, radius, kPi / 2, kPi);
    cairo_arc(cr, x + radius, y + radius, radius, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

// The painter's palette: a wooden oval with a thumb hole and six blobs of paint.
void DrawPalette(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 60, 70);
    cairo_scale(cr, 1.0, 0.78);
    cairo_arc(cr, 0, 0, 44, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_new_sub_path(cr);
    cairo_arc_negative(cr, 40, 86, 9, 2 * kPi, 0);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    SetColour(cr, 0xF2C27A);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 3.5);
    SetColour(cr, 0x7A4A1E);
    cairo_stroke(cr);
    const struct {
        double x, y;
        uint32_t rgb;
    } blobs[] = {{38, 56, 0xE53935}, {56, 46, 0xFDD835}, {76, 50, 0x43A047},
                 {90, 66, 0x1E88E5}, {84, 84, 0x8E24AA}, {62, 92, 0xFB8C00}};
    for (const auto& blob : blobs) {
        cairo_arc(cr, blob.x, blob.y, 7.5, 0, 2 * kPi);
        SetColour(cr, blob.rgb);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1.5);
        SetColour(cr, 0x5A3414);
        cairo_stroke(cr);
    }
}

// The brush lies across the palette, its tip wet with red.
void DrawBrush(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 64, 64);
    cairo_rotate(cr, -kPi / 4);
    cairo_rectangle(cr, -5, -6, 10, 56);  // the handle
    SetColour(cr, 0x1565C0);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 2);
    SetColour(cr, 0x0D2F5E);
    cairo_stroke(cr);
    cairo_rectangle(cr, -6, -16, 12, 10);  // the ferrule
    SetColour(cr, 0xB0BEC5);
    cairo_fill_preserve(cr);
    SetColour(cr, 0x455A64);
    cairo_stroke(cr);
    cairo_move_to(cr, -6, -16);  // the bristles
    cairo_curve_to(cr, -8, -30, -2, -40, 0, -46);
    cairo_curve_to(cr, 2, -40, 8, -30, 6, -16);
    cairo_close_path(cr);
    SetColour(cr, 0xE53935);
    cairo_fill_preserve(cr);
    SetColour(cr, 0x8B1A1A);
    cairo_stroke(cr);
    cairo_restore(cr);
}

// The whole icon on a 128-unit square; the caller scales it.
void DrawIcon(cairo_t* cr) {
    RoundedSquare(cr, 4, 4, 120, 22);
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 4, 0, 124);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.55, 0.85, 1.0);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.25, 0.60, 0.95);
    cairo_set_source(cr, sky);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(sky);
    cairo_set_line_width(cr, 3);
    SetColour(cr, 0x1A4E8C);
    cairo_stroke(cr);
    DrawPalette(cr);
    DrawBrush(cr);
}

bool WriteIcons(const std::filesystem::path& dir) {
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    const std::string svgPath = (dir / "tavelin.svg").string();
    cairo_surface_t* svg = cairo_svg_surface_create(svgPath.c_str(), 128, 128);
    cairo_t* cr = cairo_create(svg);
    DrawIcon(cr);
    cairo_destroy(cr);
    cairo_surface_finish(svg);
    bool ok = cairo_surface_status(svg) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(svg);
    for (int size : kIconSizes) {
        const std::filesystem::path sizeDir =
            dir / (std::to_string(size) + "x" + std::to_string(size));
        std::filesystem::create_directories(sizeDir, error);
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        cr = cairo_create(image);
        cairo_scale(cr, size / 128.0, size / 128.0);
        DrawIcon(cr);
        cairo_destroy(cr);
        ok = ok && cairo_surface_write_to_png(image, (sizeDir / "tavelin.png").c_str()) ==
                       CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(image);
    }
    return ok;
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A 32-bit BMP with straight alpha in the top byte, as SDL_LoadBMP reads it.
bool WriteWindowIcon(const char* out) {
    constexpr int kSize = 64;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
    cairo_t* cr = cairo_create(image);
    cairo_scale(cr, kSize / 128.0, kSize / 128.0);
    DrawIcon(cr);
    cairo_destroy(cr);
    cairo_surface_flush(image);
    std::vector<uint8_t> bytes(54 + kSize * kSize * 4);
    bytes[0] = 'B';
    bytes[1] = 'M';
    Put32(bytes, 2, static_cast<uint32_t>(bytes.size()));
    Put32(bytes, 10, 54);
    Put32(bytes, 14, 40);
    Put32(bytes, 18, kSize);
    Put32(bytes, 22, kSize);
    bytes[26] = 1;
    bytes[28] = 32;
    const uint8_t* pixels = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < kSize; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(pixels + static_cast<size_t>(stride) * y);
        for (int x = 0; x < kSize; ++x) {
            // Cairo keeps colours multiplied by alpha; the file keeps them plain.
            const uint32_t p = row[x];
            const uint32_t alpha = p >> 24;
            uint32_t plain = 0;
            for (int shift : {16, 8, 0}) {
                const uint32_t c = (p >> shift) & 0xFF;
                plain |= (alpha ? std::min<uint32_t>(255, c * 255 / alpha) : 0) << shift;
            }
            Put32(bytes, 54 + (static_cast<size_t>(kSize - 1 - y) * kSize + x) * 4, alpha << 24 | plain);
        }
    }
    cairo_surface_destroy(image);
    std::ofstream file(out, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file);
}

uint32_t Read32(const std::vector<uint8_t>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
}

// The program's screenshots are uncompressed 24- or 32-bit BMP files.
bool ConvertBmp(const char* in, const char* out) {
    std::ifstream file(in, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), {});
    if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const uint32_t offset = Read32(bytes, 10);
    const int32_t width = static_cast<int32_t>(Read32(bytes, 18));
    const int32_t rawHeight = static_cast<int32_t>(Read32(bytes, 22));
    const int bits = bytes[28] | bytes[29] << 8;
    const uint32_t compression = Read32(bytes, 30);
    const int32_t height = rawHeight < 0 ? -static_cast<int64_t>(rawHeight) : rawHeight;
    if ((bits != 24 && bits != 32) || (compression != 0 && compression != 3) || width <= 0 ||
        width > 8192 || height <= 0 || height > 8192) {
        return false;
    }
    const size_t stride = (static_cast<size_t>(width) * bits / 8 + 3) & ~size_t(3);
    if (offset > bytes.size() || bytes.size() - offset < stride * height) return false;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    uint8_t* pixels = cairo_image_surface_get_data(image);
    const int outStride = cairo_image_surface_get_stride(image);
    for (int y = 0; y < height; ++y) {
        const int fileRow = rawHeight < 0 ? y : height - 1 - y;
        const uint8_t* row = bytes.data() + offset + stride * fileRow;
        auto* target = reinterpret_cast<uint32_t*>(pixels + static_cast<size_t>(outStride) * y);
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = row + static_cast<size_t>(x) * (bits / 8);
            target[x] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
        }
    }
    cairo_surface_mark_dirty(image);
    const bool ok = cairo_surface_write_to_png(image, out) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(image);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && strcmp(argv[1], "--icon") == 0) {
        if (WriteIcons(argv[2])) return 0;
        fprintf(stderr, "tavelin_icon: cannot write the icons in %s\n", argv[2]);
        return 1;
    }
    if (argc == 3 && strcmp(argv[1], "--window-icon") == 0) {
        if (WriteWindowIcon(argv[2])) return 0;
        fprintf(stderr, "tavelin_icon: cannot write %s\n", argv[2]);
        return 1;
    }
    if (argc == 4 && strcmp(argv[1], "--png") == 0) {
        if (ConvertBmp(argv[2], argv[3])) return 0;
        fprintf(stderr, "tavelin_icon: %s is not a 24- or 32-bit BMP file, or %s cannot be written\n",
                argv[2], argv[3]);
        return 1;
    }
    fprintf(stderr, "usage: tavelin_icon --icon DIR | --window-icon OUT.bmp | --png IN.bmp OUT.png\n");
    return 2;
}
