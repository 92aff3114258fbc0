#pragma once

#include "voices/InstructionSet.h"
#include "voices/SampleRateContext.h"
#include "voices/TriggerOutPulse.h"

#include <cstdint>

class DrumMachine;

/** The generic voice engine the drum machine drives on the audio thread: the
    sample-rate context and the trigger-out pulse. A product core overrides the
    rendering; this base renders nothing, so the drum machine can fall back on
    it when the product gives no core. */
class DrumMachineCore
{
public:
    explicit DrumMachineCore(DrumMachine* owner = nullptr);
    virtual ~DrumMachineCore() = default;

    DrumMachineCore(const DrumMachineCore&) = delete;
    DrumMachineCore& operator=(const DrumMachineCore&) = delete;

    /** Called from the processor's prepare, before setSampleRate (message thread). */
    virtual void prepareToPlay() {}
    /** Called from the processor's release (message thread). */
    virtual void releaseResources() {}
    /** A sound parameter by index, normalised 0..1 (the thread that changed it). */
    virtual void setParameter(std::int32_t index, float value);
    /** Plays an instrument 0..10 at velocity 0..1 (audio thread). */
    virtual void trigger(std::int32_t instrument, float velocity);
    /** Sets the rate (Hz) and re-initialises the trigger-out pulse (before rendering). */
    virtual void setSampleRate(float sampleRate);
    /** Renders one sample of every instrument into out[0..10] (audio thread). */
    virtual void process(double* out);
    /** Renders numFrames samples of every instrument: instrument i into
        voiceOutputs[i][0 .. numFrames). The same samples as numFrames calls of
        process, only faster where the product renders runs (audio thread). */
    void render(double* const* voiceOutputs, int numFrames) { render(voiceOutputs, nullptr, numFrames); }
    /** The same; where an instrument gives one value throughout, the core may
        write only voiceOutputs[i][0] and set constantOutputs[i] (it clears
        it otherwise). */
    virtual void render(double* const* voiceOutputs, bool* constantOutputs, int numFrames);
    /** Which sample loops to run; the best the processor has by default
        (message thread, before rendering). */
    virtual void setInstructionSet(InstructionSet) {}

    /** Makes the trigger-out pulse idle at the current rate (message or audio thread). */
    void initTriggerOutPulse();
    /** One sample of the trigger-out pulse, 0 while disabled (audio thread). */
    double processTriggerOut();

    /** Settings of the trigger-out: on or off, and which instrument 0..10
        starts it (message thread, then initTriggerOutPulse). */
    void setTriggerOutEnabled(bool enabled) { triggerOutEnabled = enabled; }
    void setTriggerOutSource(std::int32_t instrument) { triggerOutSource = instrument; }
    bool isTriggerOutEnabled() const { return triggerOutEnabled; }
    std::int32_t getTriggerOutSource() const { return triggerOutSource; }

    const SampleRateContext& getContext() const { return context; }
    DrumMachine* getOwner() const { return owner; }

protected:
    SampleRateContext context;

private:
    bool triggerOutEnabled = false;
    std::int32_t triggerOutSource = 0;
    TriggerOutPulse triggerOutPulse;
    DrumMachine* owner; // not owned
};
