#include "tools/WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <unistd.h>

namespace
{
std::filesystem::path tempFolder()
{
    auto folder = std::filesystem::temp_directory_path() / ("pulsetta-wav-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}

// RIFF/WAVE, fmt (18 bytes plain float, 40 extensible and a 2-byte pad), fact, data.
constexpr size_t plainHeaderBytes = 12 + 8 + 18 + 12 + 8;
constexpr size_t extensibleHeaderBytes = 12 + 8 + 42 + 12 + 8;

std::vector<uint8_t> bytesOf(const std::string& path)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(std::filesystem::file_size(path)));
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

uint32_t get16(const std::vector<uint8_t>& bytes, size_t at) { return bytes[at] | (bytes[at + 1] << 8u); }
uint32_t get32(const std::vector<uint8_t>& bytes, size_t at) { return get16(bytes, at) | (get16(bytes, at + 2) << 16u); }

// What sox says on stderr while reading the file's header, or nullopt
// without sox.
std::optional<std::string> soxiMessages(const std::string& path)
{
    if (std::system("command -v soxi >/dev/null 2>&1") != 0)
        return std::nullopt;
    const auto log = path + ".soxi.txt";
    if (std::system(("soxi '" + path + "' >/dev/null 2>'" + log + "'").c_str()) != 0)
        return "soxi failed";
    const auto bytes = bytesOf(log);
    return std::string(bytes.begin(), bytes.end());
}
} // namespace

TEST(WavFile, OneOrTwoChannelsArePlainFloatWithAnEmptyExtension)
{
    const auto folder = tempFolder();
    for (size_t numChannels : { 1u, 2u })
    {
        const auto path = (folder / ("plain" + std::to_string(numChannels) + ".wav")).string();
        ASSERT_TRUE(clihost::writeWav(path, std::vector<std::vector<float>>(numChannels, std::vector<float>(10, 0.5f)), 44100.0));
        const auto bytes = bytesOf(path);
        ASSERT_EQ(bytes.size(), plainHeaderBytes + numChannels * 10 * 4);
        EXPECT_EQ(get32(bytes, 4), bytes.size() - 8) << "RIFF size";
        EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "fmt ");
        EXPECT_EQ(get32(bytes, 16), 18u);
        EXPECT_EQ(get16(bytes, 20), 3u) << "IEEE float";
        EXPECT_EQ(get16(bytes, 22), numChannels);
        EXPECT_EQ(get32(bytes, 28), 44100u * numChannels * 4) << "bytes per second";
        EXPECT_EQ(get16(bytes, 32), numChannels * 4) << "bytes per frame";
        EXPECT_EQ(get16(bytes, 34), 32u);
        EXPECT_EQ(get16(bytes, 36), 0u) << "cbSize";
        EXPECT_EQ(std::string(bytes.begin() + 38, bytes.begin() + 42), "fact");
        EXPECT_EQ(get32(bytes, 46), 10u) << "frames";
        if (const auto messages = soxiMessages(path))
        {
            EXPECT_EQ(*messages, "") << "sox reads the header without a word";
        }
    }
    std::filesystem::remove_all(folder);
}

TEST(WavFile, MoreThanTwoChannelsAreExtensibleFloatWithoutSpeakerPositions)
{
    const auto folder = tempFolder();
    const auto path = (folder / "twelve.wav").string();
    ASSERT_TRUE(clihost::writeWav(path, std::vector<std::vector<float>>(12, std::vector<float>(10, 0.25f)), 48000.0));
    const auto bytes = bytesOf(path);
    ASSERT_EQ(bytes.size(), extensibleHeaderBytes + 12 * 10 * 4);
    EXPECT_EQ(get32(bytes, 4), bytes.size() - 8) << "RIFF size";
    EXPECT_EQ(get32(bytes, 16), 42u) << "fmt size";
    EXPECT_EQ(get16(bytes, 20), 0xFFFEu) << "WAVE_FORMAT_EXTENSIBLE";
    EXPECT_EQ(get16(bytes, 22), 12u);
    EXPECT_EQ(get16(bytes, 32), 48u) << "bytes per frame";
    EXPECT_EQ(get16(bytes, 34), 32u);
    EXPECT_EQ(get16(bytes, 36), 22u) << "cbSize";
    EXPECT_EQ(get16(bytes, 38), 32u) << "valid bits";
    EXPECT_EQ(get32(bytes, 40), 0u) << "channel mask: no speaker positions";
    const uint8_t floatSubFormat[16] = { 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                         0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71 };
    EXPECT_TRUE(std::equal(std::begin(floatSubFormat), std::end(floatSubFormat), bytes.begin() + 44));
    EXPECT_EQ(std::string(bytes.begin() + 62, bytes.begin() + 66), "fact");
    EXPECT_EQ(std::string(bytes.begin() + 74, bytes.begin() + 78), "data");
    if (const auto messages = soxiMessages(path))
    {
        EXPECT_EQ(*messages, "") << "sox reads the header without a word";
    }
    std::filesystem::remove_all(folder);
}

TEST(WavFile, MultichannelFloatRoundTrip)
{
    const auto folder = tempFolder();
    const auto path = (folder / "out.wav").string();
    std::vector<std::vector<float>> channels(12, std::vector<float>(100));
    for (size_t c = 0; c < channels.size(); ++c)
        for (size_t n = 0; n < 100; ++n)
            channels[c][n] = static_cast<float>(c) - static_cast<float>(n) / 128.0f;
    ASSERT_TRUE(clihost::writeWav(path, channels, 48000.0));
    EXPECT_EQ(std::filesystem::file_size(path), extensibleHeaderBytes + 12u * 100u * 4u);

    std::vector<std::vector<float>> read;
    double rate = 0.0;
    ASSERT_TRUE(clihost::readWav(path, read, rate));
    EXPECT_EQ(rate, 48000.0);
    EXPECT_EQ(read, channels);
    std::filesystem::remove_all(folder);
}

TEST(WavFile, RefusesWhatItCannotWriteOrRead)
{
    const auto folder = tempFolder();
    const auto path = (folder / "out.wav").string();
    EXPECT_FALSE(clihost::writeWav(path, {}, 44100.0));
    EXPECT_FALSE(clihost::writeWav(path, { std::vector<float>(3), std::vector<float>(4) }, 44100.0));
    EXPECT_FALSE(clihost::writeWav(path, { std::vector<float>(3) }, 0.0));
    EXPECT_FALSE(clihost::writeWav((folder / "missing" / "out.wav").string(), { std::vector<float>(3) }, 44100.0));

    ASSERT_TRUE(clihost::writeWav(path, { std::vector<float>(10, 0.5f), std::vector<float>(10, 0.25f) }, 44100.0));
    std::vector<std::vector<float>> read;
    double rate = 0.0;
    std::filesystem::resize_file(path, plainHeaderBytes + 2 * 10 * 4 - 1); // truncated data
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
    EXPECT_FALSE(clihost::readWav((folder / "none.wav").string(), read, rate));
    std::filesystem::remove_all(folder);
}
