#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/kernel/paths.h"
#include "platform/kernel/resource_pack.h"
#include "platform/windows.h"

// The pack built into the executable. Each executable links one generated
// definition (program_resources or test_resources); the references are weak so
// that a tool linked without one still runs, with an empty program module.
namespace platform::embedded {
extern const unsigned char kTavelinPack[] __attribute__((weak));
extern const size_t kTavelinPackSize __attribute__((weak));
}  // namespace platform::embedded

namespace platform {

namespace {

static_assert(sizeof(void*) == 8, "resource handles pack a module and an index in 64 bits");

// A library bigger than this is refused before anything is allocated.
constexpr size_t kMaxLibrarySize = size_t{256} << 20;
// Slot 0 is the program's own module; the others are libraries.
constexpr size_t kMaxModules = 255;

struct Module {
    bool inUse = false;
    uint8_t generation = 0;
    int references = 0;
    std::vector<uint8_t> bytes;
    PackView pack;
    dev_t device = 0;
    ino_t inode = 0;
    std::string baseName;
    std::string fileName;
};

std::vector<Module>& Modules() {
    static std::vector<Module> modules = [] {
        std::vector<Module> table(1);
        table.reserve(kMaxModules);
        return table;
    }();
    return modules;
}

bool g_programLoaded = false;

void UseEmbeddedPack(Module& program) {
    program.bytes.clear();
    program.pack = PackView();
    if (embedded::kTavelinPack == nullptr) {
        return;
    }
    const PackError error = program.pack.Open(embedded::kTavelinPack, embedded::kTavelinPackSize);
    if (error != PackError::None) {
        std::fprintf(stderr, "tavelin: the built-in resources are unusable: %s\n",
                     DescribePackError(error));
    }
}

Module& ProgramModule() {
    Module& program = Modules()[0];
    if (!g_programLoaded) {
        g_programLoaded = true;
        program.inUse = true;
        program.references = 1;
        UseEmbeddedPack(program);
    }
    return program;
}

HMODULE HandleOf(size_t slot) {
    const uintptr_t value = ((slot + 1) << 24) | (uintptr_t{Modules()[slot].generation} << 16);
    return reinterpret_cast<HMODULE>(value);
}

// The module a handle names, or null when it names none; NULL is the program.
Module* ModuleOf(HMODULE handle) {
    if (handle == nullptr) {
        return &ProgramModule();
    }
    ProgramModule();
    const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    const size_t slot = (value >> 24) - 1;
    if ((value & 0xffff) != 0 || (value >> 32) != 0 || slot >= Modules().size()) {
        return nullptr;
    }
    Module& module = Modules()[slot];
    if (!module.inUse || HandleOf(slot) != handle) {
        return nullptr;
    }
    return &module;
}

HRSRC MakeResourceHandle(HMODULE module, size_t index) {
    const uintptr_t value = (reinterpret_cast<uintptr_t>(module) << 32) | index;
    return reinterpret_cast<HRSRC>(value);
}

// The module and entry index a resource handle names, or null.
Module* ResourceOf(HRSRC resource, size_t& index) {
    const uintptr_t value = reinterpret_cast<uintptr_t>(resource);
    const uintptr_t moduleValue = value >> 32;
    Module* module = moduleValue == 0 ? nullptr : ModuleOf(reinterpret_cast<HMODULE>(moduleValue));
    index = value & 0xffffffff;
    if (module == nullptr || index >= module->pack.EntryCount()) {
        return nullptr;
    }
    return module;
}

// A resource name as a number: a MAKEINTRESOURCEA value or a "#123" string.
std::optional<uint16_t> ResourceNumber(LPCSTR name) {
    if (IS_INTRESOURCE(name)) {
        return static_cast<uint16_t>(reinterpret_cast<uintptr_t>(name));
    }
    if (name[0] != '#' || name[1] == '\0') {
        return std::nullopt;
    }
    uint32_t number = 0;
    for (const char* p = name + 1; *p != '\0'; ++p) {
        if (*p < '0' || *p > '9') {
            return std::nullopt;
        }
        number = number * 10 + static_cast<uint32_t>(*p - '0');
        if (number > 0xffff) {
            return std::nullopt;
        }
    }
    return static_cast<uint16_t>(number);
}

std::string BaseName(const std::string& path) {
    const size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Windows adds the extension ".DLL" to a library name that has none; a final
// dot means "no extension" and is dropped.
std::string WithDefaultExtension(std::string name) {
    const std::string base = BaseName(name);
    if (!base.empty() && base.back() == '.') {
        name.pop_back();
    } else if (base.find('.') == std::string::npos) {
        name += ".DLL";
    }
    return name;
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// Places a validated pack in a free library slot; returns NULL when none is left.
HMODULE AddLibrary(std::vector<uint8_t> bytes, const struct stat* info, std::string fileName) {
    std::vector<Module>& modules = Modules();
    size_t slot = 1;
    while (slot < modules.size() && modules[slot].inUse) {
        ++slot;
    }
    if (slot == kMaxModules) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (slot == modules.size()) {
        modules.emplace_back();
    }
    Module& module = modules[slot];
    module.inUse = true;
    module.generation = static_cast<uint8_t>(module.generation + 1);
    module.references = 1;
    module.bytes = std::move(bytes);
    // The vector's buffer does not move with the vector, so the view stays valid.
    static_cast<void>(module.pack.Open(module.bytes.data(), module.bytes.size()));
    module.device = info != nullptr ? info->st_dev : 0;
    module.inode = info != nullptr ? info->st_ino : 0;
    module.baseName = BaseName(fileName);
    module.fileName = std::move(fileName);
    return HandleOf(slot);
}

HMODULE FindLoadedFile(const struct stat& info) {
    std::vector<Module>& modules = Modules();
    for (size_t slot = 1; slot < modules.size(); ++slot) {
        Module& module = modules[slot];
        if (module.inUse && module.inode != 0 && module.device == info.st_dev &&
            module.inode == info.st_ino) {
            ++module.references;
            return HandleOf(slot);
        }
    }
    return nullptr;
}

DWORD ErrorFromErrno(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
        case EISDIR:
            return ERROR_ACCESS_DENIED;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        default:
            return ERROR_MOD_NOT_FOUND;
    }
}

// Reads a whole file of at most kMaxLibrarySize bytes; sets the last error on failure.
[[nodiscard]] bool ReadLibraryFile(const std::string& path, const std::string& shownName,
                                   std::vector<uint8_t>& bytes, struct stat& info) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        SetLastError(ErrorFromErrno(errno));
        return false;
    }
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (!ok) {
        SetLastError(ERROR_ACCESS_DENIED);
    } else if (static_cast<uint64_t>(info.st_size) > kMaxLibrarySize) {
        std::fprintf(stderr, "tavelin: %s: the resource library is larger than 256 MiB\n",
                     shownName.c_str());
        SetLastError(ERROR_BAD_EXE_FORMAT);
        ok = false;
    }
    if (ok) {
        bytes.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got <= 0) {
                break;
            }
            done += static_cast<size_t>(got);
        }
        if (done != bytes.size()) {
            std::fprintf(stderr, "tavelin: %s: the resource library could not be read whole\n",
                         shownName.c_str());
            SetLastError(ERROR_BAD_EXE_FORMAT);
            ok = false;
        }
    }
    close(fd);
    return ok;
}

}  // namespace

