#pragma once
// Binds one HostedProcessor to a VST 2.4 host: audio and MIDI per block,
// parameters, programs, state chunks, pins and speaker arrangements, the
// play head read from the host's time info, and the processor's editor inside
// the host's window.
#include "host/AudioEffectX.h"
#include "host/HandOverQueue.h"
#include "host/HostCallScope.h"
#include "host/HostedProcessor.h"
#include "host/KeptChunk.h"
#include "host/MidiRoom.h"
#include "host/ProcessChannels.h"
#include "host/VSTMidiEventList.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <memory>
#include <optional>

namespace host
{
// The host call gate, taken by the binding's destructor and held until every
// other part of the instance is gone: as the first base it goes last.
struct TeardownInsideHostCall
{
    std::optional<HostCallScope> teardown;
};

// Holds the library (message manager and friends) for as long as an instance
// lives; as the second base of the binding it is released after the processor.
struct JuceLibraryInUse
{
    JuceLibraryInUse() : library(std::in_place) {}
    ~JuceLibraryInUse();
    std::optional<juce::ScopedJuceInitialiser_GUI> library;
};

class JuceVSTWrapper : private TeardownInsideHostCall,
                       private JuceLibraryInUse,
                       public AudioEffectX,
                       private HostReporter,
                       private juce::AudioProcessorListener,
                       private juce::AudioPlayHead,
                       private juce::Timer,
                       private juce::AsyncUpdater
{
public:
    // Host's UI thread (module entry); takes ownership of the processor.
    JuceVSTWrapper(vst::audioMasterCallback host, std::unique_ptr<HostedProcessor> processor);
    ~JuceVSTWrapper() override;

    // Host's UI thread or its editor thread (effProcessEvents: audio thread). Once shut down, every opcode
    // answers 0. What may touch the editor's side runs inside the host call gate (HostCallScope.h).
    vst::VstIntPtr dispatcher(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                              float opt) override;

    // Host's UI thread. Until the host first resumes, open and the rate and block size announcements keep
    // the processor prepared at the announced values, so a host that processes without resuming finds
    // everything ready: the audio thread never prepares.
    void open() override;
    void close() override;
    void resume() override;
    void suspend() override;
    void idle() override;
    void setSampleRate(float rate) override;
    void setBlockSize(vst::VstInt32 frames) override;

    // Host's audio thread.
    void processReplacing(float** inputs, float** outputs, vst::VstInt32 frames) override;
    vst::VstInt32 processEvents(vst::VstEvents* events) override;

    // Any host thread.
    void setParameter(vst::VstInt32 index, float value) override;
    float getParameter(vst::VstInt32 index) override;
    void getParameterName(vst::VstInt32 index, char* text) override;
    void getParameterDisplay(vst::VstInt32 index, char* text) override;
    void getParameterLabel(vst::VstInt32 index, char* text) override;
    bool canParameterBeAutomated(vst::VstInt32 index) override;

    // Host's UI thread.
    vst::VstInt32 getProgram() override;
    void setProgram(vst::VstInt32 program) override;
    void setProgramName(const char* name) override;
    void getProgramName(char* text) override;
    bool getProgramNameIndexed(vst::VstInt32 category, vst::VstInt32 index, char* text) override;
    vst::VstInt32 getChunk(void** data, bool isPreset) override;
    vst::VstInt32 setChunk(void* data, vst::VstInt32 byteSize, bool isPreset) override;

    bool setBypass(bool on) override;
    bool getEffectName(char* text) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    vst::VstInt32 getVendorVersion() override;
    vst::VstInt32 canDo(const char* text) override;
    vst::VstInt32 getGetTailSize() override;
    bool getInputProperties(vst::VstInt32 index, vst::VstPinProperties* properties) override;
    bool getOutputProperties(vst::VstInt32 index, vst::VstPinProperties* properties) override;
    bool setSpeakerArrangement(vst::VstSpeakerArrangement* input, vst::VstSpeakerArrangement* output) override;
    vst::VstInt32 getMidiKeyName(vst::VstInt32 channel, vst::MidiKeyName* keyName) override;

private:
    // Host reporter: any thread the processor reports from, the audio thread included; straight to the host.
    void reportParameterChange(int index, float normalisedValue) override;
    void reportGestureBegin(int index) override;
    void reportGestureEnd(int index) override;
    // Any thread: to the host at once, or through the audio thread (below).
    void notifyHost(vst::VstInt32 opcode, vst::VstInt32 index, float value);
    bool handsNotificationsToTheAudioThread() const;
    // Host's audio thread, before each block.
    void sendHandedOverNotifications();
    // Processor listener: any thread the processor reports from. Parameter changes and gestures reach the host through the reporter
    // above, which is registered for as long as this listener is, and the processor keeps no JUCE-managed
    // parameters: JUCE's own parameter and gesture notifications never come here.
    void audioProcessorParameterChanged(juce::AudioProcessor*, int, float) override {}
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override;
    // Play head: host's audio thread, from inside processBlock.
    juce::Optional<PositionInfo> getPosition() const override;
    // Message thread: housekeeping every 250 ms once the host opened the editor.
    void timerCallback() override;
    // Message thread: tells the host that pins or latency changed.
    void handleAsyncUpdate() override;

    vst::VstIntPtr dispatchOpcode(vst::VstInt32 opcode, vst::VstInt32 index, vst::VstIntPtr value, void* ptr,
                                  float opt);

    // The editor in the host's window (JuceVSTWrapperEditor.cpp); message thread only.
    class EditorCompWrapper;
    vst::VstIntPtr dispatchEditorOpcode(vst::VstInt32 opcode, void* ptr);
    vst::VstIntPtr getEditorRect(vst::ERect** rect);
    vst::VstIntPtr openEditor(void* window);
    void createEditorComp();
    void deleteEditor(bool canDeferDelete);
    void endWhatTheUserHasUnderWay();
    void followHostWindowVisibility();
    void noteWhoHasTheKeyboard();
    void keepTheKeyboardOnlyWhileItIsUsed();
    bool editorHasAUseForTheKeyboard() const;
    void resizeHostWindow(int width, int height);
    void prepare(double rate, int frames);
    void prepareBeforeFirstResume();
    void renderBlock(float** inputs, float** outputs, int frames);
    void renderSlice(float** inputs, float** outputs, int offset, int frames, juce::MidiBuffer& midi);
    void collectMidiForHost();
    void clearHostOutputs(float** outputs, int frames) const noexcept;
    bool isProgramIndex(int index) const;
    bool isHostParameter(int index) const;
    void applyPlayConfiguration(double rate, int frames);

    std::unique_ptr<HostedProcessor> processor;
    KeptChunk chunk;
    // The host component holding the processor's editor, from effEditGetRect or effEditOpen until effEditClose.
    std::unique_ptr<EditorCompWrapper> editorComp;
    vst::ERect editorRect {};          // handed out by effEditGetRect, valid while the instance lives
    bool isEditorInHostWindow = false; // between effEditOpen and effEditClose
    void* hostWindow = nullptr;        // the host's native window the editor is in, while it is
    void* keyboardFocusBeforeOurs = nullptr; // the last window not ours seen with the keyboard focus
    bool shouldDeleteEditor = false;   // the deletion waits for the next tick: a modal window was up at close
    // Under the callback lock. Each holds midiBufferRoomBytes, reserved when prepared and never grown after.
    juce::MidiBuffer midiEvents;                     // host's events in, processor's events out
    juce::MidiBuffer sliceEvents, sliceOutput;       // used when a block is longer than prepared
    // Filled under the callback lock, read by the host after it; its room is kept until destruction.
    VSTMidiEventList outgoingEvents;
    ProcessChannels channels; // prepared (getMaxFrames() > 0) from open or resume until suspend
    vst::VstInt32 inputSpeakerType = -1, outputSpeakerType = -1;
    int numInputPins = 0, numOutputPins = 0;
    bool hasShutDown = false;
    bool isOpen = false;
    bool hostDrivesPreparation = false; // once the host resumed or suspended; host's UI thread only
    int eventsThisBlock = 0;            // host events taken for the next block, under the callback lock
    double preparedRate = 0.0;                        // Hz, of the last preparation
    int preparedFrames = 0;
    // Set on the host's UI thread, read on its audio thread.
    std::atomic<bool> firstProcessCallback { true }, isBypassed { false };

    // A host notification (automation, a gesture's begin or end) waiting for the audio thread.
    struct HostNotification
    {
        vst::VstInt32 opcode = 0;
        vst::VstInt32 index = 0;
        float value = 0.0f; // normalised, automation only
    };
    // Where a host makes its editor calls on a thread other than the instance's, what the editor tells
    // it goes out from the audio thread, at the next block: Ardour writes an automation point on the
    // thread the notification comes on, and its editor thread has no tempo map for that (it dies there),
    // while its audio thread, which processes every cycle, has. One queue keeps their order, and so
    // each gesture's pairing.
    HandOverQueue<HostNotification> notificationsForTheAudioThread;
    const juce::Thread::ThreadID instanceThread = juce::Thread::getCurrentThreadId();
    std::atomic<bool> isResumed { false }; // between the host's resume and suspend: blocks will come
};
} // namespace host
