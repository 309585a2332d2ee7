// The desktop's answers for WIN.INI keys that no profile file holds: the
// Windows language from the locale and the default printer from CUPS.
#include <stdlib.h>

#include <algorithm>
#include <cctype>

#include "platform/kernel/codepage.h"
#include "platform/kernel/profile.h"
#include "platform/options.h"
#include "platform/print/printer.h"

namespace platform {
namespace {

constexpr const char* kEnglish = "enu";

struct LanguageCode {
    const char* iso;
    const char* windows;
};

// Windows language codes for ISO 639-1 languages; each starts with the same
// two letters the program compares.
constexpr LanguageCode kLanguages[] = {
    {"fr", "fra"}, {"en", "enu"}, {"de", "deu"}, {"es", "esn"}, {"nl", "nld"},
    {"it", "ita"}, {"el", "ell"}, {"ru", "rus"}, {"tr", "trk"}, {"pl", "plk"},
    {"cs", "csy"}, {"sk", "sky"}, {"hu", "hun"}, {"da", "dan"}, {"fi", "fin"},
    {"is", "isl"}, {"nb", "nor"}, {"nn", "non"}, {"no", "nor"}, {"pt", "ptg"},
    {"sv", "sve"},
};

// The default printer is asked each time, within the print system's bounded
// wait: it may change while the program runs. A headless print folder is
// the only printer there is.
std::optional<std::string> DefaultPrinterDevice() {
    if (!CurrentOptions().printTo.empty()) return "Print folder,winspool,FILE:";
    const std::optional<std::string> name = print::DefaultCupsPrinter();
    if (!name) return std::nullopt;
    return Utf8ToCp1252(*name) + ",winspool,CUPS";
}

// The locale that decides the messages' language is the first set of these;
// no locale at all, "C", "C.UTF-8" and "POSIX" speak English.
std::string DesktopLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return LanguageFromLocale(value).value_or(kEnglish);
        }
    }
    return kEnglish;
}

}  // namespace

std::optional<std::string> LanguageFromLocale(const char* locale) {
    if (locale == nullptr) {
        return std::nullopt;
    }
    const std::string_view text(locale);
    const size_t languageEnd = std::min(text.find_first_of("_.@"), text.size());
    std::string language(text.substr(0, languageEnd));
    for (char& c : language) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    std::string_view country;
    if (languageEnd < text.size() && text[languageEnd] == '_') {
        const std::string_view rest = text.substr(languageEnd + 1);
        country = rest.substr(0, std::min(rest.find_first_of(".@"), rest.size()));
    }
    if (language == "en" && country == "GB") {
        return "eng";
    }
    if (language == "pt" && country == "BR") {
        return "ptb";
    }
    for (const LanguageCode& code : kLanguages) {
        if (language == code.iso) {
            return code.windows;
        }
    }
    const bool letters = language.size() >= 2 && language.size() <= 3 &&
                         std::all_of(language.begin(), language.end(),
                                     [](char c) { return c >= 'a' && c <= 'z'; });
    return letters ? std::optional<std::string>(language) : std::nullopt;
}

std::optional<std::string> DesktopProfileValue(std::string_view section, std::string_view key) {
    if (EqualNoCase(section, "intl") && EqualNoCase(key, "sLanguage")) {
        return DesktopLanguage();
    }
    if (EqualNoCase(section, "windows") && EqualNoCase(key, "device")) {
        return DefaultPrinterDevice();
    }
    return std::nullopt;
}

}  // namespace platform
