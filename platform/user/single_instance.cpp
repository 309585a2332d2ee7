#include "platform/user/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace platform {
namespace {

constexpr char kRequest[] = "raise\n";
constexpr char kAnswer[] = "ok\n";
constexpr int kAnswerTimeoutMs = 2000;
constexpr auto kClientPatience = std::chrono::seconds(5);
constexpr size_t kMostClients = 8;

struct Client {
    int fd = -1;
    std::chrono::steady_clock::time_point since;
    std::string received;
};

struct Claim {
    int lockFd = -1;
    int listenFd = -1;
    pid_t owner = 0;
    std::string socketPath;
    std::vector<Client> clients;
};

Claim& CurrentClaim() {
    static Claim claim;
    return claim;
}

// $XDG_RUNTIME_DIR, else a private folder of ours in /tmp that nobody else owns.
std::optional<std::string> RuntimeDir() {
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    struct stat info;
    if (xdg && xdg[0] == '/' && stat(xdg, &info) == 0 && S_ISDIR(info.st_mode)) {
        return std::string(xdg);
    }
    std::string dir = "/tmp/tavelin-" + std::to_string(getuid());
    if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) {
        return std::nullopt;
    }
    if (lstat(dir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
        (info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return std::nullopt;
    }
    return dir;
}

// Keeps letters, digits, '-', '_' and inner dots, so that the name stays one
// plain file name of reasonable length.
std::string SanitizedName(const std::string& appName) {
    std::string name;
    for (char ch : appName.substr(0, 64)) {
        bool plain = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-' ||
                     ch == '_' || (ch == '.' && !name.empty());
        name += plain ? ch : '_';
    }
    return name.empty() ? std::string("app") : name;
}

bool SocketAddress(const std::string& path, sockaddr_un& address) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int Listen(const std::string& path) {
    sockaddr_un address;
    if (!SocketAddress(path, address)) {
        return -1;
    }
    // We hold the lock, so a socket file here was left by a copy that is gone.
    unlink(path.c_str());
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 || listen(fd, 8) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void RemoveSocketAtExit() {
    Claim& claim = CurrentClaim();
    if (claim.listenFd >= 0 && claim.owner == getpid()) {
        unlink(claim.socketPath.c_str());
    }
}

bool SameUser(int fd) {
    ucred credentials{};
    socklen_t length = sizeof(credentials);
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 && credentials.uid == getuid();
}

void AcceptClients(Claim& claim) {
    int fd;
    while ((fd = accept4(claim.listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0) {
        if (!SameUser(fd) || claim.clients.size() >= kMostClients) {
            close(fd);
            continue;
        }
        claim.clients.push_back(Client{fd, std::chrono::steady_clock::now(), {}});
    }
}

// Reads what a client sent; true when the client is done with, either way.
bool ServeClient(Client& client, bool& raised) {
    char buffer[32];
    ssize_t got = recv(client.fd, buffer, sizeof(buffer), 0);
    if (got > 0) {
        client.received.append(buffer, static_cast<size_t>(got));
        if (client.received.find(kRequest) != std::string::npos) {
            send(client.fd, kAnswer, sizeof(kAnswer) - 1, MSG_NOSIGNAL);
            raised = true;
            return true;
        }
        return client.received.size() > 64;
    }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
        return std::chrono::steady_clock::now() - client.since > kClientPatience;
    }
    return true;
}

}  // namespace

bool ClaimSingleInstance(const std::string& appName) {
    ReleaseSingleInstance();
    std::optional<std::string> dir = RuntimeDir();
    if (!dir) {
        return true;
    }
    std::string base = *dir + "/" + SanitizedName(appName);
    int lockFd = open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd < 0) {
        return true;
    }
    if (flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        bool taken = errno == EWOULDBLOCK;
        close(lockFd);
        return !taken;
    }
    Claim& claim = CurrentClaim();
    claim.lockFd = lockFd;
    claim.owner = getpid();
    claim.socketPath = base + ".sock";
    claim.listenFd = Listen(claim.socketPath);
    static bool exitHandlerSet = false;
    if (!exitHandlerSet) {
        exitHandlerSet = std::atexit(RemoveSocketAtExit) == 0;
    }
    return true;
}

bool AskFirstInstanceToRaise(const std::string& appName) {
    std::optional<std::string> dir = RuntimeDir();
    sockaddr_un address;
    if (!dir || !SocketAddress(*dir + "/" + SanitizedName(appName) + ".sock", address)) {
        return false;
    }
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    timeval timeout{kAnswerTimeoutMs / 1000, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof(timeout));
    bool answered = false;
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        send(fd, kRequest, sizeof(kRequest) - 1, MSG_NOSIGNAL) == static_cast<ssize_t>(sizeof(kRequest) - 1)) {
        std::string reply;
        pollfd waiting{fd, POLLIN, 0};
        while (reply.size() < sizeof(kAnswer) - 1 && poll(&waiting, 1, kAnswerTimeoutMs) == 1) {
            char buffer[8];
            ssize_t got = recv(fd, buffer, sizeof(buffer), 0);
            if (got <= 0) {
                break;
            }
            reply.append(buffer, static_cast<size_t>(got));
        }
        answered = reply.starts_with(kAnswer);
    }
    close(fd);
    return answered;
}

bool TakeRaiseRequest() {
    Claim& claim = CurrentClaim();
    if (claim.listenFd < 0) {
        return false;
    }
    AcceptClients(claim);
    bool raised = false;
    for (size_t i = 0; i < claim.clients.size();) {
        if (ServeClient(claim.clients[i], raised)) {
            close(claim.clients[i].fd);
            claim.clients.erase(claim.clients.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
    return raised;
}

void ReleaseSingleInstance() {
    Claim& claim = CurrentClaim();
    for (Client& client : claim.clients) {
        close(client.fd);
    }
    claim.clients.clear();
    if (claim.listenFd >= 0) {
        if (claim.owner == getpid()) {
            unlink(claim.socketPath.c_str());
        }
        close(claim.listenFd);
        claim.listenFd = -1;
    }
    if (claim.lockFd >= 0) {
        close(claim.lockFd);
        claim.lockFd = -1;
    }
}

}  // namespace platform
