#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/windows.h"
#include "tests/platform/kernel/kernel_test_folder.h"
#include "tests/platform/multimedia/test_audio.h"
#include "tests/platform/multimedia/wave_bytes.h"
#include "tests/support/layer.h"

namespace {

using platform::testing::KernelTestFolder;
using test_audio::TestAudio;
using namespace wave_bytes;

std::string Text(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

// A folder holding three sounds of known lengths: Loop (100 ms), Click
// (50 ms) and Long (500 ms at 11025 Hz), and a file that is no wave.
class SoundFolder : public KernelTestFolder {
public:
    SoundFolder() {
        Write("s/Loop.wav", Text(Level16(22050, 2205)));
        Write("s/Click.WAV", Text(Level16(22050, 1103)));
        Write("s/Long.wav", Text(Level16(11025, 5512)));
        Write("s/Bad.wav", "RIFF\x04\0\0\0WAVEdata");
    }
    std::string Sound(const char* name) const { return WindowsPath(std::string("s/") + name); }
};

TEST(PlaySound, OneSoundAtATimeAndALoopCutDoesNotComeBack) {
    testing_support::ResetLayer();
    TestAudio& audio = test_audio::Install();
    SoundFolder folder;

    ASSERT_TRUE(PlaySoundA(folder.Sound("Loop.wav").c_str(), nullptr, SND_ASYNC | SND_LOOP | SND_FILENAME));
    ASSERT_EQ(audio.played.size(), 1u);
    EXPECT_TRUE(audio.played[0].loop);
    EXPECT_EQ(audio.played[0].samples.size(), 2205u * 2);
    const int stops = audio.stops;

    // SND_NOSTOP yields to the loop; a loop must be asynchronous.
    EXPECT_FALSE(PlaySoundA(folder.Sound("Click.wav").c_str(), nullptr, SND_ASYNC | SND_NOSTOP));
    EXPECT_FALSE(PlaySoundA(folder.Sound("Click.wav").c_str(), nullptr, SND_LOOP));
    EXPECT_EQ(audio.stops, stops);
    EXPECT_TRUE(audio.Playing());

    ASSERT_TRUE(PlaySoundA(folder.Sound("Click.wav").c_str(), nullptr, SND_ASYNC));
    EXPECT_EQ(audio.stops, stops + 1);
    ASSERT_EQ(audio.played.size(), 2u);
    EXPECT_FALSE(audio.played[1].loop);
    testing_support::AdvanceClock(1000);
    EXPECT_FALSE(audio.Playing());
    EXPECT_EQ(audio.played.size(), 2u);
}

TEST(PlaySound, StopsWithNullOrPurgeAndMissingFilesPlayNothing) {
    testing_support::ResetLayer();
    TestAudio& audio = test_audio::Install();
    SoundFolder folder;
    const std::string loop = folder.Sound("Loop.wav");
    const std::string bad = folder.Sound("Bad.wav");
    const std::string directory = folder.Sound("");
    struct Case {
        const char* name;
        LPCSTR sound;
        DWORD flags;
        BOOL result;
    };
    const Case cases[] = {
        {"null", nullptr, 0, TRUE},
        {"purge", nullptr, SND_PURGE, TRUE},
        {"purge by name", loop.c_str(), SND_PURGE, TRUE},
        {"missing file", "Z:\\no\\such\\file.wav", SND_ASYNC | SND_NODEFAULT, FALSE},
        {"missing drive", "Q:\\file.wav", SND_ASYNC, FALSE},
        {"not a wave", bad.c_str(), SND_ASYNC | SND_NODEFAULT, FALSE},
        {"a folder", directory.c_str(), SND_ASYNC, FALSE},
        {"an alias", "SystemStart", SND_ASYNC | SND_ALIAS, FALSE},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(PlaySoundA(loop.c_str(), nullptr, SND_ASYNC | SND_LOOP)) << c.name;
        const size_t plays = audio.played.size();
        EXPECT_EQ(PlaySoundA(c.sound, nullptr, c.flags), c.result) << c.name;
        EXPECT_FALSE(audio.Playing()) << c.name;
        EXPECT_EQ(audio.played.size(), plays) << c.name;
    }
}

TEST(PlaySound, SynchronousPlayWaitsForTheSoundOnTheClock) {
    testing_support::ResetLayer();
    test_audio::Install();
    SoundFolder folder;
    struct Case {
        const char* name;
        DWORD flags;
        DWORD elapsed;
    };
    const Case cases[] = {
        {"Long.wav", SND_SYNC, 500},   // 5512 frames at 11025 Hz
        {"Click.wav", SND_SYNC, 51},   // 1103 frames, rounded up
        {"Long.wav", SND_ASYNC, 0},
    };
    for (const Case& c : cases) {
        const DWORD start = timeGetTime();
        EXPECT_TRUE(PlaySoundA(folder.Sound(c.name).c_str(), nullptr, c.flags));
        EXPECT_EQ(timeGetTime() - start, c.elapsed) << c.name;
    }
    const DWORD start = timeGetTime();
    EXPECT_FALSE(PlaySoundA(folder.Sound("None.wav").c_str(), nullptr, SND_SYNC));
    EXPECT_EQ(timeGetTime() - start, 0u);
}

TEST(PlaySound, LogsEveryCallWithTheNormalisedPathAndFlags) {
    testing_support::ResetLayer();
    test_audio::Install();
    SoundFolder folder;
    std::string forward = folder.Sound("x\\..\\Loop.wav");
    for (char& c : forward) c = c == '\\' ? '/' : c;
    static const Bytes image = Level16(22050, 10);
    PlaySoundA(forward.c_str(), nullptr, SND_ASYNC | SND_NODEFAULT);
    PlaySoundA(folder.Sound("NOPE.WAV").c_str(), nullptr, SND_ASYNC | SND_LOOP | SND_FILENAME);
    PlaySoundA(reinterpret_cast<LPCSTR>(image.data()), nullptr, SND_MEMORY | SND_ASYNC);
    PlaySoundA(MAKEINTRESOURCEA(7), nullptr, SND_RESOURCE);
    PlaySoundA(nullptr, nullptr, SND_PURGE);
    sndPlaySoundA(nullptr, 0);
    const std::vector<std::string> expected = {
        "sound " + folder.Sound("Loop.wav") + " 3",
        "sound " + folder.Sound("NOPE.WAV") + " 20009",
        "sound <memory> 5",
        "sound <resource 7> 40004",
        "sound - 40",
        "sound - 0",
    };
    EXPECT_EQ(testing_support::LogLines(), expected);
}

// A resource pack with one wave resource of type 32003, id 7.
Bytes PackWith(const Bytes& wave) {
    Bytes pack = {'T', 'V', 'R', 'P'};
    Put16(pack, 1);
    Put16(pack, 0);
    Put32(pack, 1);
    Put32(pack, 0);
    Put16(pack, 32003);
    Put16(pack, 7);
    Put32(pack, 32);
    Put32(pack, static_cast<uint32_t>(wave.size()));
    pack.resize(32, 0);
    pack.insert(pack.end(), wave.begin(), wave.end());
    return pack;
}

TEST(PlaySound, PlaysMemoryImagesAndResourcesWithinTheirBounds) {
    testing_support::ResetLayer();
    TestAudio& audio = test_audio::Install();
    SoundFolder folder;

    // A global block holding a good image, then one whose RIFF header and
    // data chunk claim more than the block has: nothing past the block is read.
    const Bytes good = Level16(22050, 300);
    Bytes lying = good;
    const Bytes& lie = lying;
    lying[7] = 0x7F;   // the RIFF size
    lying[40] = 0xFF;  // the data chunk's size
    for (const Bytes* image : {&good, &lie}) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, image->size());
        void* data = GlobalLock(block);
        std::memcpy(data, image->data(), image->size());
        const BOOL played = PlaySoundA(static_cast<LPCSTR>(data), nullptr, SND_MEMORY | SND_ASYNC);
        EXPECT_EQ(played, image == &good ? TRUE : FALSE);
        GlobalUnlock(block);
        GlobalFree(block);
    }
    ASSERT_EQ(audio.played.size(), 1u);
    EXPECT_EQ(audio.played[0].samples.size(), 600u);

    folder.Write("pack.dat", Text(PackWith(Level16(11025, 100))));
    HMODULE module = LoadLibraryA(folder.WindowsPath("pack.dat").c_str());
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(PlaySoundA(MAKEINTRESOURCEA(7), module, SND_RESOURCE | SND_ASYNC));
    EXPECT_FALSE(PlaySoundA(MAKEINTRESOURCEA(8), module, SND_RESOURCE | SND_ASYNC));
    FreeLibrary(module);
    ASSERT_EQ(audio.played.size(), 2u);
    EXPECT_EQ(audio.played[1].samples.size(), 400u);
}

}  // namespace
