#include "drummachine/product/mainjob/FactoryPatternInfo.h"

#include "platform/EmbeddedResources.h"

#include <juce_core/juce_core.h>

#include <cmath>

namespace mainjob
{
namespace
{
const char* const trackCodes[numTracks] = { "BD", "SD", "LT", "MT", "HT", "RS", "HC", "CH", "OH", "CR", "RD", "AC" };

int stepValue (juce::juce_wchar c) noexcept
{
    switch (c)
    {
        case 'o': return 1;
        case 'O': return 2;
        case 'x': case 'X': return 3;
        default: return 0;
    }
}
} // namespace

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
    const auto resource = platform::findResource ("default.xrptrb");
    auto root = resource ? juce::XmlDocument::parse (juce::String::fromUTF8 (resource.text().data(), (int) resource.text().size()))
                         : nullptr;
    if (root == nullptr)
    {
        error = "the module's factory patterns cannot be read";
        return false;
    }

    const int index = (bank - 1) * slotsPerBank + (pattern - 1);
    int position = 0;
    for (auto* element : root->getChildIterator())
    {
        if (! element->hasTagName ("Pattern") || position++ != index)
            continue;
        result.name = element->getStringAttribute ("name").toStdString();
        result.tempo = juce::jlimit (30.0, 300.0, element->getDoubleAttribute ("tempo", 120.0));
        result.shuffle = juce::jlimit (0.0, 0.8, element->getDoubleAttribute ("shuffle", 0.0));
        result.length = juce::jlimit (1, 16, element->getIntAttribute ("length", 16));
        const int scale = element->getIntAttribute ("scale", 4);
        result.scale = scale == 3 || scale == 6 || scale == 8 ? scale : 4;
        for (int track = 0; track < numTracks; ++track)
        {
            result.steps[(size_t) track].fill (0);
            if (auto* row = element->getChildByName (trackCodes[track]))
            {
                const auto text = row->getAllSubText().trim();
                for (int step = 0; step < 16 && step < text.length(); ++step)
                    result.steps[(size_t) track][(size_t) step] = stepValue (text[step]);
            }
        }
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
