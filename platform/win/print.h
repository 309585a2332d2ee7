// Printer device contexts and print jobs over CUPS.
//
// CreateDCA with any driver but "DISPLAY" opens the printer named by the
// device argument (the CUPS destination, in Windows-1252): the printer's
// default media size, margins and resolution as CUPS reports them (A4, or
// Letter in the countries that use it, at 300 dpi when it reports none) give
// GetDeviceCaps' answers. Between StartPage and EndPage, StretchDIBits draws
// onto the page; every page of a document reaches the printer at EndDoc as
// one job, a PDF in which each picture keeps its own pixels (enlarged without
// smoothing), so a page costs the memory of its pictures, not of a raster at
// the printer's resolution.
//
// No call waits for the print system longer than a few seconds: a printer
// that does not answer in time fails the call with ERROR_TIMEOUT. A stopped
// queue or one that refuses jobs fails StartDocA with ERROR_NOT_READY, a
// printer that is gone with ERROR_INVALID_PRINTER_NAME. Nothing reaches the
// print system before EndDoc, and then the document travels in one request:
// AbortDoc, DeleteDC of an open document and a failed EndDoc leave no job
// behind.
//
// In headless runs with --print-to DIR every printer is a folder: each page is
// written there as a PDF file of its own and logged as "print FILE".
//
// Left out: every drawing call but StretchDIBits with SRCCOPY on a printer
// context (others draw nothing), device modes, banding (NEXTBAND),
// SetAbortProc, StartDoc's output file and the PHYSICAL* capabilities.
//
// Knowing differences: Windows queues a document for a paused printer; here
// StartDocA refuses it, since a stopped CUPS queue prints nothing until
// someone restarts it. Nothing is spooled page by page: a document that
// fails at EndDoc has printed nothing. ASPECTX and ASPECTY are the vertical
// and horizontal resolutions, so that their ratio is a pixel's width over its
// height.
#pragma once

#include "platform/win/types.h"

typedef struct _DOCINFOA {
    int cbSize;
    LPCSTR lpszDocName;
    LPCSTR lpszOutput;
    LPCSTR lpszDatatype;
    DWORD fwType;
} DOCINFOA, *LPDOCINFOA;

#define ASPECTX 40
#define ASPECTY 42
#define ASPECTXY 44

#define SP_ERROR (-1)
#define SP_APPABORT (-2)
#define SP_USERABORT (-3)
#define SP_OUTOFDISK (-4)
#define SP_OUTOFMEMORY (-5)

#define ERROR_TIMEOUT 1460
#define ERROR_INVALID_PRINTER_NAME 1801

int WINAPI StartDocA(HDC dc, const DOCINFOA* info);
int WINAPI StartPage(HDC dc);
int WINAPI EndPage(HDC dc);
int WINAPI EndDoc(HDC dc);
int WINAPI AbortDoc(HDC dc);
