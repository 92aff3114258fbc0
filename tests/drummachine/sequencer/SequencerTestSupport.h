#pragma once

#include "drummachine/sequencer/Pattern.h"
#include "drummachine/sequencer/SequencerOwner.h"

#include <gtest/gtest.h>
#include <juce_core/juce_core.h>

#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

inline std::unique_ptr<juce::XmlElement> xml (const juce::String& text)
{
    auto element = juce::parseXML (text);
    EXPECT_NE (element, nullptr) << text;
    return element;
}

inline juce::String asText (const juce::XmlElement& element)
{
    return element.toString (juce::XmlElement::TextFormat().withoutHeader().singleLine());
}

// One row as digits, one a step: "1020..." for on, off, strong, off.
inline std::string rowText (const Pattern& pattern, int track)
{
    std::string text;
    for (int step = 0; step < Pattern::numSteps; ++step)
        text += (char) ('0' + pattern.getStep (track, step));
    return text;
}

/** A drum machine stand-in for the sequencer's tests: the product's velocity
    terms, every trigger kept with the sample at which the test says it fell,
    and the pattern-rewrite guard counted. */
class RecordingOwner : public SequencerOwner
{
public:
    struct Trigger
    {
        std::int64_t sample;
        int instrument;
        float velocity;

        bool operator== (const Trigger& other) const
        {
            return std::tie (sample, instrument, velocity) == std::tie (other.sample, other.instrument, other.velocity);
        }
    };

    static constexpr float base = 48.0f / 127.0f;
    static constexpr float strong = 0.377f;
    static constexpr float accentScale = 0.623f;

    float getBaseVelocity() const override { return base; }
    float getStrongVelocityBoost() const override { return strong; }
    float getAccentVelocityScale() const override { return accentScale; }
    double getAccentLevel() const override { return accentLevel; }

    // As the drum machine does: the step's velocity from its strength and accent.
    void triggerStep (int instrument, bool isStrong, bool isAccented) override
    {
        triggerInstrument (instrument, base + (isStrong ? strong : 0.0f)
                                           + (isAccented ? accentScale * static_cast<float> (accentLevel) : 0.0f));
    }

    void triggerInstrument (int instrument, float velocity) override { triggers.push_back ({ sample, instrument, velocity }); }
    void refreshStepStates() override { ++refreshesOnAudioThread; }
    int getNumTracks() const override { return 12; }
    bool isHostMode() const override { return false; }

    void beginPatternRewrite() override
    {
        if (insideRewrite)
            ++nestedRewrites;
        insideRewrite = true;
        ++rewrites;
    }

    void endPatternRewrite() override { insideRewrite = false; }

    std::vector<Trigger> takeTriggers()
    {
        auto taken = std::move (triggers);
        triggers.clear();
        return taken;
    }

    double accentLevel = 0.5;
    std::int64_t sample = 0; // the sample the next triggers fall on
    std::vector<Trigger> triggers;
    int refreshesOnAudioThread = 0;
    int rewrites = 0;
    int nestedRewrites = 0;
    bool insideRewrite = false;
};
