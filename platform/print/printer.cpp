// Printer device contexts and their documents: StartDocA, StartPage,
// EndPage, EndDoc and AbortDoc, and the gdi calls that reach a printer.
#include "platform/print/printer.h"

#include <cstdlib>

#include "platform/gdi/dib.h"
#include "platform/kernel/codepage.h"
#include "platform/options.h"
#include "platform/windows.h"

namespace platform::print {
namespace {

int g_lastJob = 0;

Printer* PrinterOf(HDC handle) {
    gdi::DeviceContext* dc = gdi::LookupDC(handle);
    if (dc == nullptr || dc->printer == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return dc->printer;
}

// Finishes the document made so far and hands it to the printer.
int SendDocument(Printer& printer) {
    std::vector<uint8_t> pdf;
    const bool made = printer.document->Finish(pdf);
    printer.document = std::make_unique<PdfDocument>();
    printer.pagesStarted = 0;
    if (!made) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return SP_OUTOFMEMORY;
    }
    return printer.target->Send(printer.title, pdf);
}

}  // namespace

HDC CreatePrinterContext(LPCSTR device) {
    if (device == nullptr || device[0] == '\0') {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return nullptr;
    }
    const Options& options = CurrentOptions();
    std::unique_ptr<PrintTarget> target = options.printTo.empty()
                                              ? OpenCupsPrinter(Cp1252ToUtf8(device))
                                              : OpenPrintFolder(options.printTo);
    if (!target) return nullptr;
    auto printer = std::make_unique<Printer>();
    if (!gdi::InitSurface(printer->scratch, 1, 1, 32)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    printer->target = std::move(target);
    gdi::DeviceContext context;
    context.surface = &printer->scratch;
    context.printer = printer.release();
    return gdi::CreateDeviceContext(context);
}

void ClosePrinter(Printer* printer) {
    delete printer;
}

int PrintDib(Printer& printer, int xDest, int yDest, int destWidth, int destHeight, int xSrc,
             int ySrc, int srcWidth, int srcHeight, const gdi::DibFormat& format,
             const uint8_t* bits, DWORD rop) {
    if (!printer.inPage || rop != SRCCOPY) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const int64_t limit = printer.target->DrawLimit();
    if (limit > 0 && std::llabs(int64_t{destWidth} * destHeight) > limit) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    // A bottom-up DIB counts ySrc from its bottom row.
    const int top = format.topDown ? ySrc : format.height - ySrc - srcHeight;
    if (!printer.document->DrawDib(format, bits, xDest, yDest, destWidth, destHeight, xSrc, top,
                                   srcWidth, srcHeight)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    return srcHeight;
}

}  // namespace platform::print

using platform::print::Printer;
using platform::print::PrinterOf;

int WINAPI StartDocA(HDC dc, const DOCINFOA* info) {
    Printer* printer = PrinterOf(dc);
    if (printer == nullptr) return SP_ERROR;
    if (info == nullptr || printer->document != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    if (!printer->target->Ready()) return SP_ERROR;
    const char* name = info->lpszDocName != nullptr ? info->lpszDocName : "";
    printer->title = platform::Cp1252ToUtf8(name);
    printer->document = std::make_unique<platform::print::PdfDocument>();
    printer->pagesStarted = 0;
    platform::print::g_lastJob = platform::print::g_lastJob % 0x7FFFFFFF + 1;
    return platform::print::g_lastJob;
}

int WINAPI StartPage(HDC dc) {
    Printer* printer = PrinterOf(dc);
    if (printer == nullptr) return SP_ERROR;
    if (printer->document == nullptr || printer->inPage) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    if (!printer->document->BeginPage(printer->target->Page())) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return SP_ERROR;
    }
    printer->inPage = true;
    ++printer->pagesStarted;
    return 1;
}

int WINAPI EndPage(HDC dc) {
    Printer* printer = PrinterOf(dc);
    if (printer == nullptr) return SP_ERROR;
    if (!printer->inPage) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    printer->document->EndPage();
    printer->inPage = false;
    return printer->target->PagePerDocument() ? platform::print::SendDocument(*printer) : 1;
}

int WINAPI EndDoc(HDC dc) {
    Printer* printer = PrinterOf(dc);
    if (printer == nullptr) return SP_ERROR;
    if (printer->document == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    int result = 1;
    if (printer->inPage) result = EndPage(dc);
    if (result > 0 && printer->pagesStarted > 0) result = platform::print::SendDocument(*printer);
    printer->document.reset();
    printer->pagesStarted = 0;
    return result;
}

int WINAPI AbortDoc(HDC dc) {
    Printer* printer = PrinterOf(dc);
    if (printer == nullptr) return SP_ERROR;
    if (printer->document == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return SP_ERROR;
    }
    printer->document.reset();
    printer->inPage = false;
    printer->pagesStarted = 0;
    return 1;
}
