#include "platform/multimedia/wave.h"

#include <gtest/gtest.h>

#include "tests/platform/multimedia/wave_bytes.h"

namespace {

using namespace wave_bytes;
using platform::WaveError;

// Repeats one frame's bytes.
Bytes Frames(const Bytes& frame, size_t count) {
    Bytes out;
    for (size_t i = 0; i < count; ++i) out.insert(out.end(), frame.begin(), frame.end());
    return out;
}

struct GoodCase {
    const char* name;
    Format format;
    Bytes frame;  // left at +16384, right (when there is one) at -16384
};

TEST(Wave, ReadsEveryFormatAtTheDeviceLevel) {
    const GoodCase cases[] = {
        {"8-bit mono 11025", {1, 1, 11025, 8}, {0xC0}},
        {"16-bit mono 22050", {1, 1, 22050, 16}, {0x00, 0x40}},
        {"16-bit stereo 44100", {1, 2, 44100, 16}, {0x00, 0x40, 0x00, 0xC0}},
        {"8-bit stereo 8000", {1, 2, 8000, 8}, {0xC0, 0x40}},
        {"24-bit stereo 48000", {1, 2, 48000, 24}, {0x00, 0x00, 0x40, 0x00, 0x00, 0xC0}},
        {"32-bit mono 16000", {1, 1, 16000, 32}, {0x00, 0x00, 0x00, 0x40}},
        {"float mono 22050", {3, 1, 22050, 32}, {0x00, 0x00, 0x00, 0x3F}},
        {"float stereo 96000", {3, 2, 96000, 32}, {0x00, 0x00, 0x00, 0x3F, 0x00, 0x00, 0x00, 0xBF}},
        {"extensible 16-bit stereo", {0xFFFE, 2, 32000, 16, -1, 1}, {0x00, 0x40, 0x00, 0xC0}},
        {"extensible float mono", {0xFFFE, 1, 22050, 32, -1, 3}, {0x00, 0x00, 0x00, 0x3F}},
    };
    const size_t frames = 100;
    for (const GoodCase& c : cases) {
        SCOPED_TRACE(c.name);
        // An odd-sized chunk before the format checks the pad byte.
        const Bytes file = Riff({Chunk("LIST", {1, 2, 3}), FormatChunk(c.format),
                                 Chunk("data", Frames(c.frame, frames)), Chunk("junk", {}, 99999)});
        WaveError error;
        const auto sound = platform::ParseWave(file, error);
        ASSERT_TRUE(sound) << platform::DescribeWaveError(error);
        EXPECT_EQ(sound->format.channels, c.format.channels);
        EXPECT_EQ(sound->format.rate, c.format.rate);
        EXPECT_EQ(sound->frameCount, frames);
        const std::vector<int16_t> out = platform::ConvertToDevice(*sound);
        const size_t outFrames = (frames * 22050 + c.format.rate - 1) / c.format.rate;
        ASSERT_EQ(out.size(), outFrames * 2);
        const int16_t right = c.format.channels == 2 ? -16384 : 16384;
        for (size_t i = 0; i < outFrames; ++i) {
            ASSERT_EQ(out[2 * i], 16384) << "frame " << i;
            ASSERT_EQ(out[2 * i + 1], right) << "frame " << i;
        }
    }
}

TEST(Wave, ResamplesLinearlyAndDropsPartialFrames) {
    struct Case {
        uint32_t rate;
        std::vector<int16_t> in;
        std::vector<int16_t> out;  // left channel at 22050 Hz
    };
    const Case cases[] = {
        {11025, {0, 1000, 2000}, {0, 500, 1000, 1500, 2000, 2000}},
        {44100, {0, 100, 200, 300}, {0, 200}},
        {22050, {-5, 7}, {-5, 7}},
        {22050, {}, {}},
    };
    for (const Case& c : cases) {
        WaveError error;
        const Bytes file = Mono16(c.rate, c.in);
        const auto sound = platform::ParseWave(file, error);
        ASSERT_TRUE(sound) << platform::DescribeWaveError(error);
        const std::vector<int16_t> out = platform::ConvertToDevice(*sound);
        ASSERT_EQ(out.size(), c.out.size() * 2) << c.rate;
        for (size_t i = 0; i < c.out.size(); ++i) EXPECT_EQ(out[2 * i], c.out[i]) << c.rate << " " << i;
    }
    // Three bytes of 16-bit stereo are no whole frame.
    Format stereo;
    stereo.channels = 2;
    WaveError error;
    const auto partial = platform::ParseWave(Riff({FormatChunk(stereo), Chunk("data", {1, 2, 3})}), error);
    ASSERT_TRUE(partial);
    EXPECT_EQ(partial->frameCount, 0u);

    EXPECT_EQ(platform::DeviceDurationMs(22050 * 2), 1000u);
    EXPECT_EQ(platform::DeviceDurationMs(2), 1u);
    EXPECT_EQ(platform::DeviceDurationMs(0), 0u);
}

Format With(void (*change)(Format&)) {
    Format f;
    change(f);
    return f;
}

TEST(Wave, RefusesBadFilesWithTheReason) {
    const Bytes good = Level16(22050, 10);
    const Bytes data = Chunk("data", Bytes(20, 0));
    const Bytes fmt = FormatChunk(Format{});
    struct Case {
        const char* name;
        Bytes bytes;
        WaveError error;
    };
    const Case cases[] = {
        {"empty", {}, WaveError::TooShort},
        {"eleven bytes", Bytes(good.begin(), good.begin() + 11), WaveError::TooShort},
        {"not WAVE", Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '}, WaveError::NotRiffWave},
        {"truncated in the format", Bytes(good.begin(), good.begin() + 24), WaveError::ChunkPastEnd},
        {"truncated in the data", Bytes(good.begin(), good.end() - 1), WaveError::ChunkPastEnd},
        {"huge chunk", Riff({Chunk("junk", {}, 0xFFFFFFFF), fmt, data}), WaveError::ChunkPastEnd},
        {"data beyond the end", Riff({fmt, Chunk("data", Bytes(10, 0), 100)}), WaveError::ChunkPastEnd},
        {"huge data", Riff({fmt, Chunk("data", Bytes(10, 0), 0xFFFFFFF0)}), WaveError::ChunkPastEnd},
        {"no format", Riff({data}), WaveError::NoFormat},
        {"no data", Riff({fmt}), WaveError::NoData},
        {"two formats", Riff({fmt, fmt, data}), WaveError::DuplicateChunk},
        {"two data chunks", Riff({data, data, fmt}), WaveError::DuplicateChunk},
        {"short format", Riff({Chunk("fmt ", Bytes(14, 0)), data}), WaveError::BadFormatChunk},
        {"short extensible", Riff({Chunk("fmt ", {0xFE, 0xFF, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0, 0, 0}), data}),
         WaveError::BadFormatChunk},
        {"ADPCM", Riff({FormatChunk(With([](Format& f) { f.coding = 2; })), data}), WaveError::UnsupportedCoding},
        {"extensible MP3", Riff({FormatChunk(With([](Format& f) { f.coding = 0xFFFE; f.subFormat = 0x55; })), data}),
         WaveError::UnsupportedCoding},
        {"zero channels", Riff({FormatChunk(With([](Format& f) { f.channels = 0; f.blockAlign = 2; })), data}),
         WaveError::BadChannels},
        {"three channels", Riff({FormatChunk(With([](Format& f) { f.channels = 3; })), data}), WaveError::BadChannels},
        {"rate 0", Riff({FormatChunk(With([](Format& f) { f.rate = 0; })), data}), WaveError::BadRate},
        {"rate 400000", Riff({FormatChunk(With([](Format& f) { f.rate = 400000; })), data}), WaveError::BadRate},
        {"12 bits", Riff({FormatChunk(With([](Format& f) { f.bits = 12; f.blockAlign = 2; })), data}), WaveError::BadBits},
        {"16-bit float", Riff({FormatChunk(With([](Format& f) { f.coding = 3; })), data}), WaveError::BadBits},
        {"odd block align", Riff({FormatChunk(With([](Format& f) { f.channels = 2; f.blockAlign = 3; })), data}),
         WaveError::BadBlockAlign},
        {"zero block align", Riff({FormatChunk(With([](Format& f) { f.blockAlign = 0; })), data}),
         WaveError::BadBlockAlign},
        {"ten minutes", Riff({FormatChunk(With([](Format& f) { f.rate = 1000; f.bits = 8; })), Chunk("data", Bytes(600000, 128))}),
         WaveError::TooLong},
    };
    for (const Case& c : cases) {
        WaveError error = WaveError::None;
        EXPECT_FALSE(platform::ParseWave(c.bytes, error)) << c.name;
        EXPECT_EQ(error, c.error) << c.name << ": " << platform::DescribeWaveError(error);
    }
    const Bytes tooBig(platform::kMaxWaveBytes + 1, 0);
    WaveError error;
    EXPECT_FALSE(platform::ParseWave(tooBig, error));
    EXPECT_EQ(error, WaveError::TooBig);
}

TEST(Wave, ImageSizeComesFromTheRiffHeader) {
    const Bytes good = Level16(22050, 10);
    EXPECT_EQ(platform::WaveImageSize(good.data(), good.size()), good.size());
    EXPECT_EQ(platform::WaveImageSize(good.data(), 11), std::nullopt);
    const Bytes notWave = {'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    EXPECT_EQ(platform::WaveImageSize(notWave.data(), notWave.size()), std::nullopt);
    EXPECT_EQ(platform::WaveImageSize(nullptr, 100), std::nullopt);
}

}  // namespace
