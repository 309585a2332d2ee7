// The end of the desktop session: a sheet changed since it was last saved,
// loaded or begun is written into the pictures folder under a new name, so
// that a logout never loses the child's drawing, and nothing is asked.
#include <cstdint>

#include "dialogs/saved_pictures.h"
#include "graphics/blit.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "storage/picture_files.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr char kUntitledName[] = "Image Tavelin";
constexpr uint64_t kNoSheet = 0;

uint64_t g_keptSheet = kNoSheet;

// A 64-bit FNV-1a hash of the sheet's pixels as a 24-bit DIB.
uint64_t Fingerprint(HBITMAP sheet) {
    HGLOBAL block = CaptureDib(sheet, 24, nullptr, BI_RGB);
    if (block == nullptr) return kNoSheet;
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(block));
    const SIZE_T size = GlobalSize(block);
    uint64_t hash = 14695981039346656037u;
    for (SIZE_T i = 0; bytes != nullptr && i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211u;
    GlobalUnlock(block);
    GlobalFree(block);
    return hash == kNoSheet ? 1 : hash;
}

}  // namespace

void WorkshopScreen::RememberKeptSheet() {
    GetWindowSurface(m_window);
    HBITMAP sheet = GrabSurfaceRect(kSheetRect);
    ReleaseWindowSurface();
    RememberKeptSheet(sheet);
    if (sheet != nullptr) DeleteObject(sheet);
}

void WorkshopScreen::RememberKeptSheet(HBITMAP sheet) {
    g_keptSheet = sheet != nullptr ? Fingerprint(sheet) : kNoSheet;
}

// The sheet is read from the window while the workshop is active; behind a
// dialog the window may show the dialog, and the sheet is the copy taken when
// the workshop was left.
void WorkshopScreen::OnEndSession() {
    if (m_active && g_workshop.magnifierActive) BackToBrush();
    HBITMAP sheet = nullptr;
    if (m_active) {
        GetWindowSurface(m_window);
        sheet = GrabSurfaceRect(kSheetRect);
        ReleaseWindowSurface();
    }
    HBITMAP kept = sheet != nullptr ? sheet : g_undoPicture;
    if (kept != nullptr && Fingerprint(kept) != g_keptSheet) {
        char fileName[kPathSize];
        MakePictureFileName("", kPictureExtension, 1, fileName, kUntitledName);
        PicturesFolderScope folder;
        // Whatever happens, the session ends: a failure is in the log only.
        (void)SaveSheetPicture(fileName, kept);
    }
    if (sheet != nullptr) DeleteObject(sheet);
}
