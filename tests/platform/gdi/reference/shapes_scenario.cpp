// Reference pixels for pens, shapes, regions and flood fill: prints each case as
// ASCII art. Built for Windows with mingw-w64 (x86_64-w64-mingw32-g++-posix -static
// shapes_scenario.cpp -lgdi32) and run under Wine it gave shapes_wine.txt; built
// against this layer (a windows.h that includes platform/windows.h) it gives
// shapes_layer.txt. Not part of the build; README.md says where the two differ.

#include <windows.h>
#include <stdio.h>
#include <string.h>
#include <initializer_list>

static HDC dc; static DWORD* bits; static int W, H; static HBITMAP bmp, oldBmp;
static void Sheet(int w, int h) {
    if (dc) { SelectObject(dc, oldBmp); DeleteObject(bmp); DeleteDC(dc); }
    W = w; H = h;
    dc = CreateCompatibleDC(NULL);
    BITMAPINFO bi = {}; bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w; bi.bmiHeader.biHeight = -h; bi.bmiHeader.biPlanes = 1; bi.bmiHeader.biBitCount = 32;
    bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
    oldBmp = (HBITMAP)SelectObject(dc, bmp);
    for (int i = 0; i < w * h; i++) bits[i] = 0xFFFFFF;
}
static char Ch(DWORD v) {
    v &= 0xFFFFFF;
    if (v == 0xFFFFFF) return '.'; if (v == 0) return 'X'; if (v == 0xFF0000) return 'r';
    if (v == 0x00FF00) return 'g'; if (v == 0x0000FF) return 'b'; if (v == 0xFFFF00) return 'y'; return '?';
}
static void Print(const char* title) {
    printf("== %s\n", title);
    for (int y = 0; y < H; y++) { for (int x = 0; x < W; x++) putchar(Ch(bits[y * W + x])); putchar('\n'); }
}
static void Box(const char* title) {
    int l = W, t = H, r = 0, b = 0;
    for (int y = 0; y < H; y++) for (int x = 0; x < W; x++) if (Ch(bits[y*W+x]) != '.') {
        if (x < l) l = x; if (y < t) t = y; if (x + 1 > r) r = x + 1; if (y + 1 > b) b = y + 1; }
    printf("== %s box %d %d %d %d\n", title, l, t, r, b);
}
static void Line(int a, int b, int c, int d) { MoveToEx(dc, a, b, NULL); LineTo(dc, c, d); }

