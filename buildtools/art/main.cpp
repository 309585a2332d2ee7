// tavelin_art: draws the program's pictures and cursors and the picture
// module's pictures with the Windows layer's raster engine and colour emoji,
// and writes them as BMP and cursor files with two pack manifests.
//   tavelin_art --emoji FONT --out DIR --program-base MANIFEST [--contact FILE]
// DIR receives the files, program.txt (the hand-written program manifest
// followed by the pictures and cursors) and module.txt (the picture module).
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "buildtools/art/art.h"
#include "buildtools/art/emoji.h"

int main(int argc, char** argv) {
    std::string emojiFont, outDir, programBase, contact;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--emoji") emojiFont = argv[i + 1];
        else if (option == "--out") outDir = argv[i + 1];
        else if (option == "--program-base") programBase = argv[i + 1];
        else if (option == "--contact") contact = argv[i + 1];
    }
    if (emojiFont.empty() || outDir.empty() || programBase.empty()) {
        std::fprintf(stderr, "usage: tavelin_art --emoji FONT --out DIR --program-base MANIFEST "
                             "[--contact FILE]\n");
        return 2;
    }
    if (!art::StartDrawing() || !art::OpenEmojiFont(emojiFont)) return 1;

    art::Output out(outDir);
    art::MakeCursors(out);
    art::MakeWorkshopButtons(out);
    art::MakeScreens(out);
    art::MakeDialogPictures(out);
    art::MakeBackgrounds(out);
    art::MakeModuleExtras(out);
    art::MakeStamps(out);

    const std::string generated = outDir + "/program_pictures.txt";
    const std::string module = outDir + "/module.txt";
    if (out.Failed() || !out.WriteManifests(generated, module)) return 1;
    // The program's manifest: the hand-written resources first, then ours.
    std::ifstream base(programBase);
    std::ifstream ours(generated);
    std::ostringstream text;
    text << base.rdbuf() << "\n" << ours.rdbuf();
    std::ofstream program(outDir + "/program.txt", std::ios::binary);
    program << text.str();
    if (!base || !program) {
        std::fprintf(stderr, "tavelin_art: cannot write %s/program.txt\n", outDir.c_str());
        return 1;
    }
    if (!contact.empty() && !art::WriteContactSheet(out, contact)) {
        std::fprintf(stderr, "tavelin_art: cannot write %s\n", contact.c_str());
        return 1;
    }
    return 0;
}
