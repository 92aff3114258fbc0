// pulsetta-play-pattern: the main job. Loads the module in the command-line
// host, plays a factory pattern for four bars at its tempo and writes the
// mix and each voice's output as WAV files.
#include "tools/playpattern/MainJob.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>

int main (int argc, char** argv)
{
    if (argc < 2 || argc > 5)
    {
        std::cerr << "usage: pulsetta-play-pattern <Pulsetta.so> [output folder] [bank 1-8] [pattern 1-12]\n";
        return 2;
    }
    mainjob::JobSettings settings;
    settings.modulePath = argv[1];
    if (argc > 2)
        settings.outputFolder = argv[2];
    try
    {
        if (argc > 3)
            settings.bank = std::stoi (argv[3]);
        if (argc > 4)
            settings.pattern = std::stoi (argv[4]);
    }
    catch (...)
    {
        std::cerr << "pulsetta-play-pattern: the bank and the pattern are numbers\n";
        return 2;
    }

    mainjob::JobResult result;
    std::string error;
    if (! mainjob::run (settings, result, error))
    {
        std::cerr << "pulsetta-play-pattern: " << error << '\n';
        return 1;
    }

    float peak = 0.0f;
    for (size_t i = 0; i < result.mixLeft.size(); ++i)
        peak = std::max ({ peak, std::abs (result.mixLeft[i]), std::abs (result.mixRight[i]) });
    std::cout << "Played bank " << settings.bank << " pattern " << settings.pattern << " \"" << result.pattern.name << "\" at "
              << result.pattern.tempo << " bpm, " << settings.bars << " bars (" << result.playFrames << " frames at "
              << settings.sampleRate << " Hz), mix peak " << peak << "\n";
    for (const auto& file : result.files)
        std::cout << "  wrote " << file << '\n';
    if (peak <= 0.0f)
    {
        std::cerr << "pulsetta-play-pattern: the mix is silent\n";
        return 1;
    }
    return 0;
}
