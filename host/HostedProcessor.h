#pragma once
// The processor interface the VST binding drives: a juce::AudioProcessor plus
// the few operations the binding needs that JUCE 7 lacks or has deprecated.
//
// The product's processor base derives from this class instead of directly
// from juce::AudioProcessor, overrides what it serves, and defines JUCE's
//     juce::AudioProcessor* createPluginFilter();
// returning a HostedProcessor; the module entry calls it once per instance
// and refuses the load when it gives null, throws, or gives another kind of
// processor.
//
// A processor that overrides one overload of getParameterName or
// getParameterText adds `using HostedProcessor::getParameterName;` (and
// likewise for the text) so the other overload stays visible.
//
// Host parameters are addressed by slot index (0 .. getNumParameters() - 1),
// with the index-based calls JUCE 7 only keeps as deprecated; they are
// re-declared here without the deprecation so that neither the binding nor
// the processor base trips over it. Parameter changes that the processor
// makes itself reach the host through notifyHostOfParameterChange and the
// two gesture calls.
#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

// Whoever hosts the processor (the VST binding) and hears of its own parameter changes and gestures.
// Called straight from the thread that makes the change, the audio thread included: an implementation
// takes no lock and does not allocate.
class HostReporter
{
public:
    virtual ~HostReporter() = default;
    virtual void reportParameterChange(int index, float normalisedValue) = 0;
    virtual void reportGestureBegin(int index) = 0;
    virtual void reportGestureEnd(int index) = 0;
};

class HostedProcessor : public juce::AudioProcessor
{
public:
    using juce::AudioProcessor::AudioProcessor;

    // Extra virtuals of the processor base (message thread unless noted).
    // Input and output pins the host sees; read at construction and after a speaker arrangement.
    virtual int getNumHostInputChannels() { return 0; }
    virtual int getNumHostOutputChannels() { return 0; }
    // Name of a MIDI key (0-127) for the host's key list; empty when the key plays nothing.
    virtual juce::String getNoteKeyName(int /*note*/) { return {}; }
    // Texts of the speaker arrangements the host chose ("L R" ...); empty texts when it was refused.
    virtual void setSpeakerArrangementTexts(const juce::String& input, const juce::String& output);

    // Host parameter slots (any host thread).
    int getNumParameters() override { return 0; }
    float getParameter(int index) override;
    void setParameter(int index, float normalisedValue) override;
    const juce::String getParameterName(int index) override;
    juce::String getParameterName(int index, int maximumLength) override;
    const juce::String getParameterText(int index) override;
    juce::String getParameterText(int index, int maximumLength) override;
    juce::String getParameterLabel(int index) const override;
    bool isParameterAutomatable(int index) const override;
    float getParameterDefaultValue(int index) override;

    // Output pin names and pairing (message thread).
    const juce::String getOutputChannelName(int index) const override;
    bool isOutputChannelStereoPair(int index) const override;

    // Any thread, the audio thread included. Tells the host that a slot changed or a gesture began or ended:
    // through the registered reporter alone when there is one (no lock taken), otherwise through JUCE's
    // listeners (a processor used without the binding).
    void notifyHostOfParameterChange(int index, float normalisedValue);
    void beginHostGesture(int index);
    void endHostGesture(int index);

    // Host's UI thread, while no block runs: the binding registers itself at construction, null unregisters.
    void setHostReporter(HostReporter* reporter) noexcept { hostReporter.store(reporter); }

    const juce::String& getInputSpeakerArrangementText() const noexcept { return inputArrangement; }
    const juce::String& getOutputSpeakerArrangementText() const noexcept { return outputArrangement; }

private:
    juce::String inputArrangement, outputArrangement;
    std::atomic<HostReporter*> hostReporter { nullptr };
};
