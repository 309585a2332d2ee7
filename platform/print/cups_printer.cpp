// Printers of the CUPS server that CUPS_SERVER or the client configuration
// names. Every exchange goes through a connection of our own whose waits end
// at a deadline, so a stopped, unreachable or slow server costs a few seconds
// at most; a connection that timed out once is not used again.
#include <cups/cups.h>

#include <chrono>
#include <cstring>

#include "platform/print/printer.h"
#include "platform/windows.h"

namespace platform::print {
namespace {

int g_waitMs = 10000;

using SteadyClock = std::chrono::steady_clock;

// A connection to the server with a deadline per exchange.
class Connection {
public:
    Connection() {
        StartExchange();
        m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                              g_waitMs, nullptr);
        if (m_http != nullptr) httpSetTimeout(m_http, 0.1, StillWaiting, this);
    }
    ~Connection() {
        if (m_http != nullptr) httpClose(m_http);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    http_t* Http() const { return m_timedOut ? nullptr : m_http; }
    bool TimedOut() const { return m_timedOut; }
    void StartExchange() { m_deadline = SteadyClock::now() + std::chrono::milliseconds(g_waitMs); }
    // The last error for a failed exchange.
    DWORD FailureError() const { return m_timedOut || m_http == nullptr ? ERROR_TIMEOUT : ERROR_NOT_READY; }

private:
    static int StillWaiting(http_t*, void* data) {
        auto* self = static_cast<Connection*>(data);
        if (SteadyClock::now() < self->m_deadline) return 1;
        self->m_timedOut = true;
        return 0;
    }

    http_t* m_http = nullptr;
    SteadyClock::time_point m_deadline;
    bool m_timedOut = false;
};

struct QueueState {
    bool found = false;
    bool ready = false;
};

// Asks the server itself, on the bounded connection, how a queue is; the
// destination calls of libcups fall back on connections of their own that
// wait a minute, so they are used only once the server has answered.
QueueState AskQueue(Connection& connection, const std::string& name) {
    QueueState queue;
    http_t* http = connection.Http();
    if (http == nullptr) return queue;
    char uri[1024];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", name.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char* const kWanted[] = {"printer-state", "printer-is-accepting-jobs"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2,
                  nullptr, kWanted);
    ipp_t* response = cupsDoRequest(http, request, "/");
    if (response != nullptr && ippGetStatusCode(response) <= IPP_STATUS_OK_EVENTS_COMPLETE) {
        queue.found = true;
        ipp_attribute_t* state = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM);
        ipp_attribute_t* accepting =
            ippFindAttribute(response, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
        queue.ready = (state == nullptr || ippGetInteger(state, 0) != IPP_PSTATE_STOPPED) &&
                      (accepting == nullptr || ippGetBoolean(accepting, 0) != 0);
    }
    ippDelete(response);
    return queue;
}

// Whether the server answers at all within the wait.
bool ServerAnswers(Connection& connection) {
    http_t* http = connection.Http();
    if (http == nullptr) return false;
    ipp_t* response = cupsDoRequest(http, ippNewRequest(IPP_OP_CUPS_GET_DEFAULT), "/");
    ippDelete(response);
    return !connection.TimedOut() && httpGetStatus(http) != HTTP_STATUS_ERROR;
}

// The default media with its margins, from media-col-default.
std::optional<Media> DefaultMedia(http_t* http, cups_dest_t* dest, cups_dinfo_t* info) {
    ipp_attribute_t* attribute = cupsFindDestDefault(http, dest, info, "media-col");
    ipp_t* collection = attribute != nullptr ? ippGetCollection(attribute, 0) : nullptr;
    if (collection == nullptr) return std::nullopt;
    ipp_attribute_t* size = ippFindAttribute(collection, "media-size", IPP_TAG_BEGIN_COLLECTION);
    ipp_t* sizeCollection = size != nullptr ? ippGetCollection(size, 0) : nullptr;
    if (sizeCollection == nullptr) return std::nullopt;
    auto integer = [](ipp_t* where, const char* name) {
        ipp_attribute_t* value = ippFindAttribute(where, name, IPP_TAG_INTEGER);
        return value != nullptr ? ippGetInteger(value, 0) : 0;
    };
    Media media;
    media.width = integer(sizeCollection, "x-dimension");
    media.length = integer(sizeCollection, "y-dimension");
    media.left = integer(collection, "media-left-margin");
    media.right = integer(collection, "media-right-margin");
    media.top = integer(collection, "media-top-margin");
    media.bottom = integer(collection, "media-bottom-margin");
    return media;
}

void DefaultResolution(http_t* http, cups_dest_t* dest, cups_dinfo_t* info, int& dpiX,
                       int& dpiY) {
    ipp_attribute_t* attribute = cupsFindDestDefault(http, dest, info, "printer-resolution");
    if (attribute == nullptr) return;
    ipp_res_t units = IPP_RES_PER_INCH;
    int y = 0;
    const int x = ippGetResolution(attribute, 0, &y, &units);
    if (units == IPP_RES_PER_CM) {
        dpiX = static_cast<int>(x * 2.54 + 0.5);
        dpiY = static_cast<int>(y * 2.54 + 0.5);
    } else {
        dpiX = x;
        dpiY = y;
    }
}

class CupsPrinter : public PrintTarget {
public:
    CupsPrinter(std::string name, cups_dest_t* dest, std::unique_ptr<Connection> connection)
        : m_name(std::move(name)), m_dest(dest), m_connection(std::move(connection)) {}
    ~CupsPrinter() override { cupsFreeDests(1, m_dest); }

