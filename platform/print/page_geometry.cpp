// The printable page of a printer: from its media and resolution, or from the
// locale's paper when the printer says nothing.
#include <stdlib.h>

#include <cmath>
#include <cstring>
#include <string_view>

#include "platform/print/printer.h"
#include "platform/windows.h"

namespace platform::print {
namespace {

constexpr Media kA4{21000, 29700, 0, 0, 0, 0};
constexpr Media kLetter{21590, 27940, 0, 0, 0, 0};

// The countries whose paper is Letter.
constexpr const char* kLetterCountries[] = {"US", "CA", "MX", "PH", "CL", "CO", "VE",
                                            "PR", "CR", "GT", "PA", "SV", "NI", "DO"};

double Points(int hundredthsOfMm) {
    return hundredthsOfMm * 72.0 / 2540.0;
}

int Pixels(int hundredthsOfMm, int dpi) {
    return static_cast<int>(static_cast<int64_t>(hundredthsOfMm) * dpi / 2540);
}

}  // namespace

Media LocalePaper() {
    const char* locale = nullptr;
    for (const char* name : {"LC_ALL", "LC_PAPER", "LANG"}) {
        const char* value = getenv(name);
        if (value != nullptr && value[0] != '\0') {
            locale = value;
            break;
        }
    }
    if (locale == nullptr) return kA4;
    const std::string_view text(locale);
    const size_t underscore = text.find('_');
    if (underscore == std::string_view::npos) return kA4;
    const std::string_view country = text.substr(underscore + 1, 2);
    for (const char* letter : kLetterCountries) {
        if (country == letter) return kLetter;
    }
    return kA4;
}

std::optional<PageGeometry> PageFor(const Media& media, int dpiX, int dpiY) {
    constexpr int kMinSide = 100;     // 1 mm
    constexpr int kMaxSide = 200000;  // 2 m
    const bool sane = media.width >= kMinSide && media.width <= kMaxSide &&
                      media.length >= kMinSide && media.length <= kMaxSide &&
                      media.left >= 0 && media.right >= 0 && media.top >= 0 &&
                      media.bottom >= 0 && dpiX >= 10 && dpiX <= 9600 && dpiY >= 10 &&
                      dpiY <= 9600;
    if (!sane) return std::nullopt;
    const int64_t across = int64_t{media.width} - media.left - media.right;
    const int64_t down = int64_t{media.length} - media.top - media.bottom;
    if (across < kMinSide || down < kMinSide) return std::nullopt;
    PageGeometry page;
    page.dpiX = dpiX;
    page.dpiY = dpiY;
    page.horzRes = Pixels(static_cast<int>(across), dpiX);
    page.vertRes = Pixels(static_cast<int>(down), dpiY);
    page.widthPt = Points(media.width);
    page.heightPt = Points(media.length);
    page.leftPt = Points(media.left);
    page.topPt = Points(media.top);
    return page;
}

// A pixel's width and height are 1/dpiX and 1/dpiY of an inch, so the aspect
// values, which are proportional to them, are the other axis' resolutions.
int DeviceCaps(const PageGeometry& page, int index) {
    switch (index) {
        case HORZRES: return page.horzRes;
        case VERTRES: return page.vertRes;
        case LOGPIXELSX: return page.dpiX;
        case LOGPIXELSY: return page.dpiY;
        case ASPECTX: return page.dpiY;
        case ASPECTY: return page.dpiX;
        case ASPECTXY: return static_cast<int>(std::lround(std::hypot(page.dpiX, page.dpiY)));
        case BITSPIXEL: return 24;
        case PLANES: return 1;
        case NUMCOLORS: return -1;
        case RASTERCAPS: return RC_DIBTODEV | RC_STRETCHDIB;
        default: return 0;
    }
}

}  // namespace platform::print
