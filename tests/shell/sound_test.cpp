#include "shell/sound.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "storage/files.h"
#include "tests/platform/kernel/kernel_test_folder.h"
#include "tests/platform/multimedia/test_audio.h"
#include "tests/platform/multimedia/wave_bytes.h"
#include "tests/support/layer.h"

namespace {

using test_audio::TestAudio;

std::string Text(const wave_bytes::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// The program folder with its "Sons" and the data drive with its CD sounds;
// the base folder is the program folder, as whenever the program plays sounds.
class SoundTree : public platform::testing::KernelTestFolder {
public:
    SoundTree() : m_savedSounds(g_soundsFolder), m_savedCdSounds(g_cdSoundsFolder) {
        Write("lib/tavelin/Sons/Chirt.WAV", Text(wave_bytes::Level16(22050, 100)));
        Write("lib/tavelin/Sons/litblow.wav", Text(wave_bytes::Level16(22050, 200)));
        Write("cd/Datas/CDSons/About.WAV", Text(wave_bytes::Level16(22050, 300)));
        SetBaseFolder(WindowsPath("lib/tavelin").c_str());
    }
    ~SoundTree() {
        SetBaseFolder("");
        std::snprintf(g_soundsFolder, sizeof g_soundsFolder, "%s", m_savedSounds.c_str());
        std::snprintf(g_cdSoundsFolder, sizeof g_cdSoundsFolder, "%s", m_savedCdSounds.c_str());
    }

private:
    std::string m_savedSounds;
    std::string m_savedCdSounds;
};

TEST(Sound, NamesWithOrWithoutAnExtensionPlayTheSameFile) {
    testing_support::TestEvents& events = testing_support::ResetLayer();
    TestAudio& audio = test_audio::Install();
    SoundTree tree;
    const std::string chirt = "sound " + tree.WindowsPath("lib/tavelin/Sons/Chirt.WAV") + " 3";
    const std::string litBlow = "sound " + tree.WindowsPath("lib/tavelin/Sons/LitBlow.WAV") + " 3";
    struct Case {
        const char* name;
        const std::string& line;
        size_t samples;
    };
    const Case cases[] = {
        {"Chirt.wav", chirt, 200}, {"Chirt.WAV", chirt, 200}, {"Chirt", chirt, 200},
        {"Chirt.mp3", chirt, 200}, {"LitBlow.wav", litBlow, 400},
    };
    for (const Case& c : cases) {
        testing_support::LogLines().clear();
        audio.played.clear();
        EXPECT_TRUE(PlaySoundFile(c.name, SND_ASYNC)) << c.name;
        EXPECT_EQ(testing_support::LogLines(), std::vector<std::string>{c.line}) << c.name;
        ASSERT_EQ(audio.played.size(), 1u) << c.name;
        EXPECT_EQ(audio.played[0].samples.size(), c.samples) << c.name;
    }

    // The CD's folder is absolute, the data drive's by default; the base
    // folder and the one saved behind it are left as they were.
    SetBaseFolder("C:\\Saved");
    SetBaseFolder(tree.WindowsPath("lib/tavelin").c_str());
    audio.played.clear();
    EXPECT_TRUE(PlayCdSound("About", SND_ASYNC));
    ASSERT_EQ(audio.played.size(), 1u);
    EXPECT_EQ(audio.played[0].samples.size(), 600u);
    EXPECT_EQ(std::string(BaseFolder()), tree.WindowsPath("lib/tavelin"));
    RestoreBaseFolder();
    EXPECT_EQ(std::string(BaseFolder()), "C:\\Saved");
    EXPECT_TRUE(events.boxStyles.empty());
}

TEST(Sound, AMissingFilePlaysNothingAndReportsNothing) {
    testing_support::TestEvents& events = testing_support::ResetLayer();
    TestAudio& audio = test_audio::Install();
    SoundTree tree;
    std::string longName(300, 'x');
    for (const char* name : {"Nothing", "Nothing.wav", "", longName.c_str()}) {
        EXPECT_FALSE(PlaySoundFile(name, SND_ASYNC)) << name;
        EXPECT_FALSE(PlayCdSound(name, SND_ASYNC)) << name;
    }
    snprintf(g_cdSoundsFolder, sizeof g_cdSoundsFolder, "%s", "Q:\\Nowhere");
    EXPECT_FALSE(PlayCdSound("About", SND_ASYNC));
    EXPECT_TRUE(audio.played.empty());
    EXPECT_TRUE(events.boxStyles.empty());
}

TEST(Sound, LoadedSoundLocksOnceLoopsAndIsCutByAButton) {
    testing_support::ResetLayer();
    TestAudio& audio = test_audio::Install();
    SoundTree tree;
    Sound* tool = LoadSound("litblow");
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->kind, kSoundInMemory);
    EXPECT_EQ(tool->locked, nullptr);

    // Stopping a sound never played unlocks nothing and stops what plays.
    ASSERT_TRUE(PlaySoundFile("Chirt", SND_ASYNC | SND_LOOP));
    StopSound(tool);
    EXPECT_FALSE(audio.Playing());
    EXPECT_EQ(GlobalFlags(tool->data) & GMEM_LOCKCOUNT, 0u);

    for (int press = 0; press < 2; ++press) {
        ASSERT_TRUE(PlayLoadedSound(tool, SND_ASYNC | SND_LOOP));
        EXPECT_NE(tool->locked, nullptr);
        EXPECT_EQ(GlobalFlags(tool->data) & GMEM_LOCKCOUNT, 1u);
        EXPECT_TRUE(audio.played.back().loop);
        EXPECT_EQ(audio.played.back().samples.size(), 400u);
    }
    // A button's sound cuts the loop, which does not come back by itself.
    ASSERT_TRUE(PlaySoundFile("Chirt", SND_ASYNC));
    const size_t plays = audio.played.size();
    testing_support::AdvanceClock(2000);
    EXPECT_FALSE(audio.Playing());
    EXPECT_EQ(audio.played.size(), plays);

    StopSound(tool);
    EXPECT_EQ(tool->locked, nullptr);
    EXPECT_EQ(GlobalFlags(tool->data) & GMEM_LOCKCOUNT, 0u);
    ASSERT_TRUE(PlayLoadedSound(tool, SND_ASYNC));
    FreeSound(tool);
    FreeSound(nullptr);
    StopSound(nullptr);
    EXPECT_EQ(testing_support::LogLines().back(), "sound - 40");
}

}  // namespace
