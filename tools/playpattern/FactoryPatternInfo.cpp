#include "tools/playpattern/FactoryPatternInfo.h"

#include "drummachine/sequencer/PatternXml.h"
#include "framework/core/ResourceLoader.h"
#include "framework/core/XmlTags.h"

#include <juce_core/juce_core.h>

#include <cmath>

namespace mainjob
{
bool FactoryPattern::hasHitAt (int step) const noexcept
{
    for (int track = 0; track < numVoices; ++track)
        if (steps[(size_t) track][(size_t) step] != 0)
            return true;
    return false;
}

bool readFactoryPattern (int bank, int pattern, FactoryPattern& result, std::string& error)
{
    if (bank < 1 || bank > numBanks || pattern < 1 || pattern > slotsPerBank)
    {
        error = "the bank is 1 to 8 and the pattern 1 to 12";
        return false;
    }
    // The module's own reading: the bank's "Pattern" children in order, each
    // read as the sequencer reads it.
    const auto root = juce::XmlDocument::parse (getResourceAsString ("default.xrptrb"));
    if (! tagIs (root.get(), "PatternBank"))
    {
        error = "the module's factory patterns cannot be read";
        return false;
    }

    const int index = (bank - 1) * slotsPerBank + (pattern - 1);
    int position = 0;
    for (auto* element : root->getChildIterator())
    {
        if (! tagIs (element, "Pattern") || position++ != index)
            continue;
        const Pattern read = PatternXml::read (*element);
        result.name = read.getNameUtf8();
        result.tempo = read.getTempo();
        result.shuffle = read.getShuffle();
        result.length = read.getLength();
        result.scale = read.getScale();
        for (int track = 0; track < numTracks; ++track)
            for (int step = 0; step < Pattern::numSteps; ++step)
                result.steps[(size_t) track][(size_t) step] = read.getStep (track, step);
        return true;
    }
    error = "the factory bank has no pattern " + std::to_string (pattern) + " in bank " + std::to_string (bank);
    return false;
}

std::vector<long long> stepStartFrames (const FactoryPattern& pattern, double sampleRate, int passes)
{
    std::vector<long long> frames;
    const double stepBeats = 1.0 / pattern.scale;
    double beat = 0.0;
    for (int pass = 0; pass < passes; ++pass)
        for (int step = 0; step < pattern.length; ++step)
        {
            frames.push_back ((long long) std::ceil (beat * 60.0 * sampleRate / pattern.tempo - 1.0e-6));
            // The first step of a pair is long, the second short; an odd
            // length ends a pass on a long step.
            beat += stepBeats * (step % 2 == 0 ? 1.0 + pattern.shuffle : 1.0 - pattern.shuffle);
        }
    return frames;
}
} // namespace mainjob
