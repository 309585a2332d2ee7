#include "shell/resources.h"

#include <cstring>
#include <string>

#include "shell/messages.h"

HMODULE g_resourceModule = nullptr;
DWORD g_lastResourceError = 0;

namespace {
std::string g_libraryPath;
}

HMODULE SetResourceModule(HMODULE module) {
    HMODULE previous = g_resourceModule;
    g_resourceModule = module;
    return previous;
}

HGLOBAL FindProgramResource(LPCSTR type, int id) {
    HRSRC found = FindResourceA(g_resourceModule, MAKEINTRESOURCEA(id), type);
    HGLOBAL loaded = found != nullptr ? LoadResource(g_resourceModule, found) : nullptr;
    g_lastResourceError = loaded != nullptr ? 0 : GetLastError();
    return loaded;
}

HMODULE LoadLibraryFromBase(const char* name) {
    // FIXME: resolves against the base folder once the file layer has one.
    g_libraryPath = name != nullptr ? name : "";
    if (g_libraryPath.find('.') == std::string::npos) g_libraryPath += ".DLL";
    HMODULE module = LoadLibraryA(g_libraryPath.c_str());
    g_lastResourceError = module != nullptr ? 0 : GetLastError();
    return module;
}

HMODULE LoadLibraryOrFail(const char* name) {
    HMODULE module = LoadLibraryFromBase(name);
    if (module == nullptr) {
        ShowMessageWithText(28, g_libraryPath.c_str(), kFatal, static_cast<long>(g_lastResourceError));
    }
    return module;
}
