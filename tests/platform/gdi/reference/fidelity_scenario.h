// Reference scenario for wide pens, ellipses, small regions, stretching and
// monochrome targets. The same code runs as a Windows program (fidelity_main.cpp,
// built with mingw-w64) and inside the tests on this layer; each case appends a
// title line and its pixels to one text, so the two outputs compare line by line.
//
// Pixels are written a row per line as "y runs", runs being a character and a
// count ('.' white, 'X' black, 'r' red, '?' anything else), with the trailing
// white run left out and empty rows skipped. Stretch cases print pixel values.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/windows.h"
#endif

#include <cstdio>
#include <string>
#include <vector>

namespace fidelity {

struct Size {
    int w;
    int h;
};

// Ellipse and region sizes from 1 x 1 to 64 x 48, odd and even.
inline const std::vector<Size>& Sizes() {
    static const std::vector<Size> sizes{{1, 1},   {2, 2},   {3, 3},   {4, 4},   {5, 5},
                                         {2, 5},   {6, 4},   {7, 7},   {8, 8},   {9, 7},
                                         {10, 8},  {12, 12}, {13, 11}, {16, 16}, {21, 17},
                                         {24, 18}, {31, 31}, {40, 32}, {41, 33}, {63, 47},
                                         {64, 48}};
    return sizes;
}

// A memory context on a top-down DIB section of 1, 8 or 32 bits, or on a
// monochrome device-dependent bitmap (bits 0). The 8-bit palette is the 256
// greys with pure red in place of grey 1, so that every colour the shapes
// draw has its own entry.
class Target {
public:
    Target(int width, int height, int bits = 32) : m_width(width), m_height(height) {
        m_dc = CreateCompatibleDC(nullptr);
        if (bits == 0) {
            m_bitmap = CreateBitmap(width, height, 1, 1, nullptr);
        } else {
            struct {
                BITMAPINFOHEADER header;
                RGBQUAD colours[256];
            } info{};
            info.header.biSize = sizeof(BITMAPINFOHEADER);
            info.header.biWidth = width;
            info.header.biHeight = -height;
            info.header.biPlanes = 1;
            info.header.biBitCount = static_cast<WORD>(bits);
            info.header.biCompression = BI_RGB;
            for (int i = 0; i < 256; ++i) {
                const BYTE grey = static_cast<BYTE>(bits == 1 ? (i == 0 ? 0 : 255) : i);
                info.colours[i] = RGBQUAD{grey, grey, grey, 0};
                if (bits == 8 && i == 1) info.colours[i] = RGBQUAD{0, 0, 255, 0};
            }
            void* bits32 = nullptr;
            m_bitmap = CreateDIBSection(m_dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                        &bits32, nullptr, 0);
            if (bits == 32) m_bits = static_cast<DWORD*>(bits32);
        }
        m_old = SelectObject(m_dc, m_bitmap);
        PatBlt(m_dc, 0, 0, width, height, WHITENESS);
    }
    ~Target() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;

    HDC Dc() const { return m_dc; }
    DWORD* Bits() const { return m_bits; }

    char CharAt(int x, int y) const {
        const COLORREF c = m_bits != nullptr ? Swap(m_bits[y * m_width + x]) : GetPixel(m_dc, x, y);
        if (c == RGB(255, 255, 255)) return '.';
        if (c == RGB(0, 0, 0)) return 'X';
        if (c == RGB(255, 0, 0)) return 'r';
        return '?';
    }
    std::string Runs() const {
        std::string text;
        for (int y = 0; y < m_height; ++y) {
            std::string row;
            char current = '.';
            int count = 0;
            int end = m_width;
            while (end > 0 && CharAt(end - 1, y) == '.') --end;
            if (end == 0) continue;
            for (int x = 0; x <= end; ++x) {
                const char c = x < end ? CharAt(x, y) : '\0';
                if (x > 0 && c == current) {
                    ++count;
                    continue;
                }
                if (x > 0) row += current + std::to_string(count);
                current = c;
                count = 1;
            }
            text += std::to_string(y) + " " + row + "\n";
        }
        return text;
    }

private:
    static COLORREF Swap(DWORD v) { return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF); }
    int m_width;
    int m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    DWORD* m_bits = nullptr;
};

class Scenario {
public:
    std::string text;
    // The depth of the targets of the pens, ellipses and regions; the
    // reference draws them at 32 bits.
    int shapeBits = 32;

    void Case(const std::string& title, const std::string& body) {
        text += "== " + title + "\n" + body;
    }

