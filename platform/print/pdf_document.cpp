// A PDF made with cairo in memory. Each picture is embedded at its own size
// and enlarged by the page's transformation with the nearest-neighbour filter,
// so pixels stay square and sharp, and the memory a page needs is that of its
// pictures.
#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "platform/gdi/dib.h"
#include "platform/print/printer.h"

namespace platform::print {
namespace {

// What the pictures of one page may take in memory.
constexpr int64_t kPageImageBudget = int64_t{96} * 1024 * 1024;

cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(closure);
    try {
        bytes->insert(bytes->end(), data, data + length);
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_NO_MEMORY;
    }
    return CAIRO_STATUS_SUCCESS;
}

// The source rectangle clamped to the DIB; false when nothing is left.
bool ClampSource(const gdi::DibFormat& format, int& x, int& y, int& width, int& height) {
    const int right = std::min(x + width, format.width);
    const int bottom = std::min(y + height, format.height);
    x = std::max(x, 0);
    y = std::max(y, 0);
    width = right - x;
    height = bottom - y;
    return width > 0 && height > 0;
}

}  // namespace

PdfDocument::~PdfDocument() {
    if (m_surface != nullptr) cairo_surface_destroy(m_surface);
}

bool PdfDocument::BeginPage(const PageGeometry& page) {
    if (m_surface == nullptr) {
        m_surface = cairo_pdf_surface_create_for_stream(AppendBytes, &m_bytes, page.widthPt,
                                                        page.heightPt);
        if (cairo_surface_status(m_surface) != CAIRO_STATUS_SUCCESS) return false;
    } else {
        cairo_pdf_surface_set_size(m_surface, page.widthPt, page.heightPt);
    }
    m_page = page;
    m_pageOpen = true;
    m_pageImageBytes = 0;
    return true;
}

bool PdfDocument::DrawDib(const gdi::DibFormat& format, const uint8_t* bits, int xDest,
                          int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                          int srcWidth, int srcHeight) {
    if (!m_pageOpen || destWidth == 0 || destHeight == 0 || srcWidth <= 0 || srcHeight <= 0) {
        return false;
    }
    // Only the part of the source inside the DIB is drawn, where it would
    // have landed.
    const double scaleX = static_cast<double>(destWidth) / srcWidth;
    const double scaleY = static_cast<double>(destHeight) / srcHeight;
    const int wantedX = xSrc;
    const int wantedY = ySrc;
    if (!ClampSource(format, xSrc, ySrc, srcWidth, srcHeight)) return false;
    const int64_t imageBytes = int64_t{srcWidth} * srcHeight * 4;
    if (m_pageImageBytes + imageBytes > kPageImageBudget) return false;
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, srcWidth, srcHeight);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        return false;
    }
    cairo_surface_flush(image);
    uint8_t* pixels = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int row = 0; row < srcHeight; ++row) {
        // ySrc counts from the DIB's top row here; the caller turned a
        // bottom-up DIB's origin around.
        gdi::ReadDibRow(format, bits, ySrc + row, xSrc, srcWidth,
                        reinterpret_cast<uint32_t*>(pixels + static_cast<ptrdiff_t>(row) * stride));
    }
    cairo_surface_mark_dirty(image);

    cairo_t* cr = cairo_create(m_surface);
    // Printer pixels of the printable area to points on the sheet.
    cairo_translate(cr, m_page.leftPt, m_page.topPt);
    cairo_scale(cr, 72.0 / m_page.dpiX, 72.0 / m_page.dpiY);
    cairo_rectangle(cr, 0, 0, m_page.horzRes, m_page.vertRes);
    cairo_clip(cr);
    cairo_translate(cr, xDest + (xSrc - wantedX) * scaleX, yDest + (ySrc - wantedY) * scaleY);
    cairo_scale(cr, scaleX, scaleY);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_rectangle(cr, 0, 0, srcWidth, srcHeight);
    cairo_fill(cr);
    const bool drawn = cairo_status(cr) == CAIRO_STATUS_SUCCESS;
    cairo_destroy(cr);
    cairo_surface_destroy(image);
    if (drawn) m_pageImageBytes += imageBytes;
    return drawn;
}

void PdfDocument::EndPage() {
    if (!m_pageOpen) return;
    cairo_surface_show_page(m_surface);
    m_pageOpen = false;
}

bool PdfDocument::Finish(std::vector<uint8_t>& pdf) {
    if (m_surface == nullptr) return false;
    if (m_pageOpen) EndPage();
    cairo_surface_finish(m_surface);
    const bool done = cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(m_surface);
    m_surface = nullptr;
    pdf.swap(m_bytes);
    m_bytes.clear();
    return done;
}

}  // namespace platform::print
