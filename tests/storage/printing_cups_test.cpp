// Printing through a real CUPS server: a private cupsd of the tests' own,
// configured in a temporary folder, listening on a free loopback port, whose
// queues hand each job to the tests through a backend in a private ServerBin.
#include <arpa/inet.h>
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <thread>

#include "platform/print/printer.h"
#include "storage/printing.h"
#include "tests/storage/print_fixture.h"

namespace {

namespace fs = std::filesystem;
using print_fixture::PrintTest;

constexpr const char* kCupsd = "/usr/sbin/cupsd";
constexpr const char* kCupsExec = "/usr/lib/cups/daemon/cups-exec";

// A PPD whose PDF jobs reach the backend unfiltered.
std::string Ppd(const std::string& size, int width, int height, const std::string& area,
                int dpi) {
    const std::string page = "\"" + std::to_string(width) + " " + std::to_string(height) + "\"";
    return "*PPD-Adobe: \"4.3\"\n*FormatVersion: \"4.3\"\n*FileVersion: \"1.0\"\n"
           "*LanguageVersion: English\n*LanguageEncoding: ISOLatin1\n*PCFileName: \"TEST.PPD\"\n"
           "*Manufacturer: \"Test\"\n*Product: \"(Test)\"\n*ModelName: \"Test\"\n"
           "*ShortNickName: \"Test\"\n*NickName: \"Test\"\n*PSVersion: \"(3010.000) 0\"\n"
           "*LanguageLevel: \"3\"\n*ColorDevice: True\n*DefaultColorSpace: RGB\n"
           "*cupsVersion: 2.4\n*cupsFilter2: \"application/pdf application/pdf 0 -\"\n"
           "*OpenUI *PageSize: PickOne\n*DefaultPageSize: " + size + "\n*PageSize " + size +
           ": \"\"\n*CloseUI: *PageSize\n*OpenUI *PageRegion: PickOne\n*DefaultPageRegion: " +
           size + "\n*PageRegion " + size + ": \"\"\n*CloseUI: *PageRegion\n"
           "*DefaultImageableArea: " + size + "\n*ImageableArea " + size + ": \"" + area +
           "\"\n*DefaultPaperDimension: " + size + "\n*PaperDimension " + size + ": " + page +
           "\n*OpenUI *Resolution: PickOne\n*DefaultResolution: " + std::to_string(dpi) +
           "dpi\n*Resolution " + std::to_string(dpi) + "dpi: \"\"\n*CloseUI: *Resolution\n";
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

bool Answers(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<uint16_t>(port));
    const bool connected = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return connected;
}

// A cupsd in its own folder; CUPS_SERVER points at it while it runs.
class PrivateCups {
public:
    PrivateCups(const std::string& root, bool withDefault) : m_root(root) {
        for (const char* folder : {"etc/ppd", "bin/backend", "bin/daemon", "spool/tmp", "cache", "state", "log",
                                   "jobs"}) {
            fs::create_directories(root + "/" + folder);
        }
        m_port = FreePort();
        WriteFile(root + "/etc/cupsd.conf",
                  "Listen 127.0.0.1:" + std::to_string(m_port) +
                      "\nLogLevel info\nBrowsing No\nWebInterface No\nDefaultPaperSize None\n"
                      "<Location />\nOrder allow,deny\nAllow all\n</Location>\n"
                      "<Policy default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n");
        WriteFile(root + "/etc/cups-files.conf",
                  "ServerRoot " + root + "/etc\nServerBin " + root + "/bin\nDataDir /usr/share/cups\n"
                  "RequestRoot " + root + "/spool\nTempDir " + root + "/spool/tmp\nCacheDir " +
                  root + "/cache\nStateDir " + root + "/state\nAccessLog " + root +
                  "/log/access_log\nErrorLog " + root + "/log/error_log\nPageLog " + root +
                  "/log/page_log\nPrintcap " + root + "/printcap\nSystemGroup root\n");
        // The backend keeps each job's file and title where the tests look.
        const std::string backend = root + "/bin/backend/tavelintest";
        WriteFile(backend, "#!/bin/sh\n[ $# -eq 0 ] && { echo 'direct tavelintest \"T\" \"T\"'; exit 0; }\n"
                           "cat \"${6:--}\" > " + root + "/jobs/$1.tmp && printf '%s' \"$3\" > " +
                               root + "/jobs/$1.title && mv " + root + "/jobs/$1.tmp " + root +
                               "/jobs/$1.pdf\n");
        chmod(backend.c_str(), 0700);
        // The scheduler starts every backend through its helper.
        fs::create_symlink(kCupsExec, root + "/bin/daemon/cups-exec");
        // A4 with 18 points at the sides and 36 above and below, at 150 dpi.
        WriteFile(root + "/etc/ppd/Paper.ppd", Ppd("A4", 595, 842, "18 36 577 806", 150));
        WriteFile(root + "/etc/ppd/Tiny.ppd", Ppd("Card", 144, 144, "0 0 144 144", 150));
        std::string printers;
        for (const char* name : {"Paper", "Tiny", "Halted"}) {
            const bool isDefault = withDefault && std::string(name) == "Paper";
            printers += std::string(isDefault ? "<DefaultPrinter " : "<Printer ") + name +
                        ">\nDeviceURI tavelintest:/" + name + "\nState " +
                        (std::string(name) == "Halted" ? "Stopped" : "Idle") +
                        "\nAccepting Yes\nShared No\n" +
                        (isDefault ? "</DefaultPrinter>\n" : "</Printer>\n");
        }
        WriteFile(root + "/etc/printers.conf", printers);
        m_pid = fork();
        if (m_pid == 0) {
            const std::string log = root + "/log/stdout";
            if (freopen(log.c_str(), "w", stdout) == nullptr ||
                freopen(log.c_str(), "a", stderr) == nullptr) {
                _exit(126);
            }
            const std::string conf = root + "/etc/cupsd.conf";
            const std::string files = root + "/etc/cups-files.conf";
            execl(kCupsd, kCupsd, "-f", "-c", conf.c_str(), "-s", files.c_str(), nullptr);
            _exit(127);
        }
        for (int tries = 0; tries < 250 && !Answers(m_port); ++tries) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        const char* saved = getenv("CUPS_SERVER");
        if (saved != nullptr) m_savedServer = saved;
        setenv("CUPS_SERVER", ("127.0.0.1:" + std::to_string(m_port)).c_str(), 1);
        cupsSetServer(nullptr);
    }

