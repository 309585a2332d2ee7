#include "shell/picture_module.h"

#include <cstdio>

#include "shell/data_paths.h"
#include "shell/resources.h"
#include "storage/files.h"

HMODULE g_pictureModule = nullptr;

HMODULE OpenPictureModule() {
    const bool fromDataRoot = !RelativeFileExists(kPictureModuleName);
    if (fromDataRoot) UseDataRoot();
    // The full path, so that the library is found wherever the current folder
    // is and the message names where it was looked for.
    char path[MAX_PATH];
    std::snprintf(path, sizeof path, "%s", BuildPath(kPictureModuleName, nullptr, nullptr));
    g_pictureModule = LoadLibraryOrFail(path);
    if (fromDataRoot) UseProgramFolder();
    return g_pictureModule;
}

void ClosePictureModule() {
    if (g_pictureModule != nullptr) FreeLibrary(g_pictureModule);
    g_pictureModule = nullptr;
}

PictureModuleScope::PictureModuleScope() : m_previous(SetResourceModule(g_pictureModule)) {}

PictureModuleScope::~PictureModuleScope() { SetResourceModule(m_previous); }
