#include "tools/WavFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{
std::filesystem::path tempFolder()
{
    auto folder = std::filesystem::temp_directory_path() / ("pulsetta-wav-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return folder;
}
} // namespace

TEST(WavFile, MultichannelFloatRoundTrip)
{
    const auto folder = tempFolder();
    const auto path = (folder / "out.wav").string();
    std::vector<std::vector<float>> channels(12, std::vector<float>(100));
    for (size_t c = 0; c < channels.size(); ++c)
        for (size_t n = 0; n < 100; ++n)
            channels[c][n] = static_cast<float>(c) - static_cast<float>(n) / 128.0f;
    ASSERT_TRUE(clihost::writeWav(path, channels, 48000.0));
    EXPECT_EQ(std::filesystem::file_size(path), 68u + 12u * 100u * 4u);

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
    std::filesystem::resize_file(path, 68 + 2 * 10 * 4 - 1); // truncated data
    EXPECT_FALSE(clihost::readWav(path, read, rate));
    std::filesystem::resize_file(path, 20); // truncated header
    EXPECT_FALSE(clihost::readWav(path, read, rate));
    EXPECT_FALSE(clihost::readWav((folder / "none.wav").string(), read, rate));
    std::filesystem::remove_all(folder);
}