    void Pens() {
        for (int w = 1; w <= 10; ++w) {
            const std::string suffix = " w" + std::to_string(w);
            Stroke("line45" + suffix, w, {{8, 8}, {32, 32}});
            Stroke("slant" + suffix, w, {{6, 10}, {36, 24}});
            Stroke("poly" + suffix, w, {{6, 36}, {20, 8}, {36, 36}, {38, 20}});
            Frame("rect" + suffix, w, RECT{12, 12, 36, 32});
            Frame("rectsmall" + suffix, w, RECT{14, 14, 19, 18});
        }
    }

    void Ellipses() {
        for (const Size& s : Sizes()) {
            const std::string size = std::to_string(s.w) + "x" + std::to_string(s.h);
            for (int w = 0; w <= 10; ++w) {
                Target t(s.w + 16, s.h + 16, shapeBits);
                HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
                HPEN pen = w == 0 ? static_cast<HPEN>(GetStockObject(NULL_PEN))
                                  : CreatePen(PS_SOLID, w, RGB(0, 0, 0));
                HGDIOBJ oldBrush = SelectObject(t.Dc(), red);
                HGDIOBJ oldPen = SelectObject(t.Dc(), pen);
                Ellipse(t.Dc(), 8, 8, 8 + s.w, 8 + s.h);
                SelectObject(t.Dc(), oldBrush);
                SelectObject(t.Dc(), oldPen);
                DeleteObject(red);
                DeleteObject(pen);
                Case("ellipse " + size + (w == 0 ? std::string(" nullpen") : " w" + std::to_string(w)),
                     t.Runs());
            }
        }
    }

    void Regions() {
        for (const Size& s : Sizes()) {
            const std::string size = std::to_string(s.w) + "x" + std::to_string(s.h);
            Fill("ellrgn " + size, s, CreateEllipticRgn(2, 2, 2 + s.w, 2 + s.h));
            const Size corners[] = {{4, 4}, {7, 5}, {s.w / 2, s.h / 2}, {s.w, s.h}};
            for (const Size& c : corners) {
                Fill("rrrgn " + size + " " + std::to_string(c.w) + "x" + std::to_string(c.h), s,
                     CreateRoundRectRgn(2, 2, 2 + s.w, 2 + s.h, c.w, c.h));
            }
            const char* ops[] = {"", "and", "or", "xor", "diff"};
            for (int op = RGN_AND; op <= RGN_DIFF; ++op) {
                HRGN a = CreateEllipticRgn(2, 2, 2 + s.w, 2 + s.h);
                HRGN b = CreateRoundRectRgn(2 + s.w / 3, 2 + s.h / 3, 2 + s.w, 2 + s.h, 6, 6);
                CombineRgn(a, a, b, op);
                DeleteObject(b);
                Fill("combine " + size + " " + ops[op], s, a);
            }
            for (int fw = 1; fw <= 2; ++fw) {
                Target t(s.w + 4, s.h + 4, shapeBits);
                HRGN r = CreateEllipticRgn(2, 2, 2 + s.w, 2 + s.h);
                FrameRgn(t.Dc(), r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)), fw, fw + 1);
                DeleteObject(r);
                Case("framergn " + size + " " + std::to_string(fw), t.Runs());
            }
        }
    }

    void Stretching() {
        const Size pairs[] = {{3, 10}, {10, 3}, {5, 7},  {7, 5},  {2, 5},  {5, 2},
                              {4, 9},  {9, 4},  {13, 6}, {6, 13}, {1, 4},  {16, 5},
                              {3, 8},  {8, 3},  {11, 4}, {4, 11}, {3, -10}, {10, -3}};
        const int modes[] = {COLORONCOLOR, BLACKONWHITE, WHITEONBLACK};
        for (int mode : modes) {
            for (const Size& p : pairs) {
                for (int vertical = 0; vertical <= 1; ++vertical) Stretch32(p.w, p.h, mode, vertical);
                StretchMono(p.w, p.h, mode);
            }
        }
    }

    void Monochrome() {
        const COLORREF colours[] = {RGB(0, 0, 0),       RGB(255, 255, 255), RGB(240, 240, 240),
                                    RGB(128, 128, 128), RGB(127, 127, 127), RGB(192, 192, 192),
                                    RGB(64, 64, 64),    RGB(32, 32, 32),    RGB(224, 224, 224),
                                    RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(0, 0, 255),
                                    RGB(255, 255, 0),   RGB(200, 100, 50),  RGB(100, 150, 200)};
        for (int bits : {0, 1}) {
            for (COLORREF c : colours) {
                Target t(16, 18, bits);
                SetPixel(t.Dc(), 0, 0, c);
                HPEN pen = CreatePen(PS_SOLID, 1, c);
                HGDIOBJ oldPen = SelectObject(t.Dc(), pen);
                MoveToEx(t.Dc(), 0, 1, nullptr);
                LineTo(t.Dc(), 16, 1);
                SelectObject(t.Dc(), oldPen);
                DeleteObject(pen);
                HBRUSH brush = CreateSolidBrush(c);
                RECT area{0, 2, 16, 18};
                FillRect(t.Dc(), &area, brush);
                DeleteObject(brush);
                char title[64];
                std::snprintf(title, sizeof title, "mono%s %06lx", bits == 0 ? "ddb" : "dib",
                              static_cast<unsigned long>(c));
                Case(title, t.Runs());
            }
        }
    }

