// Build tool: writes the factory pattern bank ("default.xrptrb") from the
// table in FactoryPatterns.cpp, refusing a table with a mistake in it.
//   pulsetta_make_factory_patterns <output file>

#include <iostream>
#include <set>

#include "drummachine/sequencer/PatternXml.h"
#include "drummachine/sequencer/factory/FactoryPatterns.h"

namespace
{
constexpr int banks = 8;
constexpr int slotsPerBank = 12;

bool fail (const juce::String& where, const juce::String& what)
{
    std::cerr << "factory patterns: " << where << ": " << what << std::endl;
    return false;
}

constexpr int refused = 1; // exit code that stops the build

bool isStepCharacter (char c)
{
    return c == '.' || c == 'o' || c == 'O' || c == 'X';
}

bool makePattern (const factory::FactoryPattern& entry, Pattern& pattern)
{
    const juce::String where (entry.name);
    if (entry.length < Pattern::minLength || entry.length > Pattern::maxLength)
        return fail (where, "length out of range");
    if (Pattern::sanitiseScale (entry.scale) != entry.scale)
        return fail (where, "scale must be 3, 4, 6 or 8");
    if (entry.tempo < Pattern::minTempo || entry.tempo > Pattern::maxTempo)
        return fail (where, "tempo out of range");
    if (entry.shuffle < Pattern::minShuffle || entry.shuffle > Pattern::maxShuffle)
        return fail (where, "shuffle out of range");
    if (entry.flam < 0.0 || entry.flam > 1.0)
        return fail (where, "flam out of range");

    pattern = Pattern();
    pattern.setName (juce::String::fromUTF8 (entry.name));
    pattern.setLength (entry.length);
    pattern.setScale (entry.scale);
    pattern.setTempo (entry.tempo);
    pattern.setShuffle (entry.shuffle);
    pattern.setFlam (Pattern::minFlam + (Pattern::maxFlam - Pattern::minFlam) * entry.flam);
    pattern.clearSteps();

    std::set<int> tracksSeen;
    bool sounds = false;
    for (const auto& row : entry.rows)
    {
        if (! tracksSeen.insert (row.track).second)
            return fail (where, "a track is given twice");
        const juce::String steps (row.steps);
        if (steps.length() != entry.length)
            return fail (where, "a row of " + juce::String (steps.length()) + " steps in a pattern of " + juce::String (entry.length));
        for (int step = 0; step < entry.length; ++step)
        {
            const char c = row.steps[step];
            if (! isStepCharacter (c))
                return fail (where, juce::String ("unknown step character '") + c + "'");
            pattern.setStep (row.track, step, PatternXml::stepValueOf ((juce::juce_wchar) c));
            sounds = sounds || (c != '.' && row.track != factory::AC);
        }
    }
    if (! sounds)
        return fail (where, "no instrument plays");
    return true;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: " << argv[0] << " <output file>" << std::endl;
        return 2;
    }

    const auto table = factory::getFactoryBanks();
    if (table.size() != (size_t) banks)
    {
        fail ("table", "there must be " + juce::String (banks) + " banks");
        return refused;
    }

    juce::XmlElement bank ("PatternBank");
    std::set<juce::String> names;
    for (const auto& family : table)
    {
        if (family.patterns.size() != (size_t) slotsPerBank)
        {
            fail (family.family, "a bank holds " + juce::String (slotsPerBank) + " patterns");
            return refused;
        }

        for (const auto& entry : family.patterns)
        {
            Pattern pattern;
            if (! makePattern (entry, pattern))
                return refused;
            if (! names.insert (pattern.getName()).second)
            {
                fail (entry.name, "the name is used twice");
                return refused;
            }
            bank.addChildElement (PatternXml::create (pattern, "Pulsetta").release());
        }
    }

    const juce::File output (juce::File::getCurrentWorkingDirectory().getChildFile (argv[1]));
    if (! bank.writeTo (output))
    {
        fail (output.getFullPathName(), "cannot be written");
        return refused;
    }
    return 0;
}
