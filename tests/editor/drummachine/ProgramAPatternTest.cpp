// A musician's first pattern, made with the editor's widgets alone (clicks
// and a drag on the built-in skin's controls): write mode, the pattern
// cleared, the bass drum on steps 1, 5, 9 and 13, the snare on 5 and 13 and
// sent to output 2, then the internal clock started. Two bars rendered as
// the binding renders them sound at exactly those steps.
#include "DrumMachineEditorTestSupport.h"

#include <cmath>
#include <set>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int windowSize = 64; // samples per loudness window

// The steps at which a channel starts sounding: windows whose loudness jumps
// well above the two before, each counted at the step nearest to it.
std::set<int> onsetSteps (const juce::AudioBuffer<float>& audio, int channel, double samplesPerStep)
{
    std::set<int> steps;
    double previous = 0.0, beforePrevious = 0.0;
    for (int start = 0; start + windowSize <= audio.getNumSamples(); start += windowSize)
    {
        const double loudness = audio.getRMSLevel (channel, start, windowSize);
        if (loudness > 1.0e-3 && loudness > 4.0 * std::max (previous, beforePrevious))
            steps.insert ((int) std::lround (start / samplesPerStep));
        beforePrevious = previous;
        previous = loudness;
    }
    return steps;
}
} // namespace

using ProgramAPattern = DrumMachineEditorTest;

TEST_F (ProgramAPattern, TheStepsSetWithTheButtonsSoundWhenTheClockRuns)
{
    prepare (*product, head, 256, sampleRate);
    auto clickSteps = [this] (std::initializer_list<int> steps) {
        for (const int step : steps)
            click ("Step" + juce::String (step).paddedLeft ('0', 2) + "Button");
    };

    click ("WriteModeButton");
    click ("ClearButton", ctrlClick()); // clear all instruments
    click ("BassDrumSelectButton");
    clickSteps ({ 1, 5, 9, 13 });
    click ("SnareDrumSelectButton");
    clickSteps ({ 5, 13 });
    auto& snareOutput = control ("SnareDrumOutputDisplay");
    widget_testing::dragBy (snareOutput, snareOutput.getLocalBounds().getCentre().toFloat(), { 0.0f, -10.0f }); // 1 -> 2
    click ("PlayButton");

    auto& sequencer = *product->getSequencer();
    ASSERT_EQ (sequencer.getEditedPatternLength(), 16);
    const double samplesPerStep = sampleRate * 60.0 / (sequencer.getEditedPatternTempo() * sequencer.getEditedPatternScale());
    const int twoBars = (int) std::ceil (32 * samplesPerStep);
    const auto audio = run (*product, head, twoBars, 256).audio;

    // Stereo pairs: output 1 on channels 0-1, output 2 on channels 2-3.
    EXPECT_EQ (onsetSteps (audio, 0, samplesPerStep), (std::set<int> { 0, 4, 8, 12, 16, 20, 24, 28 })) << "the bass drum";
    EXPECT_EQ (onsetSteps (audio, 2, samplesPerStep), (std::set<int> { 4, 12, 20, 28 })) << "the snare";
}
