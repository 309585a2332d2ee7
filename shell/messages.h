// Texts and numbered messages: the text blocks of the program's resources,
// the Windows language, and the one message-box service through which every
// error, warning and question is shown.
#pragma once

#include <cstddef>

// The kinds of report.
constexpr int kWarning = 0;
constexpr int kFatal = 1;
constexpr int kRetry = 2;
constexpr int kQuestion = 3;
// A code of 9999 shows no code line.
constexpr long kNoCode = 9999;

// A text block in memory; empty when it is not loaded.
struct TextBlock {
    const char* data = nullptr;
    size_t size = 0;
};
extern TextBlock g_errorTexts;
extern TextBlock g_helpTexts;

int GetWindowsLanguage();
// Loads the error block for the Windows language; without it the program stops.
void LoadErrorTexts();
// Shows the messages in the chosen language (0 French ... 5 Italian) when
// there are messages in it, French or English; any other keeps the block of
// the Windows language.
void FollowLanguage(int languageIndex);
// Loads the help block of a language index (0 French ... 5 Italian).
bool LoadHelpTexts(int languageIndex);
int GetText(const TextBlock& block, int number, char* buffer, int size);
int GetHelpString(int number, char* buffer, int size);
int GetMessageText(int number, char* buffer);

// How many message boxes have been shown so far.
extern int g_messagesShown;
bool ShowMessage(int number, int kind, long code);
bool ShowMessageWithText(int number, const char* text, int kind, long code);
bool ShowText(const char* text, int kind, long code);
void ShowHelpString(int number);
