// Test helpers for the effects on the workshop's sheet: the tool fixture's
// window at a chosen display depth, a data root of its own for the mask files
// and a picture module holding two puzzle pictures of plain lines.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "effects/passes.h"
#include "shell/data_paths.h"
#include "shell/picture_module.h"
#include "tests/tools/tool_fixture.h"

namespace effect_testing {

namespace fs = std::filesystem;

// A packed 8-bit picture of the sheet's size, white with black lines every
// step pixels across and down.
inline std::vector<uint8_t> GridPicture(int step) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 512;
    header.biHeight = 400;
    header.biPlanes = 1;
    header.biBitCount = 8;
    header.biClrUsed = 2;
    const RGBQUAD table[2] = {{255, 255, 255, 0}, {0, 0, 0, 0}};
    std::vector<uint8_t> bytes(sizeof header + sizeof table + 512 * 400, 0);
    memcpy(bytes.data(), &header, sizeof header);
    memcpy(bytes.data() + sizeof header, table, sizeof table);
    uint8_t* pixels = bytes.data() + sizeof header + sizeof table;
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 512; ++x) pixels[y * 512 + x] = (x % step == 0 || y % step == 0) ? 1 : 0;
    }
    return bytes;
}

class EffectTest : public tool_testing::ToolTest {
protected:
    void SetUp() override {
        ToolTest::SetUp();
        char pattern[] = "/tmp/tavelin-effects-XXXXXX";
        m_root = mkdtemp(pattern);
        fs::create_directories(m_root / "Datas");
        m_savedRoot = g_dataRoot;
        snprintf(g_dataRoot, sizeof g_dataRoot, "Z:%s", m_root.c_str());
        std::vector<platform::PackItem> items;
        items.push_back({2, kLargePuzzle, GridPicture(128)});
        items.push_back({2, kSmallPuzzle, GridPicture(64)});
        std::vector<uint8_t> pack;
        ASSERT_TRUE(platform::BuildPack(std::move(items), pack));
        g_pictureModule = platform::LoadPackFromMemory(pack);
        ASSERT_NE(g_pictureModule, nullptr);
    }

    void TearDown() override {
        g_pictureModule = nullptr;
        snprintf(g_dataRoot, sizeof g_dataRoot, "%s", m_savedRoot.c_str());
        fs::remove_all(m_root);
        ToolTest::TearDown();
    }

    // Writes bytes as the data root's "Datas\<name>.bin".
    void WriteMask(const std::string& name, const std::vector<uint8_t>& bytes) {
        std::ofstream(m_root / "Datas" / (name + ".bin"), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

    // Runs the effect as the effects command does: on the window, clipped to
    // the sheet.
    void Run(int number) {
        GetWindowSurface(screen->m_window);
        ClipToRect(kSheetRect);
        RunEffect(number);
        ClearClip();
        ReleaseWindowSurface();
    }

    fs::path m_root;

private:
    std::string m_savedRoot;
};

}  // namespace effect_testing
