#include "framework/core/StringParameter.h"

#include "framework/core/BoolParameter.h"
#include "framework/core/TextNumbers.h"

StringParameter::StringParameter (int parameterId, const juce::String& parameterName, const juce::String& initial)
    : Parameter (parameterId, parameterName), text (initial)
{
}

std::unique_ptr<Parameter> StringParameter::clone (int newId, const juce::String& newName) const
{
    return withSettingsOf (std::make_unique<StringParameter> (newId, newName, toString()));
}

float StringParameter::getValue() const noexcept
{
    const SharedReadLock::ScopedRead reading (textLock);
    return toFiniteFloat (parseFiniteDouble (text));
}

float StringParameter::getNormalised() const noexcept
{
    return clampToRange (getValue(), 0.0f, 1.0f);
}

int StringParameter::getInt() const noexcept
{
    const SharedReadLock::ScopedRead reading (textLock);
    return parseLeadingInt (text);
}

bool StringParameter::getBool() const noexcept
{
    const SharedReadLock::ScopedRead reading (textLock);
    bool result = false;

    if (BoolParameter::readBoolWord (text, result))
        return result;

    return parseFiniteDouble (text) != 0.0;
}

juce::String StringParameter::toString() const
{
    const SharedReadLock::ScopedRead reading (textLock);
    return text;
}

void StringParameter::store (const juce::String& newText, bool notify)
{
    juce::String replacement (newText);
    {
        const SharedReadLock::ScopedWrite writing (textLock);

        if (text == replacement)
            return;

        std::swap (text, replacement);
    }

    // The old text is released here, outside the lock.
    valueChanged (notify);
}

void StringParameter::setValue (float newValue, bool notify)
{
    store (toStreamText (finiteOr (newValue, 0.0f)), notify);
}

void StringParameter::setNormalised (float normalised, bool notify)
{
    setValue (normalised, notify);
}

void StringParameter::setInt (int newValue, bool notify)
{
    store (juce::String (newValue), notify);
}

void StringParameter::setBool (bool newValue, bool notify)
{
    store (newValue ? "true" : "false", notify);
}

void StringParameter::setFromString (const juce::String& newText, bool notify)
{
    store (newText, notify);
}

void StringParameter::setFromParameter (const Parameter& source, bool notify)
{
    store (source.toString(), notify);
}
