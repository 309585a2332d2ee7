// tavelin_masks: draws the effects' light and shadow masks.
//
//   tavelin_masks --out DIR [--preview DIR]
//
// DIR receives the eight masks under the names the effects open. With
// --preview each mask is also written as a PGM image, top line first, to look
// at. The masks come out byte for byte the same on every run.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "buildtools/masks/mask.h"

namespace {

[[nodiscard]] bool WriteBytes(const std::string& path, const std::string& header,
                              const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << header;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
        std::fprintf(stderr, "tavelin_masks: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

[[nodiscard]] bool WriteMask(const std::string& outDir, const std::string& previewDir,
                             const std::string& name, const masks::Mask& mask) {
    const std::vector<uint8_t> bytes = mask.Bytes();
    if (bytes.size() != static_cast<size_t>(masks::kWidth) * masks::kHeight ||
        !WriteBytes(outDir + "/" + name + ".bin", "", bytes)) {
        return false;
    }
    if (previewDir.empty()) {
        return true;
    }
    // The file holds the bottom line first; a picture shows the top first.
    std::vector<uint8_t> topDown;
    for (int row = masks::kHeight - 1; row >= 0; --row) {
        const auto start = bytes.begin() + static_cast<ptrdiff_t>(row) * masks::kWidth;
        topDown.insert(topDown.end(), start, start + masks::kWidth);
    }
    const std::string header = "P5\n" + std::to_string(masks::kWidth) + " " +
                               std::to_string(masks::kHeight) + "\n255\n";
    return WriteBytes(previewDir + "/" + name + ".pgm", header, topDown);
}

}  // namespace

int main(int argc, char** argv) {
    std::string outDir;
    std::string previewDir;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        if (option == "--out") {
            outDir = argv[i + 1];
        } else if (option == "--preview") {
            previewDir = argv[i + 1];
        }
    }
    if (outDir.empty()) {
        std::fprintf(stderr, "usage: tavelin_masks --out DIR [--preview DIR]\n");
        return 2;
    }
    masks::Mask bubbleShadow, bubbleLight, snowShadow, snowLight, plantShadow, plantLight;
    masks::MakeBubbles(bubbleShadow, bubbleLight);
    masks::MakeSnow(snowShadow, snowLight);
    masks::MakePlants(plantShadow, plantLight);
    const bool ok = WriteMask(outDir, previewDir, "Soleil", masks::MakeSunLight()) &&
                    WriteMask(outDir, previewDir, "Pointi", masks::MakeMottledShadow()) &&
                    WriteMask(outDir, previewDir, "BulleL", bubbleShadow) &&
                    WriteMask(outDir, previewDir, "BulleH", bubbleLight) &&
                    WriteMask(outDir, previewDir, "NeigeL", snowShadow) &&
                    WriteMask(outDir, previewDir, "NeigeH", snowLight) &&
                    WriteMask(outDir, previewDir, "PlanteL2", plantShadow) &&
                    WriteMask(outDir, previewDir, "PlanteH", plantLight);
    return ok ? 0 : 1;
}
