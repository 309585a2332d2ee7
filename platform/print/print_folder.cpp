// The headless print folder of --print-to: a printer whose pages land in a
// folder, one PDF file each, named page-001.pdf, page-002.pdf and so on after
// the files already there, and logged as "print FILE".
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/backend/backend.h"
#include "platform/options.h"
#include "platform/print/printer.h"
#include "platform/windows.h"

namespace platform::print {
namespace {

class PrintFolder : public PrintTarget {
public:
    PrintFolder(std::string folder, const PageGeometry& page, int64_t drawLimit)
        : m_folder(std::move(folder)), m_page(page), m_drawLimit(drawLimit) {}

    const PageGeometry& Page() const override { return m_page; }
    bool Ready() override { return true; }
    bool PagePerDocument() const override { return true; }
    int64_t DrawLimit() const override { return m_drawLimit; }

    int Send(const std::string&, const std::vector<uint8_t>& pdf) override {
        for (int number = 1; number < 100000; ++number) {
            char name[32];
            snprintf(name, sizeof name, "/page-%03d.pdf", number);
            const std::string path = m_folder + name;
            const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
            if (fd < 0 && errno == EEXIST) continue;
            if (fd < 0) break;
            int result = WriteAll(fd, pdf);
            if (close(fd) != 0 && result > 0) {
                SetLastError(ERROR_ACCESS_DENIED);
                result = SP_ERROR;
            }
            if (result <= 0) {
                unlink(path.c_str());
                return result;
            }
            LogLine("print " + path);
            return 1;
        }
        SetLastError(ERROR_PATH_NOT_FOUND);
        return SP_ERROR;
    }

private:
    static int WriteAll(int fd, const std::vector<uint8_t>& bytes) {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
            if (written < 0 && errno == EINTR) continue;
            if (written <= 0) {
                const bool full = written < 0 && errno == ENOSPC;
                SetLastError(full ? ERROR_DISK_FULL : ERROR_ACCESS_DENIED);
                return full ? SP_OUTOFDISK : SP_ERROR;
            }
            done += static_cast<size_t>(written);
        }
        return 1;
    }

    std::string m_folder;
    PageGeometry m_page;
    int64_t m_drawLimit;
};

}  // namespace

std::unique_ptr<PrintTarget> OpenPrintFolder(const std::string& folder) {
    const Options& options = CurrentOptions();
    std::optional<PageGeometry> page;
    if (options.printWidth > 0 && options.printHeight > 0) {
        page = PageGeometry{};
        page->dpiX = options.printDpiX;
        page->dpiY = options.printDpiY;
        page->horzRes = options.printWidth;
        page->vertRes = options.printHeight;
        page->widthPt = options.printWidth * 72.0 / options.printDpiX;
        page->heightPt = options.printHeight * 72.0 / options.printDpiY;
    } else {
        page = PageFor(LocalePaper(), options.printDpiX, options.printDpiY);
    }
    if (!page) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return std::make_unique<PrintFolder>(folder, *page, options.printDrawLimit);
}

}  // namespace platform::print
