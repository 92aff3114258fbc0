// The drum machine as a module for the command-line host: mono outputs, and
// the internal sequencer off until a chunk switches it on.
#include "TestDrumMachine.h"

namespace
{
class ModuleDrumMachine : public TestDrumMachine
{
public:
    ModuleDrumMachine()
    {
        setDefaultOutputCharacteristics (monoOutputs);
        setSequencerDefaults ({ false, false, false, false });
    }

    // A known first pattern at 120 bpm: kick on the beats (the first strong),
    // snare on 2 and 4, closed hi-hat on the eighths.
    void postInitialise() override
    {
        Pattern pattern;
        pattern.setTempo (120.0);
        pattern.setScale (4);
        for (int step = 0; step < 16; step += 4)
            pattern.setStep (0, step, step == 0 ? Pattern::stepAccent : Pattern::stepOn);
        pattern.setStep (1, 4, Pattern::stepOn);
        pattern.setStep (1, 12, Pattern::stepOn);
        for (int step = 0; step < 16; step += 2)
            pattern.setStep (7, step, Pattern::stepOn);
        seq().storePattern (0, pattern);
    }
};
} // namespace

juce::AudioProcessor* createPluginFilter()
{
    return BasePlugin::startUp (std::make_unique<ModuleDrumMachine>());
}
