// The printer behind a printer device context: its page, where its jobs go
// (a CUPS queue or, in headless runs, a folder), and the document being made.
// Internal to the Windows layer; the program sees only platform/win/print.h.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"

struct _cairo_surface;

namespace platform::gdi {
struct DibFormat;
}

namespace platform::print {

// A media size with its unprintable margins, in hundredths of millimetres.
struct Media {
    int width = 0;
    int length = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    int top = 0;
};

// The page as GetDeviceCaps tells it: the printable area in printer pixels and
// where it lies on the sheet, in points.
struct PageGeometry {
    int horzRes = 0;
    int vertRes = 0;
    int dpiX = 300;
    int dpiY = 300;
    double widthPt = 0;
    double heightPt = 0;
    double leftPt = 0;
    double topPt = 0;
};

// A4, or Letter when LC_ALL, LC_PAPER or LANG (the first set) names a
// country that uses it; no margins.
Media LocalePaper();
// The page of a media at a resolution; nothing when the media or the
// resolution is absurd (a side under 1 mm or over 2 m, under 10 or over 9600
// dpi, margins that leave no printable area).
std::optional<PageGeometry> PageFor(const Media& media, int dpiX, int dpiY);
int DeviceCaps(const PageGeometry& page, int index);

// Where finished documents go. Each call waits a bounded time; failures set
// the Windows last error.
class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    virtual const PageGeometry& Page() const = 0;
    // Whether the printer takes a job now.
    [[nodiscard]] virtual bool Ready() = 0;
    // Each page as a document of its own (a folder) or the whole document at
    // the end (a printer).
    virtual bool PagePerDocument() const = 0;
    // Sends a finished PDF; returns a positive number or an SP_ code.
    virtual int Send(const std::string& title, const std::vector<uint8_t>& pdf) = 0;
    // The printer pixels one drawing may cover; 0 for no limit.
    virtual int64_t DrawLimit() const { return 0; }
};

// The printer named by a CUPS destination name (UTF-8); null with the last
// error set when it cannot be reached or does not exist.
std::unique_ptr<PrintTarget> OpenCupsPrinter(const std::string& name);
// The name of the default CUPS destination, asked within the same bounded wait.
std::optional<std::string> DefaultCupsPrinter();
// The headless folder of --print-to.
std::unique_ptr<PrintTarget> OpenPrintFolder(const std::string& folder);

// The longest a call waits for the print system, in milliseconds.
int PrinterWaitMs();
void SetPrinterWaitMs(int ms);

// A PDF being made in memory, one page at a time.
class PdfDocument {
public:
    PdfDocument() = default;
    ~PdfDocument();
    PdfDocument(const PdfDocument&) = delete;
    PdfDocument& operator=(const PdfDocument&) = delete;

    [[nodiscard]] bool BeginPage(const PageGeometry& page);
    // Draws the source rectangle of the DIB onto the destination rectangle, in
    // printer pixels of the printable area; negative extents mirror. Returns
    // false when memory is short or the page's pictures would pass the page
    // budget.
    [[nodiscard]] bool DrawDib(const gdi::DibFormat& format, const uint8_t* bits, int xDest,
                               int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                               int srcWidth, int srcHeight);
    void EndPage();
    // Finishes the document; false when cairo failed.
    [[nodiscard]] bool Finish(std::vector<uint8_t>& pdf);
    bool PageOpen() const { return m_pageOpen; }

private:
    _cairo_surface* m_surface = nullptr;
    std::vector<uint8_t> m_bytes;
    PageGeometry m_page;
    bool m_pageOpen = false;
    int64_t m_pageImageBytes = 0;
};

// The device of one printer context.
struct Printer {
    std::unique_ptr<PrintTarget> target;
    std::unique_ptr<PdfDocument> document;  // between StartDocA and EndDoc
    std::string title;
    bool inPage = false;
    int pagesStarted = 0;  // in the document, since the last one sent
    // What the context's other drawing calls draw on: one pixel, clipped away.
    gdi::Surface scratch;
};

// The gdi side of printer contexts.
HDC CreatePrinterContext(LPCSTR device);
void ClosePrinter(Printer* printer);
int PrintDib(Printer& printer, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
             int ySrc, int srcWidth, int srcHeight, const gdi::DibFormat& format,
             const uint8_t* bits, DWORD rop);

}  // namespace platform::print
