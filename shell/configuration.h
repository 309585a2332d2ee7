// The configuration: the installation file "Tavelin.ini", the language, the
// data root, the sounds folders, the picture module, the sixteen fonts, the
// colour table with the swatch colours, and the program cursors. Loaded once
// before any screen is shown and shut down at the end of the run.
#pragma once

#include "platform/windows.h"

constexpr int kLanguageCount = 6;
constexpr int kColourCount = 256;
constexpr int kSwatchCount = 36;
constexpr int kFontCount = 16;

// The path with which the installation file's values were read.
extern char g_installationFile[MAX_PATH];
// 0 French, 1 English, 2 German, 3 Spanish, 4 Dutch, 5 Italian.
extern int g_languageIndex;
// 1 when the installation file asks for the language screen.
extern int g_askLanguage;
// Where drawings are listed, loaded and saved; empty for the program folder.
extern char g_picturesFolder[MAX_PATH];
// "Polices", relative to the data root.
extern char g_fontsFolder[MAX_PATH];
// The program's colours (static colours in 0..9 and 246..255 once the palette
// is made), the palette made from them, and the colours of the swatches.
extern COLORREF g_colourTable[kColourCount];
extern HPALETTE g_configurationPalette;
extern COLORREF g_swatchColours[kSwatchCount];

// The face names of the sixteen fonts, by font index.
extern const char* const kFontFaceNames[kFontCount];

// Everything above, in order. False only when the user gave up inserting the
// CD; nothing was shown then but the question.
bool LoadConfiguration();
// Frees the picture module, removes the fonts and deletes the palette.
void ShutdownConfiguration();

void ReadInstallationFile();
void ChooseLanguage();
void LoadColours();
// The language index of a Windows language code (GetWindowsLanguage).
int LanguageIndexFor(int windowsLanguage);

// A program cursor loaded by LoadConfiguration (or at start-up); the arrow
// for an id that was not loaded.
HCURSOR LoadedCursor(int id);