    ~PrivateCups() {
        // A failure shows what the server said.
        if (::testing::Test::HasFailure()) {
            std::ifstream log(m_root + "/log/error_log");
            std::cerr << log.rdbuf();
        }
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
        if (m_savedServer) {
            setenv("CUPS_SERVER", m_savedServer->c_str(), 1);
        } else {
            unsetenv("CUPS_SERVER");
        }
        cupsSetServer(nullptr);
    }

    bool Running() const { return Answers(m_port); }

    // The files the backend received, waiting a little for the first one.
    std::vector<std::string> Jobs(bool expectOne) const {
        std::vector<std::string> jobs;
        for (int tries = 0; tries < (expectOne ? 250 : 1); ++tries) {
            jobs.clear();
            for (const auto& entry : fs::directory_iterator(m_root + "/jobs")) {
                if (entry.path().extension() == ".pdf") jobs.push_back(entry.path().string());
            }
            if (!jobs.empty()) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return jobs;
    }

    // Every job the server knows, finished or not.
    int JobsOnServer() const {
        cups_job_t* jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
        cupsFreeJobs(count, jobs);
        return count;
    }

private:
    std::string m_root;
    int m_port = 0;
    pid_t m_pid = -1;
    std::optional<std::string> m_savedServer;
};

class CupsPrintTest : public PrintTest {
protected:
    void SetUp() override {
        if (access(kCupsd, X_OK) != 0) GTEST_SKIP() << "cupsd is not installed (cups-daemon)";
        PrintTest::SetUp();
    }

