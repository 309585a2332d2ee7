// Printing a picture on the default printer: the printer from the profile,
// one document of one page, the scaling and margin rules, the half-size
// retry and the messages for what went wrong.
#include "storage/printing.h"

#include <algorithm>
#include <cstring>

#include "graphics/surface.h"
#include "shell/app.h"
#include "shell/messages.h"
#include "storage/picture_files.h"

bool g_widePage = false;
long g_lastPrintResult = 0;

namespace {

// The printer while a page is open, and the surface it replaced.
HDC g_printer = nullptr;
HDC g_replacedSurface = nullptr;

constexpr int kDeviceSettingSize = 260;

int Width(const RECT& rect) {
    return rect.right - rect.left;
}

int Height(const RECT& rect) {
    return rect.bottom - rect.top;
}

int MessageFor(long code) {
    switch (code) {
        case kPrintedReduced: return 46;
        case kPortraitPageRefused: return 45;
        case kWidePageRefused: return 47;
        case kNoDefaultPrinter: return 49;
        case kBadPrinterSetting: return 50;
        case SP_OUTOFDISK: return 43;
        case SP_OUTOFMEMORY: return 44;
        default: return 42;
    }
}

// Draws the picture enlarged and placed, or at half size when the printer
// refuses it, and ends the page; a page that took no picture is abandoned.
long DrawOnPage(HGLOBAL block, int width, int height, PageHook hook, int reductionAllowed) {
    RECT rect{0, 0, width, height};
    ScaleToPage(g_printer, rect);
    PlaceOnPage(g_printer, rect);
    long code = 0;
    if (DrawDib(g_printer, rect.left, rect.top, Width(rect), Height(rect), block, 0, 0, width,
                height, SRCCOPY) == 0) {
        code = g_widePage ? kWidePageRefused : kPortraitPageRefused;
        if (code == kPortraitPageRefused && reductionAllowed != 0) {
            const RECT half{rect.left, rect.top, rect.left + Width(rect) / 2,
                            rect.top + Height(rect) / 2};
            if (DrawDib(g_printer, half.left, half.top, Width(half), Height(half), block, 0, 0,
                        width, height, SRCCOPY) != 0) {
                code = kPrintedReduced;
                rect = half;
            }
        }
    }
    if (hook != nullptr) {
        const RECT page{0, 0, GetDeviceCaps(g_printer, HORZRES), GetDeviceCaps(g_printer, VERTRES)};
        hook(rect, page);
    }
    if (code == kPortraitPageRefused || code == kWidePageRefused) {
        AbandonPrintPage();
        return code;
    }
    const long ended = EndPrintPage();
    return ended != 0 ? ended : code;
}

}  // namespace

HDC OpenDefaultPrinter() {
    char setting[kDeviceSettingSize] = "";
    GetProfileStringA("windows", "device", "", setting, kDeviceSettingSize);
    if (setting[0] == '\0') {
        g_lastPrintResult = kNoDefaultPrinter;
        return nullptr;
    }
    // The printer's name, its driver and its port.
    char* driver = strchr(setting, ',');
    char* port = driver != nullptr ? strchr(driver + 1, ',') : nullptr;
    if (port == nullptr) {
        g_lastPrintResult = kBadPrinterSetting;
        return nullptr;
    }
    *driver++ = '\0';
    *port++ = '\0';
    HDC printer = CreateDCA(driver, setting, port, nullptr);
    if (printer == nullptr) g_lastPrintResult = kNoPrinterContext;
    return printer;
}

long StartPrintPage(const char* documentName) {
    HDC printer = OpenDefaultPrinter();
    if (printer == nullptr) return g_lastPrintResult;
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = documentName;
    if (StartDocA(printer, &document) < 1) {
        DeleteDC(printer);
        return kStartDocFailed;
    }
    if (StartPage(printer) < 1) {
        AbortDoc(printer);
        DeleteDC(printer);
        return kStartPageFailed;
    }
    g_printer = printer;
    g_replacedSurface = g_currentSurface;
    g_currentSurface = printer;
    return 0;
}

