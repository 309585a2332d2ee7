#include "shell/messages.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/windows.h"
#include "shell/app.h"
#include "shell/screen.h"
#include "shell/text_block.h"

TextBlock g_errorTexts;
TextBlock g_helpTexts;
int g_messagesShown = 0;

namespace {

char g_messageText[256];
char g_composed[512];
char g_codeFormat[300];
char g_textCodeFormat[300];
int g_fatalShowing = 0;

const char* const kLanguageCodes[] = {"ell", "rus", "trk", "plk", "csy", "sky", "hun",
                                      "dan", "nl*", "en*", "fin", "fr*", "de*", "isl",
                                      "it*", "no*", "pt*", "sve", "es*"};
constexpr int kFrench = 12;
constexpr int kFrenchErrors = 32000;
constexpr int kEnglishErrors = 32001;
constexpr int kFrenchIndex = 0;
constexpr int kEnglishIndex = 1;

bool LoadBlock(int number, TextBlock& block) {
    HMODULE module = theApp.m_instance;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(number), MAKEINTRESOURCEA(kTextBlockType));
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = LockResource(loaded);
    if (data == nullptr) return false;
    block.data = static_cast<const char*>(data);
    block.size = SizeofResource(module, found);
    return true;
}

UINT StyleFor(int kind) {
    switch (kind) {
        case kFatal: return MB_OK | MB_ICONHAND | MB_SYSTEMMODAL;
        case kRetry:
            return g_screenShown ? (MB_RETRYCANCEL | MB_ICONQUESTION | MB_TASKMODAL)
                                 : (MB_RETRYCANCEL | MB_ICONHAND | MB_SYSTEMMODAL);
        case kQuestion: return MB_OKCANCEL | MB_ICONQUESTION | MB_TASKMODAL;
        default: return MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL;
    }
}

bool Report(const char* text, int kind) {
    ++g_messagesShown;
    if (kind == kFatal && g_fatalShowing++ > 0) ExitProcess(10);
    // The pointer shows while the box waits, and afterwards takes back the
    // show count it had: a count left one higher would keep the pointer
    // over the airbrush and the stamps, which hide it.
    const int before = ShowCursor(FALSE) + 1;
    int shown = before - 1;
    for (int i = 0; i < 50 && shown <= 0; ++i) shown = ShowCursor(TRUE);
    const int answer = MessageBoxA(nullptr, text, g_captionText, StyleFor(kind));
    while (shown > before) shown = ShowCursor(FALSE);
    const bool yes = kind == kRetry ? answer == IDRETRY : answer == IDOK;
    if (kind == kFatal) Terminate();
    return yes;
}

// Makes a block of error messages the one shown and composes the code
// formats around its "Error type".
void PrepareErrorTexts() {
    char text[256];
    GetMessageText(3, text);
    // The formats embed "Error type"; a percent sign in it must stay a character.
    std::string errorType;
    for (const char* p = text; *p != '\0'; ++p) errorType += *p == '%' ? "%%" : std::string(1, *p);
    snprintf(g_codeFormat, sizeof g_codeFormat, "%%s\n%s %%ld.", errorType.c_str());
    snprintf(g_textCodeFormat, sizeof g_textCodeFormat, "%%s%%s\n%s %%ld.", errorType.c_str());
}

}  // namespace

int GetWindowsLanguage() {
    char code[7] = "";
    GetProfileStringA("intl", "sLanguage", "fra", code, 7);
    const char first = static_cast<char>(code[0] | 0x20);
    const char second = static_cast<char>(code[1] | 0x20);
    for (size_t i = 0; i < sizeof kLanguageCodes / sizeof kLanguageCodes[0]; ++i) {
        if (kLanguageCodes[i][0] == first && kLanguageCodes[i][1] == second) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

void LoadErrorTexts() {
    const int number = GetWindowsLanguage() == kFrench ? kFrenchErrors : kEnglishErrors;
    if (!LoadBlock(number, g_errorTexts)) {
        MessageBoxA(nullptr, "Can\x92t load error messages...", g_captionText,
                    MB_OK | MB_ICONHAND | MB_SYSTEMMODAL);
        Terminate();
    }
    PrepareErrorTexts();
}

void FollowLanguage(int languageIndex) {
    if (languageIndex != kFrenchIndex && languageIndex != kEnglishIndex) return;
    TextBlock block;
    if (!LoadBlock(languageIndex == kFrenchIndex ? kFrenchErrors : kEnglishErrors, block)) return;
    g_errorTexts = block;
    PrepareErrorTexts();
}

bool LoadHelpTexts(int languageIndex) { return LoadBlock(100 + languageIndex, g_helpTexts); }

int GetText(const TextBlock& block, int number, char* buffer, int size) {
    return GetTextFromBlock(block.data, block.size, number, buffer, size);
}

int GetHelpString(int number, char* buffer, int size) {
    return GetText(g_helpTexts, number, buffer, size);
}

int GetMessageText(int number, char* buffer) { return GetText(g_errorTexts, number, buffer, 256); }

bool ShowMessage(int number, int kind, long code) {
    GetMessageText(number, g_messageText);
    if (code == kNoCode) {
        snprintf(g_composed, sizeof g_composed, "%s", g_messageText);
    } else {
        snprintf(g_composed, sizeof g_composed, g_codeFormat, g_messageText, code);
    }
    return Report(g_composed, kind);
}

bool ShowMessageWithText(int number, const char* text, int kind, long code) {
    GetMessageText(number, g_messageText);
    if (text == nullptr) text = "";
    if (code == kNoCode) {
        snprintf(g_composed, sizeof g_composed, "%s%s", g_messageText, text);
    } else {
        snprintf(g_composed, sizeof g_composed, g_textCodeFormat, g_messageText, text, code);
    }
    return Report(g_composed, kind);
}

bool ShowText(const char* text, int kind, long code) {
    if (text == nullptr) text = "";
    if (code == kNoCode) {
        snprintf(g_composed, sizeof g_composed, "%s", text);
    } else {
        const int room = 236 - static_cast<int>(strlen(g_codeFormat));
        snprintf(g_composed, sizeof g_composed, g_codeFormat,
                 std::string(text, strnlen(text, room > 0 ? room : 0)).c_str(), code);
    }
    return Report(g_composed, kind);
}

void ShowHelpString(int number) {
    char text[256];
    GetHelpString(number, text, sizeof text);
    ShowText(text, kWarning, kNoCode);
}
