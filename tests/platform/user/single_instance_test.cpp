#include "platform/user/single_instance.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

namespace platform {
namespace {

namespace fs = std::filesystem;

// A private runtime folder and a name no other run of the tests shares.
class RuntimeDirScope {
public:
    RuntimeDirScope() {
        std::string pattern = (fs::temp_directory_path() / "tavelin-single-XXXXXX").string();
        m_dir = mkdtemp(pattern.data());
        const char* old = std::getenv("XDG_RUNTIME_DIR");
        m_old = old ? std::optional<std::string>(old) : std::nullopt;
        setenv("XDG_RUNTIME_DIR", m_dir.c_str(), 1);
    }
    ~RuntimeDirScope() {
        ReleaseSingleInstance();
        if (m_old) {
            setenv("XDG_RUNTIME_DIR", m_old->c_str(), 1);
        } else {
            unsetenv("XDG_RUNTIME_DIR");
        }
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    const std::string& Dir() const { return m_dir; }

private:
    std::string m_dir;
    std::optional<std::string> m_old;
};

std::string UniqueName() {
    static int counter = 0;
    return "tavelin-test-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
}

// Polls TakeRaiseRequest for up to five seconds.
bool WaitForRaiseRequest() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < deadline) {
        if (TakeRaiseRequest()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

int ExitCode(pid_t child) {
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

TEST(SingleInstance, SecondCopyRaisesFirstAndCrashedCopyLeavesNoBlock) {
    RuntimeDirScope scope;
    std::string name = UniqueName();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t first = fork();
    ASSERT_GE(first, 0);
    if (first == 0) {
        // The first copy: claims, says so, waits for the raise, and then dies
        // without cleaning up, leaving its socket file behind.
        char claimed = ClaimSingleInstance(name) ? '1' : '0';
        (void)!write(ready[1], &claimed, 1);
        _exit(WaitForRaiseRequest() ? 0 : 1);
    }
    close(ready[1]);
    char claimed = 0;
    ASSERT_EQ(read(ready[0], &claimed, 1), 1);
    close(ready[0]);
    EXPECT_EQ(claimed, '1');
    EXPECT_FALSE(ClaimSingleInstance(name));
    EXPECT_FALSE(TakeRaiseRequest());
    EXPECT_TRUE(AskFirstInstanceToRaise(name));
    EXPECT_EQ(ExitCode(first), 0);

    // Nobody listens any more, but the stale socket does not stop a new first copy.
    EXPECT_FALSE(AskFirstInstanceToRaise(name));
    ASSERT_TRUE(ClaimSingleInstance(name));
    EXPECT_FALSE(TakeRaiseRequest());
    pid_t second = fork();
    ASSERT_GE(second, 0);
    if (second == 0) {
        _exit(AskFirstInstanceToRaise(name) ? 0 : 1);
    }
    EXPECT_TRUE(WaitForRaiseRequest());
    EXPECT_EQ(ExitCode(second), 0);
    EXPECT_FALSE(TakeRaiseRequest());

    ReleaseSingleInstance();
    EXPECT_FALSE(fs::exists(scope.Dir() + "/" + name + ".sock"));
    EXPECT_FALSE(TakeRaiseRequest());
    EXPECT_TRUE(ClaimSingleInstance(name));
}

TEST(SingleInstance, OddNamesStayInsideTheRuntimeFolder) {
    RuntimeDirScope scope;
    fs::create_directory(scope.Dir() + "/inner");
    setenv("XDG_RUNTIME_DIR", (scope.Dir() + "/inner").c_str(), 1);
    for (std::string name : {std::string("../escape"), std::string("a/b c"), std::string(""), std::string(300, 'x')}) {
        EXPECT_TRUE(ClaimSingleInstance(name)) << name;
        ReleaseSingleInstance();
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(scope.Dir())) {
        EXPECT_EQ(entry.path().filename(), "inner") << entry.path();
    }
    int files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(scope.Dir() + "/inner")) {
        std::string file = entry.path().filename().string();
        EXPECT_EQ(file.find_first_of("/ "), std::string::npos) << file;
        EXPECT_NE(file[0], '.') << file;
        ++files;
    }
    EXPECT_EQ(files, 4);  // one lock file per name; the sockets went with the claims
}

}  // namespace
}  // namespace platform
