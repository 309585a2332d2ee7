#include "buildtools/art/output.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace art {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutInfoHeader(std::vector<uint8_t>& out, int width, int height, int bits, int colours,
                   uint32_t imageSize) {
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0);
    Put32(out, imageSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, static_cast<uint32_t>(colours));
    Put32(out, 0);
}

// The packed bitmap (info header, colours, rows bottom-up) with a file header in front.
std::vector<uint8_t> WithFileHeader(const std::vector<uint8_t>& packed, int colours) {
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, static_cast<uint32_t>(14 + packed.size()));
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(14 + 40 + colours * 4));
    out.insert(out.end(), packed.begin(), packed.end());
    return out;
}

std::vector<uint8_t> Packed24(const Canvas& canvas) {
    const int w = canvas.Width();
    const int h = canvas.Height();
    const int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> out;
    PutInfoHeader(out, w, h, 24, 0, static_cast<uint32_t>(stride * h));
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t c = canvas.Get(x, y);
            out.push_back(c & 0xFF);
            out.push_back((c >> 8) & 0xFF);
            out.push_back((c >> 16) & 0xFF);
        }
        for (int pad = w * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

// 8 bits per pixel with a palette of the picture's most frequent colours; a
// picture of at most 256 colours keeps every one exactly.
std::vector<uint8_t> Packed8(const Canvas& canvas) {
    const int w = canvas.Width();
    const int h = canvas.Height();
    std::map<uint32_t, int> counts;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) ++counts[canvas.Get(x, y)];
    }
    std::vector<std::pair<int, uint32_t>> byCount;
    if (counts.size() > 256) {
        // Too many colours: count them again at five bits a channel.
        std::map<uint32_t, int> coarse;
        for (const auto& [c, n] : counts) coarse[c & 0xF8F8F8] += n;
        counts = coarse;
    }
    for (const auto& [c, n] : counts) byCount.push_back({-n, c});
    std::sort(byCount.begin(), byCount.end());
    std::vector<uint32_t> palette;
    for (size_t i = 0; i < byCount.size() && palette.size() < 256; ++i) {
        palette.push_back(byCount[i].second);
    }
    std::map<uint32_t, uint8_t> nearest;
    auto indexOf = [&](uint32_t c) {
        auto found = nearest.find(c);
        if (found != nearest.end()) return found->second;
        int best = 0;
        int bestDistance = 1 << 30;
        for (size_t i = 0; i < palette.size(); ++i) {
            const int dr = static_cast<int>((c >> 16) & 0xFF) - static_cast<int>((palette[i] >> 16) & 0xFF);
            const int dg = static_cast<int>((c >> 8) & 0xFF) - static_cast<int>((palette[i] >> 8) & 0xFF);
            const int db = static_cast<int>(c & 0xFF) - static_cast<int>(palette[i] & 0xFF);
            const int d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
            if (d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(i);
            }
        }
        nearest[c] = static_cast<uint8_t>(best);
        return static_cast<uint8_t>(best);
    };
    const int stride = (w + 3) & ~3;
    std::vector<uint8_t> out;
    PutInfoHeader(out, w, h, 8, 256, static_cast<uint32_t>(stride * h));
    for (int i = 0; i < 256; ++i) Put32(out, i < static_cast<int>(palette.size()) ? palette[i] : 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) out.push_back(indexOf(canvas.Get(x, y)));
        for (int pad = w; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

std::string Name(Pack pack, int id, const char* extension) {
    char name[64];
    std::snprintf(name, sizeof name, "%s%05d.%s", pack == Pack::Program ? "p" : "m", id, extension);
    return name;
}

}  // namespace

bool Output::WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = m_folder + "/" + name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file != nullptr && std::fclose(file) != 0) ok = false;
    if (!ok) {
        std::fprintf(stderr, "tavelin_art: cannot write %s\n", path.c_str());
        m_failed = true;
    }
    return ok;
}

bool Output::WriteBmpFile(const std::string& path, const Canvas& canvas, int bitsPerPixel) {
    const std::vector<uint8_t> bytes = bitsPerPixel == 8 ? WithFileHeader(Packed8(canvas), 256)
                                                          : WithFileHeader(Packed24(canvas), 0);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    bool ok = file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file != nullptr && std::fclose(file) != 0) ok = false;
    return ok;
}