long EndPrintPage() {
    g_currentSurface = g_replacedSurface;
    long code = 0;
    if (EndPage(g_printer) < 1) {
        AbortDoc(g_printer);
        code = kEndPageFailed;
    } else {
        const int ended = EndDoc(g_printer);
        if (ended < 0) code = ended;
    }
    DeleteDC(g_printer);
    g_printer = nullptr;
    return code;
}

void AbandonPrintPage() {
    g_currentSurface = g_replacedSurface;
    AbortDoc(g_printer);
    DeleteDC(g_printer);
    g_printer = nullptr;
}

// f printer pixels down and f / ratio across per picture pixel, where ratio
// is the printer's pixel width over its pixel height.
void ScaleToPage(HDC printer, RECT& rect) {
    const int aspectY = GetDeviceCaps(printer, ASPECTY);
    const double ratio =
        aspectY != 0 ? static_cast<double>(GetDeviceCaps(printer, ASPECTX)) / aspectY : 1.0;
    const int pageWidth = static_cast<int>(GetDeviceCaps(printer, HORZRES) * ratio);
    const int pageHeight = GetDeviceCaps(printer, VERTRES);
    g_widePage = pageWidth > pageHeight;
    const int width = Width(rect);
    const int height = Height(rect);
    if (width <= 0 || height <= 0) return;
    const int factor = std::min(pageWidth / width, pageHeight / height);
    rect = RECT{static_cast<LONG>(rect.left * factor / ratio), rect.top * factor,
                static_cast<LONG>(rect.right * factor / ratio), rect.bottom * factor};
}

// Centres the picture on an axis where the free space is small beside it;
// when only one axis was centred, the top or left margin follows the other.
void PlaceOnPage(HDC printer, RECT& rect) {
    const int width = Width(rect);
    const int height = Height(rect);
    const int spaceAcross = GetDeviceCaps(printer, HORZRES) - width;
    const int spaceDown = GetDeviceCaps(printer, VERTRES) - height;
    bool across = false;
    bool down = false;
    for (int k = 3; k >= 2 && !across && !down; --k) {
        if (spaceAcross < width / k) {
            OffsetRect(&rect, spaceAcross / 2, 0);
            across = true;
        }
        if (spaceDown < height / k) {
            OffsetRect(&rect, 0, spaceDown / 2);
            down = true;
        }
    }
    if (across && !down && spaceDown >= spaceAcross / 2) OffsetRect(&rect, 0, spaceAcross / 2);
    if (down && !across && spaceAcross >= spaceDown / 2) OffsetRect(&rect, spaceDown / 2, 0);
}

long PrintBitmap(HBITMAP bitmap, const char* documentName, PageHook hook, int reductionAllowed) {
    char name[256];
    if (documentName == nullptr) {
        GetMessageText(48, name);
        documentName = name;
    }
    BITMAP size{};
    HGLOBAL block = GetObjectA(bitmap, sizeof size, &size) != 0
                        ? CaptureDib(bitmap, 0, nullptr, BI_RGB)
                        : nullptr;
    long code = kPictureNotCaptured;
    if (block != nullptr) {
        code = StartPrintPage(documentName);
        if (code == 0) code = DrawOnPage(block, size.bmWidth, size.bmHeight, hook, reductionAllowed);
        // The printer's reason stays the last error for the report.
        const DWORD error = GetLastError();
        GlobalFree(block);
        SetLastError(error);
    }
    g_lastPrintResult = code;
    return code;
}

void ReportPrintResult(long code) {
    const bool reported = code == kPortraitPageRefused || code == kWidePageRefused ||
                          code == kPrintedReduced || (code & 0x4000) != 0;
    if (code == 0 || !reported) return;
    const long detail =
        g_platform.platformId == VER_PLATFORM_WIN32_NT ? static_cast<long>(GetLastError()) : code;
    ShowMessage(MessageFor(code), kWarning, detail);
}