HMODULE LoadPackFromMemory(std::vector<uint8_t> bytes) {
    PackView check;
    const PackError error = check.Open(bytes.data(), bytes.size());
    if (error != PackError::None) {
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return nullptr;
    }
    ProgramModule();
    return AddLibrary(std::move(bytes), nullptr, std::string());
}

bool SetProgramPack(const uint8_t* data, size_t size) {
    PackView check;
    if (check.Open(data, size) != PackError::None) {
        return false;
    }
    Module& program = ProgramModule();
    program.bytes.assign(data, data + size);
    static_cast<void>(program.pack.Open(program.bytes.data(), program.bytes.size()));
    return true;
}

void ResetProgramPack() {
    UseEmbeddedPack(ProgramModule());
}

std::string LibraryFileName(HMODULE module) {
    const Module* library = module == nullptr ? nullptr : ModuleOf(module);
    return library != nullptr ? library->fileName : std::string();
}

}  // namespace platform

using platform::Module;

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName == nullptr) {
        platform::ProgramModule();
        return platform::HandleOf(0);
    }
    const std::string wanted = platform::BaseName(platform::WithDefaultExtension(moduleName));
    std::vector<Module>& modules = platform::Modules();
    for (size_t slot = 1; slot < modules.size(); ++slot) {
        if (modules[slot].inUse && platform::SameNameIgnoringCase(modules[slot].baseName, wanted)) {
            return platform::HandleOf(slot);
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

HRSRC WINAPI FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    Module* owner = platform::ModuleOf(module);
    if (owner == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (name == nullptr || type == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::optional<uint16_t> typeNumber = platform::ResourceNumber(type);
    if (!typeNumber || !owner->pack.HasType(*typeNumber)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    const std::optional<uint16_t> id = platform::ResourceNumber(name);
    const std::optional<size_t> index = id ? owner->pack.Find(*typeNumber, *id) : std::nullopt;
    if (!index) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const size_t slot = static_cast<size_t>(owner - platform::Modules().data());
    return platform::MakeResourceHandle(platform::HandleOf(slot), *index);
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC resource) {
    size_t index = 0;
    const Module* owner = platform::ResourceOf(resource, index);
    if (owner == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return const_cast<uint8_t*>(owner->pack.EntryData(index));
}

LPVOID WINAPI LockResource(HGLOBAL resourceData) {
    return resourceData;
}

DWORD WINAPI SizeofResource(HMODULE, HRSRC resource) {
    size_t index = 0;
    const Module* owner = platform::ResourceOf(resource, index);
    if (owner == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return owner->pack.Entry(index).size;
}

BOOL WINAPI FreeResource(HGLOBAL) {
    return FALSE;
}

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    if (fileName == nullptr || fileName[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    platform::ProgramModule();
    const std::string windowsPath = platform::WithDefaultExtension(fileName);
    const std::string path = platform::ToLinuxPath(windowsPath.c_str());
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) {
        if (HMODULE loaded = platform::FindLoadedFile(info)) {
            return loaded;
        }
    }
    std::vector<uint8_t> bytes;
    if (!platform::ReadLibraryFile(path, windowsPath, bytes, info)) {
        return nullptr;
    }
    platform::PackView check;
    const platform::PackError error = check.Open(bytes.data(), bytes.size());
    if (error != platform::PackError::None) {
        std::fprintf(stderr, "tavelin: %s: %s\n", windowsPath.c_str(),
                     platform::DescribePackError(error));
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return nullptr;
    }
    return platform::AddLibrary(std::move(bytes), &info, platform::ToWindowsPath(path));
}

BOOL WINAPI FreeLibrary(HMODULE module) {
    Module* owner = module == nullptr ? nullptr : platform::ModuleOf(module);
    if (owner == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (owner == &platform::Modules()[0] || --owner->references > 0) {
        return TRUE;
    }
    owner->inUse = false;
    owner->bytes = std::vector<uint8_t>();
    owner->pack = platform::PackView();
    owner->baseName.clear();
    owner->fileName.clear();
    owner->inode = 0;
    return TRUE;
}
