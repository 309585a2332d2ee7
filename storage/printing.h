// Printing a picture on one page of the default printer, enlarged by the
// largest whole factor that fits the page and placed by a margin rule; when
// the printer cannot take the enlarged picture, once more at half the size.
// Errors come back as print result codes that ReportPrintResult turns into
// the numbered messages 42 to 50.
#pragma once

#include "platform/windows.h"

// Print result codes besides 0 (printed) and the negative codes of EndDoc.
constexpr long kPrintedReduced = 46;
constexpr long kNoPrinterContext = 20000;
constexpr long kPortraitPageRefused = 20002;
constexpr long kWidePageRefused = 20003;
constexpr long kPictureNotCaptured = 20004;
constexpr long kStartPageFailed = 20005;
constexpr long kNoDefaultPrinter = 20006;
constexpr long kBadPrinterSetting = 20007;
constexpr long kStartDocFailed = 20008;
constexpr long kEndPageFailed = 20009;

// Called after the picture was drawn, with where it landed and the page
// (0, 0, HORZRES, VERTRES), while the printer is the current surface.
using PageHook = void (*)(const RECT& picture, const RECT& page);

// Set by ScaleToPage: the page is wider than high.
extern bool g_widePage;
extern long g_lastPrintResult;

// Prints the bitmap on one page; documentName null means message 48. A page
// that takes no picture is abandoned rather than printed blank.
long PrintBitmap(HBITMAP bitmap, const char* documentName, PageHook hook, int reductionAllowed);

// A device context for the printer of the profile's "windows" "device" key,
// or null with the reason in g_lastPrintResult.
HDC OpenDefaultPrinter();
// Opens the default printer, a document and a page; on success the printer
// is the current surface until EndPrintPage or AbandonPrintPage.
long StartPrintPage(const char* documentName);
// Ends the page and the document (a failed page end aborts the document) and
// puts the previous surface back.
long EndPrintPage();
// Aborts the document, so that nothing is printed, and puts the previous
// surface back.
void AbandonPrintPage();

// Enlarges rect, (0, 0, width, height), by the largest whole factor that fits
// the printer's page, in printer pixels, and sets g_widePage.
void ScaleToPage(HDC printer, RECT& rect);
// Moves rect on the page by the margin rule.
void PlaceOnPage(HDC printer, RECT& rect);

// Shows the message for a print result, if it has one.
void ReportPrintResult(long code);
