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
    return write ([] (const Parameter& p) { return p.getNormalised(); }, normalised,
                  [&] (Parameter& p) { p.setNormalised (normalised, true); });
}

bool ParameterBinding::writeValue (float value)
{
    return write ([] (const Parameter& p) { return p.getValue(); }, value, [&] (Parameter& p) { p.setValue (value, true); });
}

bool ParameterBinding::writeBool (bool value)
{
    return write ([] (const Parameter& p) { return p.getBool(); }, value, [&] (Parameter& p) { p.setBool (value, true); });
}

bool ParameterBinding::writeInt (int value)
{
    return write ([] (const Parameter& p) { return p.getInt(); }, value, [&] (Parameter& p) { p.setInt (value, true); });
}

bool ParameterBinding::writeText (const juce::String& text)
{
    return write ([] (const Parameter& p) { return p.toString(); }, text, [&] (Parameter& p) { p.setFromString (text, true); });
}

ParameterBinding::ScopedGesture::ScopedGesture (ParameterBinding& binding) : owner (binding), gesture (binding.parameter)
{
    ++owner.openGestures;
}

ParameterBinding::ScopedGesture::~ScopedGesture()
{
    --owner.openGestures;
}
