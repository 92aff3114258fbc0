#include "voices/DrumMachineCore.h"

#include "voices/InstrumentSlots.h"

#include <algorithm>

DrumMachineCore::DrumMachineCore(DrumMachine* ownerToUse)
    : owner(ownerToUse)
{
    initTriggerOutPulse();
}

void DrumMachineCore::setParameter(std::int32_t, float)
{
}

void DrumMachineCore::trigger(std::int32_t instrument, float)
{
    if (triggerOutEnabled && instrument == triggerOutSource)
        triggerOutPulse.restart();
}

void DrumMachineCore::setSampleRate(float sampleRate)
{
    context.setSampleRate(static_cast<double>(sampleRate));
    initTriggerOutPulse();
}

void DrumMachineCore::process(double*)
{
}

void DrumMachineCore::render(double* const* voiceOutputs, bool* constantOutputs, int numFrames)
{
    if (constantOutputs != nullptr)
        std::fill_n(constantOutputs, instrument::numVoices, false);
    double frame[instrument::numVoices] = {};
    for (int n = 0; n < numFrames; ++n)
    {
        process(frame);
        for (int i = 0; i < instrument::numVoices; ++i)
            voiceOutputs[i][n] = frame[i];
    }
}

void DrumMachineCore::initTriggerOutPulse()
{
    triggerOutPulse.init(context.sampleRate, context.smoothing);
}

double DrumMachineCore::processTriggerOut()
{
    if (! triggerOutEnabled)
        return 0.0;
    return triggerOutPulse.process();
}
