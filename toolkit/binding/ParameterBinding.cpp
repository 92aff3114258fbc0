#include "toolkit/binding/ParameterBinding.h"

ParameterBinding::~ParameterBinding()
{
    bind (nullptr);
}

void ParameterBinding::bind (Parameter* newParameter)
{
    if (newParameter == parameter)
        return;

    if (parameter != nullptr)
        parameter->removeAsyncListener (&listener);

    parameter = newParameter;

    if (parameter != nullptr)
        parameter->addAsyncListener (&listener);
}

bool ParameterBinding::writeNormalised (float normalised)
{
    return write ([&] (Parameter& p) { p.setNormalised (normalised, true); });
}

bool ParameterBinding::writeValue (float value)
{
    return write ([&] (Parameter& p) { p.setValue (value, true); });
}

bool ParameterBinding::writeBool (bool value)
{
    return write ([&] (Parameter& p) { p.setBool (value, true); });
}

bool ParameterBinding::writeInt (int value)
{
    return write ([&] (Parameter& p) { p.setInt (value, true); });
}

bool ParameterBinding::writeText (const juce::String& text)
{
    if (parameter == nullptr || refreshing)
        return false;

    // A text parameter has no number to compare: its text tells the change.
    const auto before = parameter->toString();
    parameter->setFromString (text, true);
    return parameter->toString() != before;
}

ParameterBinding::ScopedGesture::ScopedGesture (const ParameterBinding& binding) : parameter (binding.parameter)
{
    if (parameter != nullptr)
        parameter->notifyGestureBegin();
}

ParameterBinding::ScopedGesture::~ScopedGesture()
{
    if (parameter != nullptr)
        parameter->notifyGestureEnd();
}