    long PrintSheet() {
        HBITMAP sheet = print_fixture::MakeSheetPicture();
        const long result = PrintBitmap(sheet, nullptr, nullptr, 1);
        ReportPrintResult(result);
        DeleteObject(sheet);
        return result;
    }
};

TEST_F(CupsPrintTest, TheSheetReachesTheDefaultPrinterAsOnePage) {
    PrivateCups cups(m_root + "/cups", true);
    ASSERT_TRUE(cups.Running());
    ASSERT_EQ(PrintSheet(), 0);
    const std::vector<std::string> jobs = cups.Jobs(true);
    ASSERT_EQ(jobs.size(), 1u);
    std::ifstream title(fs::path(jobs[0]).replace_extension(".title"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(title), {}), "Picture printing.");
    if (!print_fixture::HavePdftoppm()) GTEST_SKIP() << "pdftoppm is not installed (poppler-utils)";
    // A4 at 150 dpi: 1164 x 1604 printer pixels from (37.5, 75) on the sheet;
    // twice enlarged, the picture is 1024 x 800 at (70, 70) of that area,
    // which is (215, 290) on the sheet at 300 dpi, 4 x 4 pixels a picture
    // pixel (4 times, so that pdftoppm does not smooth them).
    const std::optional<print_fixture::Raster> page =
        print_fixture::Rasterise(jobs[0], 300, getenv("TAVELIN_PRINT_PNG"));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->width, 2480);
    EXPECT_EQ(page->height, 3509);
    constexpr int kLeft = 215;
    constexpr int kTop = 290;
    auto at = [&](int x, int y, int dx = 2, int dy = 2) {
        return page->At(kLeft + 4 * x + dx, kTop + 4 * y + dy);
    };
    using print_fixture::Rgb;
    EXPECT_EQ(at(0, 0, 0, 0), Rgb(print_fixture::kSky));
    EXPECT_EQ(at(511, 399, 3, 3), Rgb(print_fixture::kSky));
    EXPECT_EQ(at(10, 20, 0, 0), Rgb(print_fixture::kDot));
    EXPECT_EQ(at(10, 20, 3, 3), Rgb(print_fixture::kDot));
    EXPECT_EQ(at(11, 20, 0, 0), Rgb(print_fixture::kSky));
    EXPECT_EQ(at(10, 21, 0, 0), Rgb(print_fixture::kSky));
    EXPECT_EQ(at(503, 393), Rgb(print_fixture::kBlock));
    // White around the picture (pdftoppm shades the pixel at an edge).
    EXPECT_EQ(page->At(kLeft - 2, kTop + 10), 0xFFFFFFu);
    EXPECT_EQ(page->At(kLeft + 2050, kTop + 10), 0xFFFFFFu);
    EXPECT_EQ(page->At(kLeft + 10, kTop - 2), 0xFFFFFFu);
    EXPECT_EQ(page->At(kLeft + 10, kTop + 1602), 0xFFFFFFu);
}

TEST_F(CupsPrintTest, FailuresGiveAMessageAndLeaveNoJob) {
    PrivateCups cups(m_root + "/cups", true);
    ASSERT_TRUE(cups.Running());
    const std::pair<const char*, long> cases[] = {
        {"Halted,winspool,CUPS", kStartDocFailed},      // a stopped queue
        {"Gone,winspool,CUPS", kNoPrinterContext},      // a printer that vanished
        {"Tiny,winspool,CUPS", kPortraitPageRefused},   // a page smaller than the sheet
    };
    for (const auto& [device, code] : cases) {
        SCOPED_TRACE(device);
        canvas::ResetToolkit(32);
        SetDevice(device);
        EXPECT_EQ(PrintSheet(), code);
        EXPECT_EQ(Messages().size(), 1u);
        if (code != kPortraitPageRefused && !Messages().empty()) {
            EXPECT_EQ(Messages()[0].rfind("Printing error.\\n", 0), 0u) << Messages()[0];
        }
    }
    EXPECT_EQ(cups.JobsOnServer(), 0);
    EXPECT_TRUE(cups.Jobs(false).empty());
}

TEST_F(CupsPrintTest, WithoutADefaultPrinterNoPrinterIsInstalled) {
    PrivateCups cups(m_root + "/cups", false);
    ASSERT_TRUE(cups.Running());
    EXPECT_EQ(PrintSheet(), kNoDefaultPrinter);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind("No printer is installed.", 0), 0u);
}

// A server that takes the connection and never answers: the wait ends, and
// printing goes on to its message.
TEST_F(PrintTest, ASilentPrintServerEndsTheWait) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    listen(fd, 8);
    const char* saved = getenv("CUPS_SERVER");
    const std::optional<std::string> savedServer =
        saved != nullptr ? std::optional<std::string>(saved) : std::nullopt;
    setenv("CUPS_SERVER", ("127.0.0.1:" + std::to_string(ntohs(address.sin_port))).c_str(), 1);
    cupsSetServer(nullptr);
    const int savedWait = platform::print::PrinterWaitMs();
    platform::print::SetPrinterWaitMs(200);

    HBITMAP sheet = print_fixture::MakeSheetPicture();
    SetDevice("Paper,winspool,CUPS");
    EXPECT_EQ(PrintBitmap(sheet, nullptr, nullptr, 1), kNoPrinterContext);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
    DeleteObject(sheet);

    platform::print::SetPrinterWaitMs(savedWait);
    if (savedServer) {
        setenv("CUPS_SERVER", savedServer->c_str(), 1);
    } else {
        unsetenv("CUPS_SERVER");
    }
    cupsSetServer(nullptr);
    close(fd);
}

}  // namespace