private:
    void Stroke(const std::string& title, int width, const std::vector<POINT>& points) {
        Target t(44, 44, shapeBits);
        HPEN pen = CreatePen(PS_SOLID, width, RGB(0, 0, 0));
        HGDIOBJ old = SelectObject(t.Dc(), pen);
        Polyline(t.Dc(), points.data(), static_cast<int>(points.size()));
        SelectObject(t.Dc(), old);
        DeleteObject(pen);
        Case(title, t.Runs());
    }

    void Frame(const std::string& title, int width, const RECT& box) {
        Target t(48, 44, shapeBits);
        HPEN pen = CreatePen(PS_SOLID, width, RGB(0, 0, 0));
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        HGDIOBJ oldPen = SelectObject(t.Dc(), pen);
        HGDIOBJ oldBrush = SelectObject(t.Dc(), red);
        Rectangle(t.Dc(), box.left, box.top, box.right, box.bottom);
        SelectObject(t.Dc(), oldPen);
        SelectObject(t.Dc(), oldBrush);
        DeleteObject(pen);
        DeleteObject(red);
        Case(title, t.Runs());
    }

    void Fill(const std::string& title, const Size& s, HRGN region) {
        Target t(s.w + 4, s.h + 4, shapeBits);
        FillRgn(t.Dc(), region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        DeleteObject(region);
        Case(title, t.Runs());
    }

    static std::string Title(const char* kind, int from, int to, int mode) {
        return std::string(kind) + " " + std::to_string(from) + "->" + std::to_string(to) +
               " mode" + std::to_string(mode);
    }

    // A row (or column) of distinct bits stretched: the values show which
    // source pixels each destination pixel took or merged.
    void Stretch32(int from, int to, int mode, int vertical) {
        const int length = to < 0 ? -to : to;
        Target source(vertical ? 1 : from, vertical ? from : 1);
        Target dest(vertical ? 1 : length, vertical ? length : 1);
        for (int i = 0; i < from; ++i) source.Bits()[i] = (1u << i) | 0x800000;
        SetStretchBltMode(dest.Dc(), mode);
        const int x = to < 0 ? length - 1 : 0;
        if (vertical) {
            StretchBlt(dest.Dc(), 0, x, 1, to, source.Dc(), 0, 0, 1, from, SRCCOPY);
        } else {
            StretchBlt(dest.Dc(), x, 0, to, 1, source.Dc(), 0, 0, from, 1, SRCCOPY);
        }
        std::string body;
        char value[16];
        for (int i = 0; i < length; ++i) {
            std::snprintf(value, sizeof value, "%lx ", static_cast<unsigned long>(dest.Bits()[i] & 0xFFFFFF));
            body += value;
        }
        Case(Title(vertical ? "stretch32v" : "stretch32", from, to, mode), body + "\n");
    }

    void StretchMono(int from, int to, int mode) {
        const int length = to < 0 ? -to : to;
        Target source(from, 2, 0);
        Target dest(length, 2, 0);
        for (int i = 0; i < from; ++i) {
            SetPixel(source.Dc(), i, 0, i % 2 == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255));
            SetPixel(source.Dc(), i, 1, i % 3 == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0));
        }
        SetStretchBltMode(dest.Dc(), mode);
        StretchBlt(dest.Dc(), to < 0 ? length - 1 : 0, 0, to, 2, source.Dc(), 0, 0, from, 2, SRCCOPY);
        Case(Title("stretchmono", from, to, mode), dest.Runs());
    }
};

inline std::string Run() {
    Scenario s;
    s.Pens();
    s.Ellipses();
    s.Regions();
    s.Stretching();
    s.Monochrome();
    return s.text;
}

}  // namespace fidelity
