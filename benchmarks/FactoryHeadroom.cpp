#include "benchmarks/FactoryHeadroom.h"

#include "drummachine/product/Pulsetta.h"

#include <memory>

namespace factoryheadroom
{
namespace
{
constexpr int blockSize = 512;
constexpr double ringingSeconds = 1.0;
} // namespace

Measurement measure (int pattern, int preset, double sampleRate, int leadIn)
{
    Measurement result;
    auto* created = BasePlugin::startUp (std::make_unique<Pulsetta>());
    std::unique_ptr<Pulsetta> product (static_cast<Pulsetta*> (created));
    auto* seq = product->getPulsettaSeq();
    if (seq == nullptr || ! PulsettaSeq::isValidPattern (pattern))
        return result;

    const int channels = product->getNumHostOutputChannels();
    product->setPlayConfigDetails (0, channels, sampleRate, blockSize);
    product->prepareToPlay (sampleRate, blockSize);
    if (preset >= 0)
    {
        product->setCurrentPreset (preset, false);
        product->applyCurrentPreset();
    }
    result.kitName = product->getPresetBank().getPresetName (product->getCurrentPreset());
    seq->setChain (pattern % PulsettaSeq::slotsPerBank, pattern % PulsettaSeq::slotsPerBank, pattern / PulsettaSeq::slotsPerBank);
    Pattern played;
    seq->copyPattern (pattern, played);
    result.patternName = played.getName();

    juce::AudioBuffer<float> buffer (channels, blockSize);
    juce::MidiBuffer midi;
    const auto play = [&] (int frames) {
        for (int done = 0; done < frames; done += blockSize)
        {
            const int length = std::min (blockSize, frames - done);
            buffer.setSize (channels, length, false, false, true);
            midi.clear();
            const juce::ScopedLock lock (product->getCallbackLock());
            product->processBlock (buffer, midi);
            // The main output: the first pair, where every voice plays unless routed elsewhere.
            result.peak = std::max (result.peak, (double) buffer.getMagnitude (0, 0, length));
        }
    };

    play (std::max (leadIn, 0)); // the kit's levels glide to their values meanwhile
    product->requestStart();
    const double beats = played.getFirstPassDuration() + played.getSecondPassDuration();
    play ((int) std::ceil (beats * 60.0 * sampleRate / played.getTempo() + ringingSeconds * sampleRate));
    return result;
}
} // namespace factoryheadroom
