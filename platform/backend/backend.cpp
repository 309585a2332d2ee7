#include "platform/backend/backend.h"

#include <cstdio>

#include "platform/backend/headless/headless.h"
#include "platform/options.h"

namespace platform {
namespace {

class FileLog : public EventLog {
public:
    explicit FileLog(const std::string& path) : m_file(fopen(path.c_str(), "w")) {}
    ~FileLog() override {
        if (m_file != nullptr) fclose(m_file);
    }
    void Line(const std::string& line) override {
        if (m_file == nullptr) return;
        fprintf(m_file, "%s\n", line.c_str());
        fflush(m_file);
    }

private:
    FILE* m_file;
};

Backend& Slot() {
    static Backend backend;
    return backend;
}

}  // namespace

std::unique_ptr<EventLog> MakeFileLog(const std::string& path) { return std::make_unique<FileLog>(path); }

Backend& CurrentBackend() {
    Backend& backend = Slot();
    // Code that runs before a backend is chosen, such as a test, gets the
    // headless one without a script.
    if (!backend.clock) backend = MakeHeadlessBackend(CurrentOptions());
    return backend;
}

void InstallBackend(Backend backend) { Slot() = std::move(backend); }

void LogLine(const std::string& line) {
    Backend& backend = CurrentBackend();
    if (backend.log) backend.log->Line(line);
}

}  // namespace platform
