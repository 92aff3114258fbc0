// The processor inside the test module: it records what reaches it, so that
// tests driving the real module through the command-line host can see it.
//
// - Output channel c carries (c + 1) * 1000 + (frame % 1000), frame counted
//   from the first block, so tests see channel identity and continuity.
// - A note-on comes back as a note-on one key higher at the same position, a
//   sysex comes back unchanged; controller 7 is reported to the host as an
//   automation of parameter 0 (with begin and end of a gesture).
// - Parameter 83 above 0.5 suspends processing; parameter 82 above 0.5 makes
//   every block throw, as a state chunk starting with "THRW" does, so tests
//   see what reaches the host when a processor throws.
// - The state chunk holds the 84 parameter values ("RPST", count, floats) and
//   refuses anything else; the program chunk is a text report of what reached
//   the processor (see report()).
// - Its persistent editor, made with the processor and kept for its life,
//   paints a picture a window test can recognise; its band turns red while
//   parameter 0 is above 0.5 (set on the message thread, it repaints).
#include "RecordingProcessor.h"

#include "framework/processor/AudioProcessorEditorWrapper.h"

#include <array>
#include <atomic>
#include <cstring>
#include <stdexcept>

namespace
{
constexpr int numOutputs = 12;
constexpr int numParameters = 84;
constexpr int suspendParameter = 83;
constexpr int throwingParameter = 82;
constexpr char stateMagic[4] = { 'R', 'P', 'S', 'T' };

std::atomic<int> constructedInProcess { 0 };
std::atomic<int> liveInProcess { 0 };
int editorPaints = 0; // message thread

// Teal with a yellow band (red while the first parameter is above 0.5) and a white frame.
class RecordingEditor final : public juce::Component
{
public:
    explicit RecordingEditor(const float& firstParameter) : band(firstParameter)
    {
        setSize(recording::editorWidth, recording::editorHeight);
    }

    void paint(juce::Graphics& g) override
    {
        ++editorPaints;
        g.fillAll(juce::Colour(0xff1f6f8b));
        g.setColour(juce::Colour(band > 0.5f ? 0xffd1495b : 0xfff2c14e));
        g.fillRect(getLocalBounds().withSizeKeepingCentre(getWidth(), getHeight() / 4));
        g.setColour(juce::Colours::white);
        g.drawRect(getLocalBounds(), 4);
    }

private:
    const float& band;
};

class RecordingProcessor final : public HostedProcessor, private juce::AsyncUpdater
{
public:
    explicit RecordingProcessor(recording::Editor editorKind)
        : HostedProcessor(BusesProperties().withOutput("Output", juce::AudioChannelSet::discreteChannels(numOutputs)))
    {
        ++constructedInProcess;
        ++liveInProcess;
        values.fill(0.0f);
        if (editorKind == recording::Editor::persistent)
            persistentEditor = std::make_unique<RecordingEditor>(values[0]);
    }
    ~RecordingProcessor() override
    {
        cancelPendingUpdate();
        --liveInProcess;
    }

    int getNumHostOutputChannels() override { return numOutputs; }
    juce::String getNoteKeyName(int note) override { return note == 36 ? "Bass Drum" : ""; }
    void setSpeakerArrangementTexts(const juce::String& input, const juce::String& output) override
    {
        HostedProcessor::setSpeakerArrangementTexts(input, output);
        arrangement = "\"" + input + "\" \"" + output + "\"";
    }

    using HostedProcessor::getParameterName;
    using HostedProcessor::getParameterText;
    int getNumParameters() override { return numParameters; }
    float getParameter(int index) override { return values[static_cast<size_t>(index)]; }
    void setParameter(int index, float value) override
    {
        if (index < 0 || index >= numParameters)
        {
            ++refusedIndexes;
            return;
        }
        values[static_cast<size_t>(index)] = value;
        if (index == 0 && persistentEditor != nullptr && juce::MessageManager::existsAndIsCurrentThread())
            persistentEditor->repaint();
        if (index == suspendParameter)
            suspendProcessing(value > 0.5f);
    }
    const juce::String getParameterName(int index) override { return "Param " + juce::String(index + 1); }
    const juce::String getParameterText(int index) override
    {
        return juce::String(values[static_cast<size_t>(index)], 3);
    }
    juce::String getParameterLabel(int index) const override { return index == 0 ? "dB" : ""; }
    const juce::String getOutputChannelName(int index) const override { return "XR" + juce::String(index + 1); }

    const juce::String getName() const override { return "Recording"; }
    bool isBusesLayoutSupported(const BusesLayout& layout) const override
    {
        return layout.getMainInputChannels() == 0;
    }
    void prepareToPlay(double rate, int block) override
    {
        report("prepared " + juce::String(rate) + " " + juce::String(block));
        triggerAsyncUpdate();
    }
    void releaseResources() override { report("released"); }

    // Audio thread.
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override
    {
        if (values[throwingParameter] > 0.5f)
            throw std::runtime_error("a block that throws");
        record(buffer, midi, "block");
    }
    void processBlockBypassed(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override
    {
        report("bypassed " + juce::String(buffer.getNumSamples()) + " " + juce::String(buffer.getMagnitude(0, buffer.getNumSamples())));
        midi.clear();
        framesDone += buffer.getNumSamples();
    }

    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return true; }
    bool hasEditor() const override { return persistentEditor != nullptr; }
    juce::AudioProcessorEditor* createEditor() override
    {
        return persistentEditor != nullptr ? new AudioProcessorEditorWrapper(*this, *persistentEditor) : nullptr;
    }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int program) override { report("program " + juce::String(program)); }
    const juce::String getProgramName(int) override { return programName; }
    void changeProgramName(int, const juce::String& name) override
    {
        programName = name;
        updateHostDisplay(ChangeDetails().withProgramChanged(true));
    }

