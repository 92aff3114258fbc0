#include "TempFolder.h"

#include "tools/WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{
std::vector<uint8_t> bytesOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

uint32_t get16(const std::vector<uint8_t>& bytes, size_t at) { return bytes[at] | (bytes[at + 1] << 8u); }
uint32_t get32(const std::vector<uint8_t>& bytes, size_t at) { return get16(bytes, at) | (get16(bytes, at + 2) << 16u); }
std::string tag(const std::vector<uint8_t>& bytes, size_t at) { return std::string(bytes.begin() + at, bytes.begin() + at + 4); }
} // namespace

// One or two channels: plain IEEE float with an empty extension; more: extensible float without speaker
// positions. Both with a fact chunk, both read back to the bit, and sox (when installed) reads them silently.
TEST(WavFile, HeadersForEachChannelCountAndARoundTrip)
{
    const TempFolder folder("pulsetta-wav-");
    for (const size_t numChannels : { 1u, 2u, 12u })
    {
        SCOPED_TRACE(std::to_string(numChannels) + " channels");
        const bool extensible = numChannels > 2;
        const size_t fmtBytes = extensible ? 40 + 2 : 18; // extensible: 40 and a 2-byte pad
        const size_t headerBytes = 12 + 8 + fmtBytes + 12 + 8;
        const auto path = folder.file(std::to_string(numChannels) + ".wav");
        std::vector<std::vector<float>> channels(numChannels, std::vector<float>(10));
        for (size_t c = 0; c < numChannels; ++c)
            for (size_t n = 0; n < 10; ++n)
                channels[c][n] = static_cast<float>(c) - static_cast<float>(n) / 128.0f;
        ASSERT_TRUE(clihost::writeWav(path, channels, 48000.0));

        const auto bytes = bytesOf(path);
        ASSERT_EQ(bytes.size(), headerBytes + numChannels * 10 * 4);
        EXPECT_EQ(get32(bytes, 4), bytes.size() - 8) << "RIFF size";
        EXPECT_EQ(tag(bytes, 12), "fmt ");
        EXPECT_EQ(get32(bytes, 16), fmtBytes);
        EXPECT_EQ(get16(bytes, 20), extensible ? 0xFFFEu : 3u) << "format";
        EXPECT_EQ(get16(bytes, 22), numChannels);
        EXPECT_EQ(get32(bytes, 28), 48000u * numChannels * 4) << "bytes per second";
        EXPECT_EQ(get16(bytes, 32), numChannels * 4) << "bytes per frame";
        EXPECT_EQ(get16(bytes, 34), 32u);
        EXPECT_EQ(get16(bytes, 36), extensible ? 22u : 0u) << "cbSize";
        const size_t fact = 20 + fmtBytes;
        EXPECT_EQ(tag(bytes, fact), "fact");
        EXPECT_EQ(get32(bytes, fact + 8), 10u) << "frames";
        EXPECT_EQ(tag(bytes, fact + 12), "data");
        if (extensible)
        {
            EXPECT_EQ(get16(bytes, 38), 32u) << "valid bits";
            EXPECT_EQ(get32(bytes, 40), 0u) << "channel mask: no speaker positions";
            const uint8_t floatSubFormat[16] = { 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                                 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };
            EXPECT_TRUE(std::equal(std::begin(floatSubFormat), std::end(floatSubFormat), bytes.begin() + 44));
        }
        if (std::system("command -v soxi >/dev/null 2>&1") == 0)
        {
            EXPECT_EQ(std::system(("soxi '" + path + "' >/dev/null 2>'" + path + ".txt'").c_str()), 0);
            EXPECT_TRUE(bytesOf(path + ".txt").empty()) << "sox reads the header without a word";
        }

        std::vector<std::vector<float>> read;
        double rate = 0.0;
        ASSERT_TRUE(clihost::readWav(path, read, rate));
        EXPECT_EQ(rate, 48000.0);
        EXPECT_EQ(read, channels);
    }
}

TEST(WavFile, AFailedWriteLeavesTheEarlierFileWhole)
{
    const TempFolder folder("pulsetta-wav-");
    const auto path = folder.file("out.wav");
    ASSERT_TRUE(clihost::writeWav(path, { std::vector<float>(10, 0.5f) }, 44100.0));
    const auto size = std::filesystem::file_size(path);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    // The temporary file cannot be made: the old file stays as it was.
    std::filesystem::create_directory(path + ".tmp");
    EXPECT_FALSE(clihost::writeWav(path, { std::vector<float>(1000, 0.25f) }, 44100.0));
    EXPECT_EQ(std::filesystem::file_size(path), size);
    std::vector<std::vector<float>> read;
    double rate = 0.0;
    ASSERT_TRUE(clihost::readWav(path, read, rate));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0], std::vector<float>(10, 0.5f));
}

TEST(WavFile, RefusesWhatItCannotWriteOrRead)
{
    const TempFolder folder("pulsetta-wav-");
    const auto path = folder.file("out.wav");
    EXPECT_FALSE(clihost::writeWav(path, {}, 44100.0));
    EXPECT_FALSE(clihost::writeWav(path, { std::vector<float>(3), std::vector<float>(4) }, 44100.0));
    EXPECT_FALSE(clihost::writeWav(path, { std::vector<float>(3) }, 0.0));
    EXPECT_FALSE(clihost::writeWav(folder.file("missing/out.wav"), { std::vector<float>(3) }, 44100.0));

    ASSERT_TRUE(clihost::writeWav(path, { std::vector<float>(10, 0.5f), std::vector<float>(10, 0.25f) }, 44100.0));
    std::vector<std::vector<float>> read;
    double rate = 0.0;
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 1); // truncated data
    EXPECT_FALSE(clihost::readWav(path, read, rate));
    std::filesystem::resize_file(path, 20); // truncated header
    EXPECT_FALSE(clihost::readWav(path, read, rate));
    {
        std::ofstream pcm(path, std::ios::binary | std::ios::trunc); // 16-bit PCM: not ours
        const char header[] = "RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xac\0\0\x88\x58\x01\0\x02\0\x10\0data\x08\0\0\0";
        pcm.write(header, sizeof header - 1);
        pcm.write("\0\0\0\0\0\0\0\0", 8);
    }
    EXPECT_FALSE(clihost::readWav(path, read, rate));
    EXPECT_FALSE(clihost::readWav(folder.file("none.wav"), read, rate));
}
