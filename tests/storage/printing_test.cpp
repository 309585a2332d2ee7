#include "storage/printing.h"

#include <gtest/gtest.h>

#include "tests/storage/print_fixture.h"

namespace {

using print_fixture::PrintTest;

struct PageCase {
    int width;
    int height;
    int dpiX;
    int dpiY;
    RECT placed;
    bool wide;
};

TEST_F(PrintTest, TheSheetIsEnlargedByAWholeFactorAndPlaced) {
    const PageCase cases[] = {
        // Portrait, square pixels: 4 times, centred across, the same margin on top.
        {2400, 3300, 300, 300, {176, 176, 2224, 1776}, false},
        // Landscape: 6 times fills the height, centred across.
        {3300, 2400, 300, 300, {114, 0, 3186, 2400}, true},
        // Pixels twice as wide as high: 8 down and 4 across per picture pixel;
        // in square units the page is wide.
        {2400, 3300, 150, 300, {176, 50, 2224, 3250}, true},
        // A page smaller than the picture takes nothing.
        {300, 400, 300, 300, {0, 0, 0, 0}, false},
    };
    for (const PageCase& c : cases) {
        PrintToFolder(c.width, c.height, c.dpiX, c.dpiY);
        HDC printer = CreateDCA("winspool", "Folder", "FILE:", nullptr);
        ASSERT_NE(printer, nullptr);
        EXPECT_EQ(GetDeviceCaps(printer, HORZRES), c.width);
        RECT rect{0, 0, 512, 400};
        ScaleToPage(printer, rect);
        PlaceOnPage(printer, rect);
        EXPECT_EQ(rect.left, c.placed.left) << c.width << "x" << c.height << " " << c.dpiX;
        EXPECT_EQ(rect.top, c.placed.top) << c.width << "x" << c.height << " " << c.dpiX;
        EXPECT_EQ(rect.right, c.placed.right) << c.width << "x" << c.height << " " << c.dpiX;
        EXPECT_EQ(rect.bottom, c.placed.bottom) << c.width << "x" << c.height << " " << c.dpiX;
        EXPECT_EQ(g_widePage, c.wide);
        DeleteDC(printer);
    }
}

struct ResultCase {
    const char* what;
    const char* device;  // null: the print folder is the desktop's printer
    int width;
    int height;
    int64_t limit;
    long result;
    const char* message;  // null: none
    size_t pages;
};

TEST_F(PrintTest, ResultsMessagesAndPages) {
    // Capacity for the half-size sheet at 4 times, not the full one.
    constexpr int64_t kHalf = 1024 * 800;
    const ResultCase cases[] = {
        {"printed", nullptr, 2400, 3300, 0, 0, nullptr, 1},
        {"no comma", "Garbage", 2400, 3300, 0, kBadPrinterSetting,
         "Printing error\xC2\xA0: bad printer installation.", 0},
        {"one comma", "Garbage,winspool", 2400, 3300, 0, kBadPrinterSetting,
         "Printing error\xC2\xA0: bad printer installation.", 0},
        {"no printer", "", 2400, 3300, 0, kNoDefaultPrinter, "No printer is installed.", 0},
        {"reduced", nullptr, 2400, 3300, kHalf, kPrintedReduced,
         "Printer capacity exceeded\xC2\xA0: the picture has been reduced.", 1},
        {"wide, not reduced", nullptr, 3300, 2400, kHalf, kWidePageRefused,
         "Printer capacity exceeded\xC2\xA0: try the portrait mode.", 0},
        {"page too small", nullptr, 300, 400, 0, kPortraitPageRefused,
         "Printing error\xC2\xA0: printer capacity exceeded.", 0},
    };
    for (const ResultCase& c : cases) {
        SCOPED_TRACE(c.what);
        canvas::ResetToolkit(32);
        std::filesystem::remove(m_root + "/config/win.ini");
        if (c.device != nullptr) SetDevice(c.device);
        PrintToFolder(c.width, c.height, 300, 300, c.limit);
        std::filesystem::remove_all(m_root + "/out");
        std::filesystem::create_directories(m_root + "/out");
        HBITMAP picture = print_fixture::MakeSheetPicture();
        const long result = PrintBitmap(picture, nullptr, nullptr, 1);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(g_lastPrintResult, c.result);
        ReportPrintResult(result);
        const std::vector<std::string> messages = Messages();
        if (c.message == nullptr) {
            EXPECT_TRUE(messages.empty());
        } else {
            ASSERT_EQ(messages.size(), 1u);
            EXPECT_NE(messages[0].find(c.message), std::string::npos) << messages[0];
            EXPECT_NE(messages[0].find(" " + std::to_string(c.result) + "."), std::string::npos);
        }
        EXPECT_EQ(Pages().size(), c.pages);
        EXPECT_EQ(g_currentSurface, nullptr);
        DeleteObject(picture);
    }
}

TEST_F(PrintTest, APictureThatCannotBeCapturedPrintsNothing) {
    PrintToFolder(2400, 3300);
    EXPECT_EQ(PrintBitmap(nullptr, "Nothing", nullptr, 1), kPictureNotCaptured);
    ReportPrintResult(kPictureNotCaptured);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_NE(Messages()[0].find("Printing error.\\n"), std::string::npos);
    EXPECT_NE(Messages()[0].find(" 20004."), std::string::npos);
    EXPECT_TRUE(Pages().empty());
}

// Codes without a message stay silent; end-of-document failures have theirs.
TEST_F(PrintTest, ReportedCodes) {
    const std::pair<long, const char*> cases[] = {
        {0, nullptr},
        {1, nullptr},
        {SP_OUTOFDISK, "disk full"},
        {SP_OUTOFMEMORY, "out of memory"},
        {SP_ERROR, "Printing error."},
        {kEndPageFailed, "Printing error."},
        {kStartDocFailed, "Printing error."},
    };
    for (const auto& [code, text] : cases) {
        canvas::ResetToolkit(32);
        ReportPrintResult(code);
        const std::vector<std::string> messages = Messages();
        ASSERT_EQ(messages.size(), text == nullptr ? 0u : 1u) << code;
        if (text != nullptr) {
            EXPECT_NE(messages[0].find(text), std::string::npos) << code;
        }
    }
}

// The page hook sees the picture where it landed and the printable page.
TEST_F(PrintTest, ThePageHookSeesThePictureAndThePage) {
    PrintToFolder(3300, 2400);
    static RECT picture;
    static RECT page;
    HBITMAP sheet = print_fixture::MakeSheetPicture();
    EXPECT_EQ(PrintBitmap(sheet, "Hook", [](const RECT& p, const RECT& g) { picture = p, page = g; },
                          1),
              0);
    EXPECT_EQ(picture.left, 114);
    EXPECT_EQ(picture.right, 3186);
    EXPECT_EQ(page.right, 3300);
    EXPECT_EQ(page.bottom, 2400);
    DeleteObject(sheet);
}

}  // namespace