    void getStateInformation(juce::MemoryBlock& data) override
    {
        data.append(stateMagic, sizeof stateMagic);
        const auto count = static_cast<uint32_t>(numParameters);
        data.append(&count, sizeof count);
        data.append(values.data(), sizeof(float) * values.size());
    }
    void setStateInformation(const void* data, int size) override
    {
        std::array<float, numParameters> read {};
        uint32_t count = 0;
        const auto* bytes = static_cast<const char*>(data);
        if (size >= 4 && std::memcmp(bytes, "THRW", 4) == 0)
            throw std::runtime_error("a chunk that throws");
        if (size != static_cast<int>(sizeof stateMagic + sizeof count + sizeof read)
            || std::memcmp(bytes, stateMagic, sizeof stateMagic) != 0)
            return;
        std::memcpy(&count, bytes + sizeof stateMagic, sizeof count);
        std::memcpy(read.data(), bytes + sizeof stateMagic + sizeof count, sizeof read);
        if (count != numParameters)
            return;
        for (const float value : read)
            if (!(value >= 0.0f && value <= 1.0f))
                return;
        values = read;
    }
    void getCurrentProgramStateInformation(juce::MemoryBlock& data) override
    {
        const auto text = report();
        data.append(text.toRawUTF8(), text.getNumBytesAsUTF8());
    }
    void setCurrentProgramStateInformation(const void*, int) override {}

private:
    void record(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi, const char* what)
    {
        const int frames = buffer.getNumSamples();
        report(juce::String(what) + " " + juce::String(frames) + " channels " + juce::String(buffer.getNumChannels()));
        if (auto* head = getPlayHead())
            reportPosition(head->getPosition());

        juce::MidiBuffer echo;
        for (const auto event : midi)
        {
            const auto message = event.getMessage();
            juce::String bytes;
            for (int i = 0; i < event.numBytes; ++i)
                bytes << " " << juce::String::toHexString(event.data[i]);
            report("midi " + juce::String(framesDone + event.samplePosition) + bytes);
            if (message.isNoteOn())
                echo.addEvent(juce::MidiMessage::noteOn(message.getChannel(), message.getNoteNumber() + 1,
                                                        message.getVelocity()),
                              event.samplePosition);
            else if (message.isSysEx())
                echo.addEvent(message, event.samplePosition);
            else if (message.isController() && message.getControllerNumber() == 7)
            {
                beginHostGesture(0);
                notifyHostOfParameterChange(0, static_cast<float>(message.getControllerValue()) / 127.0f);
                endHostGesture(0);
            }
        }
        midi.swapWith(echo);

        for (int channel = 0; channel < buffer.getNumChannels(); ++channel)
        {
            auto* samples = buffer.getWritePointer(channel);
            for (int n = 0; n < frames; ++n)
                samples[n] = static_cast<float>((channel + 1) * 1000 + (framesDone + n) % 1000);
        }
        framesDone += frames;
    }

    void reportPosition(const juce::Optional<juce::AudioPlayHead::PositionInfo>& position)
    {
        if (!position)
        {
            report("position none");
            return;
        }
        const auto signature = position->getTimeSignature().orFallback(juce::AudioPlayHead::TimeSignature {});
        const auto loop = position->getLoopPoints().orFallback(juce::AudioPlayHead::LoopPoints {});
        const auto rate = position->getFrameRate();
        report("position bpm " + juce::String(*position->getBpm()) + " ppq " + juce::String(*position->getPpqPosition())
               + " bar " + juce::String(*position->getPpqPositionOfLastBarStart()) + " sig "
               + juce::String(signature.numerator) + "/" + juce::String(signature.denominator) + " samples "
               + juce::String(*position->getTimeInSamples()) + " seconds " + juce::String(*position->getTimeInSeconds())
               + " playing " + juce::String(int(position->getIsPlaying())) + " recording "
               + juce::String(int(position->getIsRecording())) + " looping " + juce::String(int(position->getIsLooping()))
               + " loop " + juce::String(loop.ppqStart) + "-" + juce::String(loop.ppqEnd) + " fps "
               + (rate ? juce::String(rate->getEffectiveRate(), 3) : juce::String("none")) + " origin "
               + juce::String(position->getEditOriginTime().orFallback(-1.0)));
    }

    // Message thread: shows that the binding pumps the message queue.
    void handleAsyncUpdate() override { ++asyncUpdatesHandled; }

    void report(const juce::String& line) { lines.add(line); }
    juce::String report() const
    {
        auto* messageManager = juce::MessageManager::getInstanceWithoutCreating();
        return "constructed " + juce::String(constructedInProcess.load()) + "\nlive " + juce::String(liveInProcess.load())
               + "\nmessageManager " + juce::String::toHexString(reinterpret_cast<juce::pointer_sized_int>(messageManager))
               + "\nasync " + juce::String(asyncUpdatesHandled) + "\nrefused " + juce::String(refusedIndexes)
               + "\nnonrealtime " + juce::String(int(isNonRealtime())) + "\narrangement " + arrangement + "\n"
               + lines.joinIntoString("\n") + "\n";
    }

    std::array<float, numParameters> values {};
    juce::StringArray lines;
    juce::String programName { "Default" }, arrangement;
    juce::int64 framesDone = 0;
    int asyncUpdatesHandled = 0, refusedIndexes = 0;
    std::unique_ptr<juce::Component> persistentEditor;
};
} // namespace

std::unique_ptr<HostedProcessor> recording::createProcessor(Editor editor)
{
    return std::make_unique<RecordingProcessor>(editor);
}

int recording::editorPaintCount() { return editorPaints; }

juce::AudioProcessor* createPluginFilter() { return new RecordingProcessor(recording::Editor::persistent); }
