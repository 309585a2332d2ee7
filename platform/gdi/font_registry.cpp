// The registered font faces and the font mapper that chooses among them.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SFNT_NAMES_H
#include FT_TRUETYPE_IDS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <map>

#include "platform/gdi/font.h"
#include "platform/kernel/codepage.h"
#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

// Files larger than this are not fonts the program ships.
constexpr size_t kMaxFontFileBytes = 64u << 20;
constexpr long kMaxFacesPerFile = 64;

const char* const kDefaultFacePaths[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
};

struct RegisteredFace {
    std::shared_ptr<const FontInstance::Source> source;
    std::string family;
    std::string fullName;
    bool bold = false;
    bool italic = false;
};

struct RegisteredFile {
    int uses = 0;
    std::vector<RegisteredFace> faces;
};

struct Registry {
    std::map<std::string, RegisteredFile> files;  // by key, in registration order of keys
    std::vector<RegisteredFace> defaults;         // the fall-back family
    bool defaultsLoaded = false;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

// Windows' ERROR_INVALID_DATA, for a file that is not a usable font.
constexpr DWORD kErrorInvalidData = 13;

// A UTF-16BE name from the name table, as Windows-1252.
std::string NameFromUtf16(const FT_SfntName& name) {
    return Utf16ToCp1252(
        std::string_view(reinterpret_cast<const char*>(name.string), name.string_len), true);
}

// The name with an id from the face's name table, preferring the Windows
// platform in US English as GDI does, then any Windows entry, then Macintosh
// Roman (whose letters below 0x80 are ASCII).
std::string SfntName(FT_Face face, FT_UShort nameId) {
    std::string windowsAny;
    std::string mac;
    const FT_UInt count = FT_Get_Sfnt_Name_Count(face);
    for (FT_UInt i = 0; i < count; ++i) {
        FT_SfntName name;
        if (FT_Get_Sfnt_Name(face, i, &name) != 0 || name.name_id != nameId)
            continue;
        if (name.platform_id == TT_PLATFORM_MICROSOFT) {
            std::string text = NameFromUtf16(name);
            if (name.language_id == TT_MS_LANGID_ENGLISH_UNITED_STATES && !text.empty())
                return text;
            if (windowsAny.empty())
                windowsAny = std::move(text);
        } else if (name.platform_id == TT_PLATFORM_MACINTOSH && mac.empty()) {
            for (FT_UInt k = 0; k < name.string_len; ++k) {
                mac += name.string[k] < 0x80 ? static_cast<char>(name.string[k]) : '?';
            }
        }
    }
    return windowsAny.empty() ? mac : windowsAny;
}

// Opens one face of the bytes and checks that it can be sized and drawn.
std::optional<RegisteredFace> ProbeFace(const std::shared_ptr<const std::vector<uint8_t>>& bytes,
                                        long index, long* faceCount) {
    FT_Library library = static_cast<FT_Library>(FreeTypeLibrary());
    if (library == nullptr)
        return std::nullopt;
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library, bytes->data(), static_cast<FT_Long>(bytes->size()), index,
                           &face) != 0) {
        return std::nullopt;
    }
    std::optional<RegisteredFace> result;
    if (faceCount != nullptr)
        *faceCount = face->num_faces;
    const bool usable = FT_IS_SCALABLE(face) && face->units_per_EM >= 16 &&
                        FT_Set_Pixel_Sizes(face, 0, 16) == 0 &&
                        FT_Load_Glyph(face, 0, FT_LOAD_NO_BITMAP) == 0;
    if (usable) {
        RegisteredFace entry;
        entry.family = SfntName(face, TT_NAME_ID_FONT_FAMILY);
        if (entry.family.empty() && face->family_name != nullptr)
            entry.family = face->family_name;
        entry.fullName = SfntName(face, TT_NAME_ID_FULL_NAME);
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        entry.bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0 ||
                     (os2 != nullptr && os2->version != 0xFFFF && os2->usWeightClass >= 600);
        entry.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
        auto source = std::make_shared<FontInstance::Source>();
        source->bytes = bytes;
        source->faceIndex = index;
        source->faceName = entry.family;
        entry.source = std::move(source);
        if (!entry.family.empty())
            result = std::move(entry);
    }
    FT_Done_Face(face);
    return result;
}