    // Reads the page from the printer's defaults; false when it cannot.
    bool ReadPage() {
        cups_dinfo_t* info = cupsCopyDestInfo(m_connection->Http(), m_dest);
        if (info == nullptr) return false;
        int dpiX = 300;
        int dpiY = 300;
        DefaultResolution(m_connection->Http(), m_dest, info, dpiX, dpiY);
        const std::optional<Media> media = DefaultMedia(m_connection->Http(), m_dest, info);
        cupsFreeDestInfo(info);
        std::optional<PageGeometry> page;
        if (media) page = PageFor(*media, dpiX, dpiY);
        if (!page) page = PageFor(LocalePaper(), dpiX, dpiY);
        if (!page) page = PageFor(LocalePaper(), 300, 300);
        m_page = *page;
        return !m_connection->TimedOut();
    }

    const PageGeometry& Page() const override { return m_page; }
    bool PagePerDocument() const override { return false; }

    bool Ready() override {
        m_connection->StartExchange();
        const QueueState queue = AskQueue(*m_connection, m_name);
        if (!queue.ready) {
            SetLastError(m_connection->TimedOut() || m_connection->Http() == nullptr
                             ? ERROR_TIMEOUT
                         : queue.found ? ERROR_NOT_READY
                                       : ERROR_INVALID_PRINTER_NAME);
        }
        return queue.ready;
    }

    int Send(const std::string& title, const std::vector<uint8_t>& pdf) override;

private:
    std::string m_name;
    cups_dest_t* m_dest;
    std::unique_ptr<Connection> m_connection;
    PageGeometry m_page;
};

// The whole document travels in one Print-Job request, so the server holds a
// job only once it has all of it.
int CupsPrinter::Send(const std::string& title, const std::vector<uint8_t>& pdf) {
    m_connection->StartExchange();
    http_t* http = m_connection->Http();
    if (http == nullptr) {
        SetLastError(ERROR_TIMEOUT);
        return SP_ERROR;
    }
    const std::string resource = "/printers/" + m_name;
    char uri[1024];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost",
                     ippPort(), "/printers/%s", m_name.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_PRINT_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr,
                 CUPS_FORMAT_PDF);
    http_status_t status = cupsSendRequest(http, request, resource.c_str(),
                                           ippLength(request) + pdf.size());
    constexpr size_t kChunk = 65536;
    for (size_t done = 0; status == HTTP_STATUS_CONTINUE && done < pdf.size(); done += kChunk) {
        const size_t length = std::min(kChunk, pdf.size() - done);
        status = cupsWriteRequestData(http, reinterpret_cast<const char*>(pdf.data() + done),
                                      length);
    }
    ipp_t* response = status == HTTP_STATUS_CONTINUE ? cupsGetResponse(http, resource.c_str())
                                                     : nullptr;
    ippDelete(request);
    const ipp_status_t result = response != nullptr ? ippGetStatusCode(response) : cupsLastError();
    ippDelete(response);
    if (response != nullptr && result <= IPP_STATUS_OK_EVENTS_COMPLETE) return 1;
    if (status == HTTP_STATUS_REQUEST_TOO_LARGE) {
        SetLastError(ERROR_DISK_FULL);
        return SP_OUTOFDISK;
    }
    SetLastError(m_connection->TimedOut() ? ERROR_TIMEOUT
                 : result == IPP_STATUS_ERROR_NOT_FOUND ? ERROR_INVALID_PRINTER_NAME
                                                        : ERROR_NOT_READY);
    return SP_ERROR;
}

}  // namespace

int PrinterWaitMs() {
    return g_waitMs;
}

void SetPrinterWaitMs(int ms) {
    g_waitMs = ms;
}

std::unique_ptr<PrintTarget> OpenCupsPrinter(const std::string& name) {
    auto connection = std::make_unique<Connection>();
    const bool found = AskQueue(*connection, name).found;
    http_t* http = connection->Http();
    cups_dest_t* dest = found ? cupsGetNamedDest(http, name.c_str(), nullptr) : nullptr;
    if (dest == nullptr) {
        SetLastError(http == nullptr || connection->TimedOut() ? ERROR_TIMEOUT
                                                               : ERROR_INVALID_PRINTER_NAME);
        return nullptr;
    }
    auto printer = std::make_unique<CupsPrinter>(name, dest, std::move(connection));
    if (!printer->ReadPage()) {
        SetLastError(ERROR_TIMEOUT);
        return nullptr;
    }
    return printer;
}

std::optional<std::string> DefaultCupsPrinter() {
    Connection connection;
    if (!ServerAnswers(connection)) return std::nullopt;
    cups_dest_t* dest = cupsGetNamedDest(connection.Http(), nullptr, nullptr);
    if (dest == nullptr) return std::nullopt;
    std::string name = dest->name;
    cupsFreeDests(1, dest);
    return name;
}

}  // namespace platform::print
