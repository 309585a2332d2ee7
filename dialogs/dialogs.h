// The program's dialogs and what they leave for the workshop: the saved
// drawings' dialogs, the choosers, the confirmations and the farewell.
// Each launcher opens the dialog frame around its dialog (the farewell
// excepted); a dialog that cannot be made is fatal message 51.
#pragma once

#include "platform/windows.h"

// Loading and saving drawings. The load puts the drawing into the scratch
// picture; the save writes the scratch picture.
int RunLoadDialog();
int RunSaveDialog();
// 1 when the file was read into the scratch picture; 0 after reporting the
// error. givenByPath 1 uses the name as a path of its own (the picture named
// on the command line).
int LoadDrawing(const char* fileName, int givenByPath);
// A new sheet has no file name: the next save asks for a new one.
void ForgetCurrentPicture();

// The background chooser sets g_backgroundChoice and returns 1, or returns 0.
extern int g_backgroundChoice;
int ChooseBackground();
// An effect number 0..21, or -1 when cancelled.
int ChooseEffect();
// 1 when OK wrote the text settings, 0 when cancelled.
int ChooseFont();
int ConfirmPrint();
int ConfirmQuit();
void ShowFarewell();

// The text tool's settings, written only by the font chooser's OK.
struct TextSettings {
    int face = 0;
    int height = 32;
    int styleBits = 0;
    int style = 0;
};
extern TextSettings g_textSettings;
// The font chooser's working values, kept from one opening to the next.
struct FontChooserValues {
    int font = 0;
    int styleBits = 0;
    int style = 0;
    int sizeIndex = 14;
};
extern FontChooserValues g_fontChooser;