void Output::Remember(const std::string& label, const Canvas& canvas, COLORREF key) {
    Shown shown;
    shown.label = label;
    shown.width = canvas.Width();
    shown.height = canvas.Height();
    const uint32_t keyRgb = key == kNone ? 0xFFFFFFFFu
                                         : (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            const uint32_t c = canvas.Get(x, y);
            shown.rgb.push_back(c == keyRgb ? 0xFF000000u : c);
        }
    }
    m_gallery.push_back(std::move(shown));
}

void Output::Picture(Pack pack, int id, const Canvas& canvas, int bitsPerPixel) {
    const std::string name = Name(pack, id, "bmp");
    const std::vector<uint8_t> bytes = bitsPerPixel == 8 ? WithFileHeader(Packed8(canvas), 256)
                                                          : WithFileHeader(Packed24(canvas), 0);
    WriteFile(name, bytes);
    (pack == Pack::Program ? m_program : m_module).push_back("BITMAP " + std::to_string(id) + " " + name);
    Remember((pack == Pack::Program ? "" : "m") + std::to_string(id), canvas, kNone);
}

void Output::Mask(Pack pack, int id, int width, int height, const std::vector<bool>& opaque) {
    const int stride = ((width + 31) / 32) * 4;
    std::vector<uint8_t> packed;
    PutInfoHeader(packed, width, height, 1, 2, static_cast<uint32_t>(stride * height));
    Put32(packed, 0x000000);
    Put32(packed, 0xFFFFFF);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            if (!opaque[y * width + x]) row[x / 8] |= 0x80 >> (x % 8);
        }
        packed.insert(packed.end(), row.begin(), row.end());
    }
    const std::string name = Name(pack, id, "bmp");
    WriteFile(name, WithFileHeader(packed, 2));
    (pack == Pack::Program ? m_program : m_module).push_back("BITMAP " + std::to_string(id) + " " + name);
}

void Output::Cursor(int id, const Canvas& canvas, COLORREF key, int hotX, int hotY) {
    const int w = canvas.Width();
    const int h = canvas.Height();
    const uint32_t keyRgb = (GetRValue(key) << 16) | (GetGValue(key) << 8) | GetBValue(key);
    const int andStride = ((w + 31) / 32) * 4;
    std::vector<uint8_t> image;
    PutInfoHeader(image, w, h * 2, 32, 0, static_cast<uint32_t>((w * 4 + andStride) * h));
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t c = canvas.Get(x, y);
            Put32(image, c == keyRgb ? 0 : (0xFF000000u | c));
        }
    }
    for (int y = h - 1; y >= 0; --y) {
        std::vector<uint8_t> row(andStride, 0);
        for (int x = 0; x < w; ++x) {
            if (canvas.Get(x, y) == keyRgb) row[x / 8] |= 0x80 >> (x % 8);
        }
        image.insert(image.end(), row.begin(), row.end());
    }
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 2);
    Put16(file, 1);
    file.push_back(static_cast<uint8_t>(w));
    file.push_back(static_cast<uint8_t>(h));
    file.push_back(0);
    file.push_back(0);
    Put16(file, static_cast<uint32_t>(hotX));
    Put16(file, static_cast<uint32_t>(hotY));
    Put32(file, static_cast<uint32_t>(image.size()));
    Put32(file, 22);
    file.insert(file.end(), image.begin(), image.end());
    const std::string name = Name(Pack::Program, id, "cur");
    WriteFile(name, file);
    m_program.push_back("CURSOR " + std::to_string(id) + " " + name);
    Remember("c" + std::to_string(id), canvas, key);
}

bool Output::WriteManifests(const std::string& programManifest, const std::string& moduleManifest) {
    auto write = [&](const std::string& path, const std::vector<std::string>& lines) {
        std::string text = "# Written by tavelin_art.\n";
        for (const std::string& line : lines) text += line + "\n";
        std::FILE* file = std::fopen(path.c_str(), "wb");
        bool ok = file != nullptr && std::fwrite(text.data(), 1, text.size(), file) == text.size();
        if (file != nullptr && std::fclose(file) != 0) ok = false;
        return ok;
    };
    return write(programManifest, m_program) && write(moduleManifest, m_module);
}

}  // namespace art
