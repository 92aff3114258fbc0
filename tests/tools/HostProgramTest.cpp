// The command-line host as a program: prints the record, plays a script into
// a WAV, and saves and loads chunks, with the test module inside.
#include "tools/WavFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace
{
struct Run
{
    int status = -1;
    std::string output;
};

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

struct TempFolder
{
    TempFolder() : path(std::filesystem::temp_directory_path() / ("pulsetta-host-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return (path / name).string(); }
    std::filesystem::path path;
};
} // namespace

TEST(HostProgram, PrintsTheRecord)
{
    const auto result = run(PULSETTA_TEST_MODULE_PATH);
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("unique ID   Kx4P (0x4B783450)"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("version     0x10602"), std::string::npos);
    EXPECT_NE(result.output.find("flags       0x130 (replacing chunks synth)"), std::string::npos);
    EXPECT_NE(result.output.find("outputs     12"), std::string::npos);
    EXPECT_NE(result.output.find("parameter  83  Param 84"), std::string::npos);
    EXPECT_NE(result.output.find("output  11  XR12"), std::string::npos);
}

TEST(HostProgram, PlaysAScriptIntoAMultichannelWav)
{
    TempFolder folder;
    std::ofstream(folder.file("groove.txt")) << "at 0 tempo 100\nat 0 play\nat 0.01s note 10 36 100\nend 0.05s\n";
    const auto result = run(std::string(PULSETTA_TEST_MODULE_PATH) + " --quiet --rate 48000 --block 128 --script "
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
    TempFolder folder;
    std::ofstream(folder.file("set.txt")) << "at 0 param 2 0.75\nend 64\n";
    auto result = run(std::string(PULSETTA_TEST_MODULE_PATH) + " --quiet --script " + folder.file("set.txt")
                      + " --save-chunk " + folder.file("state.bin"));
    ASSERT_EQ(result.status, 0) << result.output;
    result = run(std::string(PULSETTA_TEST_MODULE_PATH) + " --load-chunk " + folder.file("state.bin"));
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("parameter   2  Param 3           0.7500  0.750"), std::string::npos)
        << result.output;
}

TEST(HostProgram, ReportsBadInputClearly)
{
    TempFolder folder;
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run(std::string(PULSETTA_TEST_MODULE_PATH) + " --block 0").status, 2);
    auto result = run(folder.file("missing.so"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("missing.so"), std::string::npos);
    std::ofstream(folder.file("bad.txt")) << "at 0 play\nat zero stop\n";
    result = run(std::string(PULSETTA_TEST_MODULE_PATH) + " --quiet --script " + folder.file("bad.txt"));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.output.find("line 2"), std::string::npos) << result.output;
    result = run(std::string(PULSETTA_TEST_MODULE_PATH) + " --load-chunk " + folder.file("none.bin"));
    EXPECT_EQ(result.status, 1);
}
