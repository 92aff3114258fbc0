// The command-line host as a program: prints the record, plays a script into
// a WAV, and saves and loads chunks, with the test module inside.
#include "TempFolder.h"

#include "tools/WavFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace
{
struct Run
{
    int status = -1;
    std::string output;
};

const std::string testModule = PULSETTA_TEST_MODULE_PATH;

Run run(const std::string& arguments)
{
    Run result;
    const std::string command = std::string(PULSETTA_HOST_PROGRAM) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    size_t got = 0;
    while ((got = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.output.append(buffer, got);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
} // namespace

TEST(HostProgram, PrintsTheRecord)
{
    const auto result = run(testModule);
    EXPECT_EQ(result.status, 0) << result.output;
    for (const char* line : { "unique ID   Kx4P (0x4B783450)", "version     0x10602",
                              "flags       0x131 (editor replacing chunks synth)", "outputs     12", "parameter  83  Param 84",
                              "output  11  XR12" })
        EXPECT_NE(result.output.find(line), std::string::npos) << line << " in\n" << result.output;
}

TEST(HostProgram, PlaysAScriptIntoAMultichannelWav)
{
    const TempFolder folder("pulsetta-host-");
    std::ofstream(folder.file("groove.txt")) << "at 0 tempo 100\nat 0 play\nat 0.01s note 10 36 100\nend 0.05s\n";
    const auto result = run(testModule + " --quiet --rate 48000 --block 128 --script "
                            + folder.file("groove.txt") + " --wav " + folder.file("out.wav"));
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("midi out  frame 480  99 25 64"), std::string::npos) << result.output;
    std::vector<std::vector<float>> channels;
    double rate = 0.0;
    ASSERT_TRUE(clihost::readWav(folder.file("out.wav"), channels, rate));
    EXPECT_EQ(rate, 48000.0);
    ASSERT_EQ(channels.size(), 12u);
    ASSERT_EQ(channels[0].size(), 2400u);
    EXPECT_EQ(channels[4][1234], 5000.0f + 234.0f);
}

TEST(HostProgram, SavesAndLoadsChunks)
{
    const TempFolder folder("pulsetta-host-");
    std::ofstream(folder.file("set.txt")) << "at 0 param 2 0.75\nend 64\n";
    auto result = run(testModule + " --quiet --script " + folder.file("set.txt")
                      + " --save-chunk " + folder.file("state.bin"));
    ASSERT_EQ(result.status, 0) << result.output;
    result = run(testModule + " --load-chunk " + folder.file("state.bin"));
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("parameter   2  Param 3           0.7500  0.750"), std::string::npos)
        << result.output;
}

TEST(HostProgram, AnEmptyChunkFileIsRefusedAndKept)
{
    const TempFolder folder("pulsetta-host-");
    const auto path = folder.file("state.bin");
    std::ofstream(path, std::ios::binary).flush();
    const auto result = run(testModule + " --quiet --load-chunk " + path + " --save-chunk " + path);
    EXPECT_EQ(result.status, 1) << result.output;
    EXPECT_NE(result.output.find("cannot read"), std::string::npos) << result.output;
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);

    // A good chunk loaded and saved back to the same file stays whole.
    std::ofstream(folder.file("set.txt")) << "at 0 param 2 0.75\nend 64\n";
    ASSERT_EQ(run(testModule + " --quiet --script " + folder.file("set.txt") + " --save-chunk " + path).status, 0);
    const auto size = std::filesystem::file_size(path);
    ASSERT_GT(size, 0u);
    ASSERT_EQ(run(testModule + " --quiet --load-chunk " + path + " --save-chunk " + path).status, 0);
    EXPECT_EQ(std::filesystem::file_size(path), size);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(HostProgram, ReportsBadInputClearly)
{
    const TempFolder folder("pulsetta-host-");
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run(testModule + " --block 0").status, 2);
    auto result = run(folder.file("missing.so"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("missing.so"), std::string::npos);
    std::ofstream(folder.file("bad.txt")) << "at 0 play\nat zero stop\n";
    result = run(testModule + " --quiet --script " + folder.file("bad.txt"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("line 2"), std::string::npos) << result.output;
    result = run(testModule + " --load-chunk " + folder.file("none.bin"));
    EXPECT_EQ(result.status, 1);
    // Ten minutes of 12 outputs at 384 kHz are 11 GB: more than a WAV file holds, refused before playing.
    std::ofstream(folder.file("long.txt")) << "end 600s\n";
    result = run(testModule + " --quiet --rate 384000 --script " + folder.file("long.txt") + " --wav " + folder.file("long.wav"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("too long for a WAV file"), std::string::npos) << result.output;
    EXPECT_FALSE(std::filesystem::exists(folder.file("long.wav")));
}