int main() {
    char t[200];
    int lines[][4] = {{0,0,4,1},{4,1,0,0},{1,0,0,4},{0,2,4,0},{0,0,3,3},{3,2,0,2},{0,0,5,2},{5,2,0,0},{0,0,2,5},{2,5,0,0},{0,4,2,0},{5,0,0,3}};
    for (auto& l : lines) { Sheet(6, 6); Line(l[0], l[1], l[2], l[3]); sprintf(t, "line %d,%d->%d,%d", l[0], l[1], l[2], l[3]); Print(t); }
    int dots[][3] = {{2,3,2},{3,2,2},{4,3,3},{6,4,4},{5,5,5},{8,5,5}};
    for (auto& d : dots) { Sheet(10, 10); HPEN p = CreatePen(PS_SOLID, d[0], 0); SelectObject(dc, p); Line(d[1], d[2], d[1], d[2]); sprintf(t, "dot w%d at %d,%d", d[0], d[1], d[2]); Print(t); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); }
    for (int w : {1,2,3,4,5,6,8,10}) { Sheet(40, 30); HPEN p = CreatePen(PS_SOLID, w, 0); SelectObject(dc, p); Line(10,15,30,15); sprintf(t, "hline w%d", w); Box(t); int col=0; for (int y=0;y<30;y++) col += Ch(bits[y*40+20])=='X'; printf("column %d\n", col); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); }
    { Sheet(9, 9); HPEN p = CreatePen(PS_SOLID, 3, 0); SelectObject(dc, p); Line(2,2,6,6); Print("diag w3"); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); }
    { Sheet(14, 14); HPEN p = CreatePen(PS_SOLID, 4, 0); SelectObject(dc, p); Line(3,3,10,7); Print("slant w4"); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); }
    HBRUSH red = CreateSolidBrush(RGB(255,0,0));
    { Sheet(8, 6); SelectObject(dc, red); Rectangle(dc, 1,1,7,5); Print("rect thin"); }
    { Sheet(8, 6); SelectObject(dc, red); Rectangle(dc, 7,5,1,1); Print("rect reversed"); }
    { Sheet(8, 6); SelectObject(dc, red); SelectObject(dc, GetStockObject(NULL_PEN)); Rectangle(dc, 1,1,7,5); Print("rect nullpen"); }
    { Sheet(8, 6); SelectObject(dc, red); Rectangle(dc, 1,1,3,3); Print("rect 2x2"); }
    { Sheet(8, 6); SelectObject(dc, red); Rectangle(dc, 1,1,2,5); Print("rect 1 wide"); }
    { Sheet(11, 8); SelectObject(dc, red); HPEN p = CreatePen(PS_SOLID, 2, 0); SelectObject(dc, p); Rectangle(dc, 2,2,9,6); Print("rect w2"); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); }
    { Sheet(11, 9); SelectObject(dc, red); HPEN p = CreatePen(PS_SOLID, 3, 0); SelectObject(dc, p); Rectangle(dc, 2,2,9,7); Print("rect w3"); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); }
    for (int w : {4,6,8,10}) { Sheet(60, 60); SelectObject(dc, red); HPEN p = CreatePen(PS_SOLID, w, 0); SelectObject(dc, p); Rectangle(dc, 15,15,45,40); sprintf(t, "rect w%d", w); Box(t); printf("corner %c\n", Ch(bits[(15-w/2)*60 + 15-w/2])); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); }
    { Sheet(12, 10); SelectObject(dc, red); Ellipse(dc, 1,1,11,9); Print("ellipse thin 1,1,11,9"); }
    { Sheet(12, 10); SelectObject(dc, red); SelectObject(dc, GetStockObject(NULL_PEN)); Ellipse(dc, 1,1,11,9); Print("ellipse nullpen"); SelectObject(dc, GetStockObject(BLACK_PEN)); }
    { Sheet(12, 10); SelectObject(dc, red); Ellipse(dc, 1,1,5,5); Print("ellipse 4x4"); }
    { Sheet(24, 20); SelectObject(dc, red); Ellipse(dc, 1,1,22,18); Print("ellipse 21x17"); }
    for (int w : {1,2,3,4,6,8,10}) { Sheet(70, 60); SelectObject(dc, red); HPEN p = CreatePen(PS_SOLID, w, 0); SelectObject(dc, p); Ellipse(dc, 15,12,55,47); sprintf(t, "ellipse w%d", w); Box(t); int a=0,d=0; for (int i=0;i<35;i++) a += Ch(bits[29*70+i])=='X'; for (int i=0;i<29;i++) d += Ch(bits[i*70+34])=='X'; printf("across %d down %d\n", a, d); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); }
    { Sheet(24, 20); SelectObject(dc, red); HPEN p = CreatePen(PS_SOLID, 4, 0); SelectObject(dc, p); Ellipse(dc, 3,3,21,17); Print("ellipse w4 3,3,21,17"); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); }
    { Sheet(16, 3); for (int i=0;i<48;i++) bits[i]=0x00FF00; HPEN p = CreatePen(PS_DOT, 1, 0); SelectObject(dc, p); SetBkColor(dc, RGB(255,255,0)); Line(0,0,15,0); SetBkMode(dc, TRANSPARENT); Line(15,2,0,2); Print("dots"); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); SetBkMode(dc, OPAQUE); }
    int styles[] = {PS_DASH, PS_DASHDOT, PS_DASHDOTDOT};
    for (int st : styles) { Sheet(28, 1); HPEN p = CreatePen(st, 1, 0); SelectObject(dc, p); SetBkMode(dc, TRANSPARENT); POINT pts[] = {{0,0},{10,0},{28,0}}; Polyline(dc, pts, 3); sprintf(t, "style %d", st); Print(t); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); }
    { Sheet(8, 5); for (int i=0;i<40;i++) bits[i]=0xFF0000; HPEN p = CreatePen(PS_DOT, 1, RGB(255,255,255)); SelectObject(dc, p); SelectObject(dc, GetStockObject(NULL_BRUSH)); SetROP2(dc, R2_NOT); Rectangle(dc, 0,0,8,5); SetROP2(dc, R2_COPYPEN); SetBkMode(dc, TRANSPARENT); Rectangle(dc, 0,0,8,5); Print("dotted frame"); SelectObject(dc, GetStockObject(BLACK_PEN)); DeleteObject(p); SetBkMode(dc, OPAQUE); }
    HBRUSH black = (HBRUSH)GetStockObject(BLACK_BRUSH);
    { Sheet(12, 10); HRGN r = CreateRoundRectRgn(0,0,12,10,8,8); FillRgn(dc, r, black); Print("roundrect rgn 12x10 8x8"); Sheet(12,10); FrameRgn(dc, r, black, 2, 2); Print("framergn 2"); DeleteObject(r); }
    { Sheet(10, 8); HRGN r = CreateEllipticRgn(0,0,10,8); FillRgn(dc, r, black); Print("ellipse rgn 10x8"); DeleteObject(r); }
    { Sheet(21, 17); HRGN r = CreateEllipticRgn(0,0,21,17); FillRgn(dc, r, black); Print("ellipse rgn 21x17"); DeleteObject(r); }
    { Sheet(8, 8); POINT tri[] = {{0,0},{8,0},{0,8}}; HRGN r = CreatePolygonRgn(tri, 3, ALTERNATE); FillRgn(dc, r, black); Print("triangle rgn"); DeleteObject(r); }
    { Sheet(10, 10); POINT tri[] = {{1,1},{8,3},{4,9}}; HRGN r = CreatePolygonRgn(tri, 3, ALTERNATE); FillRgn(dc, r, black); Print("slanted triangle rgn"); DeleteObject(r); }
    { Sheet(8, 8); POINT tw[] = {{0,0},{8,0},{8,8},{0,8},{0,0},{2,2},{6,2},{6,6},{2,6},{2,2}}; HRGN r = CreatePolygonRgn(tw, 10, ALTERNATE); FillRgn(dc, r, black); Print("twice alternate"); DeleteObject(r); }
    { HRGN r = CreateRoundRectRgn(0,0,64,48,32,32); RECT b; int k = GetRgnBox(r, &b); printf("== rr32 box %d %d %d %d type %d\n", b.left, b.top, b.right, b.bottom, k);
      for (int y = 0; y < 17; y++) { int x = 0; while (x < 64 && !PtInRegion(r, x, y)) x++; printf("row %d inset %d\n", y, x); }
      Sheet(64, 48); FillRgn(dc, r, black); int bad = 0; for (int y=0;y<48;y++) for (int x=0;x<64;x++) { if (Ch(bits[y*64+x]) != Ch(bits[y*64+63-x])) bad++; if (Ch(bits[y*64+x]) != Ch(bits[(47-y)*64+x])) bad++; } printf("asym %d\n", bad); DeleteObject(r); }
    { HRGN r = CreateRectRgn(2,2,6,5); printf("== pt rect %d %d %d %d %d %d\n", PtInRegion(r,2,2), PtInRegion(r,5,4), PtInRegion(r,6,4), PtInRegion(r,5,5), PtInRegion(r,1,2), PtInRegion(r,2,1)); RECT a = {6,0,9,9}, c = {5,4,9,9}; printf("rectin %d %d\n", RectInRegion(r, &a), RectInRegion(r, &c)); DeleteObject(r); }
    { Sheet(8, 5); const char* pic[] = {"XXXXXXXX","X..X...g","X..X.XXX","XXX..X..","...XXX.b"};
      for (int y=0;y<5;y++) for (int x=0;x<8;x++) { char c = pic[y][x]; bits[y*8+x] = c=='X'?0:c=='g'?0x00FF00:c=='b'?0x0000FF:0xFFFFFF; }
      SelectObject(dc, red); printf("ff=%d\n", ExtFloodFill(dc, 1, 1, RGB(255,255,255), FLOODFILLSURFACE)); printf("ff2=%d\n", ExtFloodFill(dc, 4, 3, RGB(0,0,0), FLOODFILLBORDER)); Print("flood"); }
    return 0;
}
