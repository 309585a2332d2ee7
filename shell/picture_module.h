// The picture module "Banques.dat": the resource library of the large
// pictures (blank paper, backgrounds and their thumbnails, stamp banks, the
// puzzle frames, the farewell picture). It is opened with the configuration
// and freed with it; whoever loads a picture from it makes it the resource
// module for that load and puts the previous module back.
#pragma once

#include "platform/windows.h"

constexpr char kPictureModuleName[] = "Banques.dat";

// The open module, or null.
extern HMODULE g_pictureModule;

// Opens the module from the base folder, or from the data root when the base
// folder lacks it. A module that cannot be loaded is fatal (message 28 with
// its full path).
HMODULE OpenPictureModule();
void ClosePictureModule();

// Makes the picture module the resource module for its lifetime.
class PictureModuleScope {
public:
    PictureModuleScope();
    ~PictureModuleScope();
    PictureModuleScope(const PictureModuleScope&) = delete;
    PictureModuleScope& operator=(const PictureModuleScope&) = delete;

private:
    HMODULE m_previous;
};
