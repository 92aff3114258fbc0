// The command-line host's peak resident memory, measured on the program
// itself: a play of any length holds one block, so its memory does not grow
// with the script's time, and a script's events take a few times its text.
#include "TempFolder.h"
#include "support/TemporarySettingsHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace
{
struct Measured
{
    int status = -1;
    long peakKilobytes = 0;
};

// Runs the host with its output thrown away, the module's user settings in a folder of the run; its peak
// resident memory as the kernel counted it.
Measured runMeasured(std::vector<std::string> arguments)
{
    const testing_support::TemporarySettingsHome settingsHome("pulsetta-host-memory-settings-");
    arguments.insert(arguments.begin(), PULSETTA_HOST_PROGRAM);
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0)
    {
        // An address sanitizer keeps freed blocks aside (256 MB of them by default): kept small, the
        // figure is the host's own.
        const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
        const std::string options = std::string(sanitizerOptions != nullptr ? sanitizerOptions : "")
                                    + ":quarantine_size_mb=1:thread_local_quarantine_size_kb=64";
        setenv("ASAN_OPTIONS", options.c_str(), 1);
        const int nowhere = open("/dev/null", O_WRONLY);
        dup2(nowhere, STDOUT_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    Measured measured;
    int status = 0;
    rusage usage {};
    if (child > 0 && wait4(child, &status, 0, &usage) == child)
        measured = { WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss };
    return measured;
}

constexpr long megabyte = 1024; // kilobytes
} // namespace

// Ten minutes at 48 kHz are 2.8 GB of samples on the product's 24 outputs, and as much again as a WAV file.
TEST(HostMemory, TenMinutesAt48kHzIntoAWavTakeNoMoreThanASecond)
{
    const TempFolder folder("pulsetta-host-memory-");
    std::ofstream(folder.file("second.txt")) << "at 0 play\nend 1s\n";
    std::ofstream(folder.file("ten-minutes.txt")) << "at 0 play\nend 600s\n";
    const std::string wav = folder.file("out.wav");
    const auto second = runMeasured({ PULSETTA_PRODUCT_MODULE_PATH, "--quiet", "--rate", "48000", "--script",
                                      folder.file("second.txt") });
    const auto tenMinutes = runMeasured({ PULSETTA_PRODUCT_MODULE_PATH, "--quiet", "--rate", "48000", "--script",
                                          folder.file("ten-minutes.txt"), "--wav", wav });
    ASSERT_EQ(second.status, 0);
    ASSERT_EQ(tenMinutes.status, 0);
    EXPECT_EQ(std::filesystem::file_size(wav), 82u + 600u * 48000u * 24u * 4u);
    EXPECT_LT(tenMinutes.peakKilobytes, 300 * megabyte);
    EXPECT_LT(tenMinutes.peakKilobytes, second.peakKilobytes + 16 * megabyte);
    std::cout << "peak " << tenMinutes.peakKilobytes / megabyte << " MB for ten minutes into a WAV file, "
              << second.peakKilobytes / megabyte << " MB for a second\n";
}

// A script of many notes (the text of the shortest lines the host reads as notes, spread over ten
// minutes) costs the host at most five times its size.
TEST(HostMemory, AScriptsEventsTakeAFewTimesItsText)
{
    const TempFolder folder("pulsetta-host-memory-");
    const auto path = folder.file("notes.txt");
    {
        std::ofstream script(path);
        for (int frame = 0; frame < 2000000; ++frame)
            script << "at " << frame * 13 << " note 1 36 9\n";
        script << "end 1\n";
    }
    std::ofstream(folder.file("short.txt")) << "end 1\n";
    const auto common = std::vector<std::string> { PULSETTA_PRODUCT_MODULE_PATH, "--quiet", "--script" };
    auto withScript = [&](const std::string& script) {
        auto all = common;
        all.push_back(script);
        return all;
    };
    const auto empty = runMeasured(withScript(folder.file("short.txt")));
    const auto notes = runMeasured(withScript(path));
    ASSERT_EQ(empty.status, 0);
    ASSERT_EQ(notes.status, 0);
    const auto textKilobytes = static_cast<long>(std::filesystem::file_size(path) / 1024);
    EXPECT_LT(notes.peakKilobytes - empty.peakKilobytes, 5 * textKilobytes);
    std::cout << "a script of " << textKilobytes / megabyte << " MB: " << notes.peakKilobytes / megabyte << " MB at peak, "
              << empty.peakKilobytes / megabyte << " MB with no event\n";
}
