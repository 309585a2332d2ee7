// A temporary tree for the kernel tests: a program folder, a data folder for
// the D: drive and a configuration folder, set into CurrentOptions() for the
// test's lifetime and removed afterwards together with any change of the
// current folder and of the places searched for media.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/kernel/paths.h"
#include "platform/options.h"

namespace platform::testing {

class KernelTestFolder {
public:
    KernelTestFolder() : m_savedOptions(CurrentOptions()) {
        char pattern[] = "/tmp/tavelin-kernel-XXXXXX";
        m_root = mkdtemp(pattern);
        m_savedCurrent = std::filesystem::current_path();
        std::filesystem::create_directories(m_root + "/lib/tavelin");
        std::filesystem::create_directories(m_root + "/cd");
        std::filesystem::create_directories(m_root + "/config");
        Options& options = CurrentOptions();
        options.programPath = m_root + "/lib/tavelin/tavelin";
        options.dataDir = m_root + "/cd";
        options.configDir = m_root + "/config";
        SetMediaRoots({});
    }

    ~KernelTestFolder() {
        std::filesystem::current_path(m_savedCurrent);
        CurrentOptions() = m_savedOptions;
        SetMediaRoots(DefaultMediaRoots());
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    KernelTestFolder(const KernelTestFolder&) = delete;
    KernelTestFolder& operator=(const KernelTestFolder&) = delete;

    const std::string& Root() const { return m_root; }

    // The Linux path of a name inside the tree.
    std::string Path(const std::string& relative) const { return m_root + "/" + relative; }

    // The Windows path of a name inside the tree, through Z:.
    std::string WindowsPath(const std::string& relative) const {
        std::string path = "Z:" + m_root + "/" + relative;
        for (char& c : path) {
            c = c == '/' ? '\\' : c;
        }
        return path;
    }

    void Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path path = Path(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    std::string Read(const std::string& relative) const {
        std::ifstream in(Path(relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    Options m_savedOptions;
    std::string m_root;
    std::filesystem::path m_savedCurrent;
};

}  // namespace platform::testing