std::vector<RegisteredFace> ProbeFaces(std::vector<uint8_t> bytes) {
    std::vector<RegisteredFace> faces;
    if (bytes.empty() || bytes.size() > kMaxFontFileBytes)
        return faces;
    auto shared = std::make_shared<const std::vector<uint8_t>>(std::move(bytes));
    long count = 1;
    for (long index = 0; index < count && index < kMaxFacesPerFile; ++index) {
        std::optional<RegisteredFace> face =
            ProbeFace(shared, index, index == 0 ? &count : nullptr);
        if (!face && index == 0)
            break;
        if (face)
            faces.push_back(std::move(*face));
    }
    return faces;
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadFontFile(const std::string& path) {
    const auto bytes = ReadRegularFile(path, kMaxFontFileBytes + 1);
    if (!bytes)
        return std::nullopt;
    if (bytes->empty() || bytes->size() > kMaxFontFileBytes)
        return std::vector<uint8_t>{};
    return std::vector<uint8_t>(bytes->begin(), bytes->end());
}

bool IsFontKeyRegistered(const std::string& key) {
    return TheRegistry().files.count(key) != 0;
}

namespace {

void LoadDefaults(Registry& registry) {
    if (registry.defaultsLoaded)
        return;
    registry.defaultsLoaded = true;
    for (const char* path : kDefaultFacePaths) {
        std::optional<std::vector<uint8_t>> bytes = ReadFontFile(path);
        if (!bytes)
            continue;
        for (RegisteredFace& face : ProbeFaces(std::move(*bytes))) {
            registry.defaults.push_back(std::move(face));
        }
    }
}

// Lower is better: a missing bold costs more than a missing italic, and a
// style the request did not ask for costs most, since it cannot be undone.
int StyleDistance(const RegisteredFace& face, bool bold, bool italic) {
    int distance = 0;
    if (face.bold != bold)
        distance += face.bold ? 4 : 2;
    if (face.italic != italic)
        distance += face.italic ? 4 : 1;
    return distance;
}

const RegisteredFace* BestOf(const std::vector<const RegisteredFace*>& faces, bool bold,
                             bool italic) {
    const RegisteredFace* best = nullptr;
    for (const RegisteredFace* face : faces) {
        if (best == nullptr ||
            StyleDistance(*face, bold, italic) < StyleDistance(*best, bold, italic)) {
            best = face;
        }
    }
    return best;
}

// Family names first, then full names ("Foo Bold"), as GDI matches them.
const RegisteredFace* FindByName(Registry& registry, std::string_view name, bool bold,
                                 bool italic) {
    if (name.empty())
        return nullptr;
    std::vector<const RegisteredFace*> families;
    std::vector<const RegisteredFace*> fullNames;
    auto consider = [&](const RegisteredFace& face) {
        if (EqualNoCase(face.family, name))
            families.push_back(&face);
        else if (EqualNoCase(face.fullName, name))
            fullNames.push_back(&face);
    };
    for (const auto& [key, file] : registry.files) {
        for (const RegisteredFace& face : file.faces)
            consider(face);
    }
    for (const RegisteredFace& face : registry.defaults)
        consider(face);
    if (!families.empty())
        return BestOf(families, bold, italic);
    if (!fullNames.empty())
        return fullNames.front();
    return nullptr;
}

// The profile's substitute for a face name, without the ",charset" suffix
// that Windows allows after it.
std::string Substitute(std::string_view name) {
    if (name.empty())
        return {};
    const std::string key(name);
    char buffer[LF_FACESIZE * 2] = {};
    GetProfileStringA("FontSubstitutes", key.c_str(), "", buffer, sizeof buffer);
    std::string result(buffer);
    const size_t comma = result.find(',');
    if (comma != std::string::npos)
        result.resize(comma);
    while (!result.empty() && result.back() == ' ')
        result.pop_back();
    return result;
}

FaceChoice ChoiceOf(const RegisteredFace& face, bool bold, bool italic) {
    FaceChoice choice;
    choice.source = face.source;
    choice.syntheticBold = bold && !face.bold;
    choice.syntheticItalic = italic && !face.italic;
    return choice;
}

}  // namespace

void* FreeTypeLibrary() {
    // Never released: cached instances may still hold faces when statics die.
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return library;
}

int RegisterFontBytes(const std::string& key, std::vector<uint8_t> bytes,
                      std::vector<std::string>* families) {
    Registry& registry = TheRegistry();
    auto existing = registry.files.find(key);
    if (existing != registry.files.end()) {
        ++existing->second.uses;
        if (families != nullptr) {
            for (const RegisteredFace& face : existing->second.faces)
                families->push_back(face.family);
        }
        return static_cast<int>(existing->second.faces.size());
    }
    std::vector<RegisteredFace> faces = ProbeFaces(std::move(bytes));
    if (faces.empty())
        return 0;
    if (families != nullptr) {
        for (const RegisteredFace& face : faces)
            families->push_back(face.family);
    }
    RegisteredFile& file = registry.files[key];
    file.uses = 1;
    file.faces = std::move(faces);
    return static_cast<int>(file.faces.size());
}

bool UnregisterFontBytes(const std::string& key) {
    Registry& registry = TheRegistry();
    auto found = registry.files.find(key);
    if (found == registry.files.end())
        return false;
    if (--found->second.uses <= 0)
        registry.files.erase(found);
    return true;
}

void ResetFonts() {
    TheRegistry().files.clear();
    ForgetFontInstances();
}

FaceChoice ChooseFace(std::string_view faceName, bool bold, bool italic) {
    Registry& registry = TheRegistry();
    LoadDefaults(registry);
    const RegisteredFace* face = FindByName(registry, faceName, bold, italic);
    if (face == nullptr)
        face = FindByName(registry, Substitute(faceName), bold, italic);
    if (face == nullptr && !registry.defaults.empty()) {
        face = FindByName(registry, registry.defaults.front().family, bold, italic);
    }
    if (face == nullptr) {
        for (const auto& [key, file] : registry.files) {
            if (!file.faces.empty()) {
                face = &file.faces.front();
                break;
            }
        }
    }
    if (face != nullptr)
        return ChoiceOf(*face, bold, italic);
    FaceChoice blocks;
    auto source = std::make_shared<FontInstance::Source>();
    source->faceName = "System";
    blocks.source = std::move(source);
    return blocks;
}

}  // namespace platform::gdi

using platform::gdi::RegisterFontBytes;

int WINAPI AddFontResourceA(LPCSTR fileName) {
    if (fileName == nullptr || *fileName == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::string path = platform::ToLinuxPath(fileName);
    if (platform::gdi::IsFontKeyRegistered(path))
        return RegisterFontBytes(path, {});
    std::optional<std::vector<uint8_t>> bytes =
        path.empty() ? std::nullopt : platform::gdi::ReadFontFile(path);
    if (!bytes) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    const int faces = RegisterFontBytes(path, std::move(*bytes));
    if (faces == 0)
        SetLastError(platform::gdi::kErrorInvalidData);
    return faces;
}

BOOL WINAPI RemoveFontResourceA(LPCSTR fileName) {
    if (fileName == nullptr)
        return FALSE;
    if (!platform::gdi::UnregisterFontBytes(platform::ToLinuxPath(fileName))) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    return TRUE;
}
