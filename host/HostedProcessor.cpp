#include "host/HostedProcessor.h"

void HostedProcessor::setSpeakerArrangementTexts(const juce::String& input, const juce::String& output)
{
    inputArrangement = input;
    outputArrangement = output;
}

float HostedProcessor::getParameter(int) { return 0.0f; }
void HostedProcessor::setParameter(int, float) {}
const juce::String HostedProcessor::getParameterName(int) { return {}; }

juce::String HostedProcessor::getParameterName(int index, int maximumLength)
{
    return getParameterName(index).substring(0, maximumLength);
}

const juce::String HostedProcessor::getParameterText(int) { return {}; }

juce::String HostedProcessor::getParameterText(int index, int maximumLength)
{
    return getParameterText(index).substring(0, maximumLength);
}

juce::String HostedProcessor::getParameterLabel(int) const { return {}; }
bool HostedProcessor::isParameterAutomatable(int index) const
{
    return index >= 0 && index < const_cast<HostedProcessor*>(this)->getNumParameters();
}
float HostedProcessor::getParameterDefaultValue(int) { return 0.0f; }

const juce::String HostedProcessor::getOutputChannelName(int index) const { return juce::String(index + 1); }
bool HostedProcessor::isOutputChannelStereoPair(int) const { return false; }

// JUCE keeps its index-based listener notifications only as deprecated calls; they take the
// processor's listener lock, so they serve only a processor that no binding reports for.
JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
void HostedProcessor::notifyHostOfParameterChange(int index, float normalisedValue)
{
    if (index < 0 || index >= getNumParameters())
        return;
    if (auto* reporter = hostReporter.load())
        reporter->reportParameterChange(index, normalisedValue);
    else
        sendParamChangeMessageToListeners(index, normalisedValue);
}

void HostedProcessor::beginHostGesture(int index)
{
    if (index < 0 || index >= getNumParameters())
        return;
    if (auto* reporter = hostReporter.load())
        reporter->reportGestureBegin(index);
    else
        beginParameterChangeGesture(index);
}

void HostedProcessor::endHostGesture(int index)
{
    if (index < 0 || index >= getNumParameters())
        return;
    if (auto* reporter = hostReporter.load())
        reporter->reportGestureEnd(index);
    else
        endParameterChangeGesture(index);
}
JUCE_END_IGNORE_WARNINGS_GCC_LIKE
