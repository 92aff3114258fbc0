#pragma once

#include "drummachine/product/Pulsetta.h"
#include "platform/UserFolders.h"

#include <gtest/gtest.h>
#include <juce_events/juce_events.h>

#include <memory>
#include <vector>

// The product in process, with a host transport the test moves block by block.
class ProductPlayHead : public juce::AudioPlayHead
{
public:
    juce::Optional<PositionInfo> getPosition() const override
    {
        PositionInfo info;
        info.setIsPlaying (playing);
        info.setBpm (bpm);
        info.setPpqPosition ((double) samplePosition / sampleRate * bpm / 60.0);
        info.setTimeInSamples (samplePosition);
        return info;
    }

    bool playing = false;
    double bpm = 120.0;
    double sampleRate = 48000.0;
    juce::int64 samplePosition = 0;
};

// The product counting its pattern-state refreshes.
class CountingPulsetta : public Pulsetta
{
public:
    void refreshPatternState() override
    {
        ++patternRefreshes;
        Pulsetta::refreshPatternState();
    }
    int patternRefreshes = 0;
};

struct ProductNote
{
    int position, status, key, velocity;
};

class ProductTest : public ::testing::Test
{
protected:
    ProductTest()
    {
        folder.createDirectory();
        platform::redirectApplicationDataFolders (folder.getFullPathName().toStdString());
    }

    ~ProductTest() override
    {
        platform::redirectApplicationDataFolders ("");
        folder.deleteRecursively();
    }

    static std::unique_ptr<CountingPulsetta> makeProduct()
    {
        auto* created = BasePlugin::startUp (std::make_unique<CountingPulsetta>());
        return std::unique_ptr<CountingPulsetta> (static_cast<CountingPulsetta*> (created));
    }

    void prepare (Pulsetta& product, int frames = 256)
    {
        product.setPlayHead (&head);
        product.setPlayConfigDetails (0, product.getNumHostOutputChannels(), head.sampleRate, frames);
        product.prepareToPlay (head.sampleRate, frames);
        blockSize = frames;
    }

    // Runs numSamples in blocks under the callback lock, as the binding does;
    // the notes given are sent at their positions. Returns the echo notes.
    std::vector<ProductNote> run (Pulsetta& product, int numSamples, const std::vector<std::pair<int, juce::MidiMessage>>& input = {})
    {
        const int channels = product.getNumHostOutputChannels();
        std::vector<ProductNote> notes;
        audio.setSize (channels, numSamples);
        audio.clear();
        juce::AudioBuffer<float> block (channels, blockSize);
        juce::MidiBuffer midi;
        for (int start = 0; start < numSamples; start += blockSize)
        {
            const int length = std::min (blockSize, numSamples - start);
            block.setSize (channels, length, false, false, true);
            midi.clear();
            for (const auto& [position, message] : input)
                if (position >= start && position < start + length)
                    midi.addEvent (message, position - start);
            {
                const juce::ScopedLock lock (product.getCallbackLock());
                product.processBlock (block, midi);
            }
            head.samplePosition += length;
            for (int c = 0; c < channels; ++c)
                audio.copyFrom (c, start, block, c, 0, length);
            for (const auto metadata : midi)
            {
                const auto message = metadata.getMessage();
                if (message.isNoteOnOrOff())
                    notes.push_back ({ start + metadata.samplePosition, message.isNoteOn() ? 0x90 : 0x80, message.getNoteNumber(),
                                       message.isNoteOn() ? (int) message.getVelocity() : 0 });
            }
        }
        return notes;
    }

    static int keyOf (Pulsetta& product, int instrument)
    {
        for (int key = 0; key < 128; ++key)
            if (product.getDrumMap().getInstrumentForKey (key) == instrument)
                return key;
        return -1;
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    juce::File folder { juce::File::getSpecialLocation (juce::File::tempDirectory)
                            .getNonexistentChildFile ("pulsetta-product-test", "", false) };
    ProductPlayHead head;
    juce::AudioBuffer<float> audio;
    int blockSize = 256;
};
