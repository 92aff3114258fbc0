#include "framework/core/BoolParameter.h"

#include "framework/core/TextNumbers.h"

namespace
{
bool readPair (const juce::String& text, const char* trueWord, const char* falseWord, bool& result) noexcept
{
    if (text == trueWord)
        result = true;
    else if (text == falseWord)
        result = false;
    else
        return false;

    return true;
}
} // namespace

BoolParameter::BoolParameter (int parameterId, const juce::String& parameterName, bool initial)
    : Parameter (parameterId, parameterName), value (initial ? 1 : 0)
{
}

std::unique_ptr<Parameter> BoolParameter::clone (int newId, const juce::String& newName) const
{
    return cloneAs<BoolParameter> (newId, newName);
}

float BoolParameter::getValue() const noexcept { return getBool() ? 1.0f : 0.0f; }
float BoolParameter::getNormalised() const noexcept { return getValue(); }
int BoolParameter::getInt() const noexcept { return getBool() ? 1 : 0; }
bool BoolParameter::getBool() const noexcept { return value.load (std::memory_order_relaxed) == 1; }

juce::String BoolParameter::toString() const
{
    return getWord (getBool());
}

void BoolParameter::setBool (bool newValue, bool notify)
{
    const int stored = newValue ? 1 : 0;

    if (value.exchange (stored, std::memory_order_relaxed) != stored)
        valueChanged (notify);
}

void BoolParameter::setValue (float newValue, bool notify)
{
    setBool (finiteOr (newValue, 0.0) != 0.0, notify);
}

void BoolParameter::setNormalised (float normalised, bool notify)
{
    setBool (finiteOr (normalised, 0.0) >= 0.5, notify);
}

void BoolParameter::setInt (int newValue, bool notify)
{
    setBool (newValue != 0, notify);
}

void BoolParameter::setFromString (const juce::String& text, bool notify)
{
    bool result = false;

    if (readOwnWord (text, result) || readBoolWord (text, result))
        setBool (result, notify);
    else
        setNormalised (static_cast<float> (parseFiniteDouble (text)), notify);
}

void BoolParameter::setFromParameter (const Parameter& source, bool notify)
{
    setBool (source.getBool(), notify);
}

bool BoolParameter::readBoolWord (const juce::String& text, bool& result) noexcept
{
    return readPair (text, "true", "false", result) || readPair (text, "1", "0", result)
        || readPair (text, "on", "off", result) || readPair (text, "yes", "no", result);
}

bool BoolParameter::readOwnWord (const juce::String&, bool&) const noexcept
{
    return false;
}

const char* BoolParameter::getWord (bool state) const noexcept
{
    return state ? "true" : "false";
}

//==============================================================================
std::unique_ptr<Parameter> StateParameter::clone (int newId, const juce::String& newName) const
{
    return cloneAs<StateParameter> (newId, newName);
}

bool StateParameter::readOwnWord (const juce::String& text, bool& result) const noexcept
{
    if (text.equalsIgnoreCase ("on"))
        result = true;
    else if (text.equalsIgnoreCase ("off"))
        result = false;
    else
        return false;

    return true;
}

const char* StateParameter::getWord (bool state) const noexcept
{
    return state ? "on" : "off";
}

std::unique_ptr<Parameter> AnswerParameter::clone (int newId, const juce::String& newName) const
{
    return cloneAs<AnswerParameter> (newId, newName);
}

bool AnswerParameter::readOwnWord (const juce::String& text, bool& result) const noexcept
{
    return readPair (text, "yes", "no", result);
}

const char* AnswerParameter::getWord (bool state) const noexcept
{
    return state ? "yes" : "no";
}

std::unique_ptr<Parameter> LogicParameter::clone (int newId, const juce::String& newName) const
{
    return cloneAs<LogicParameter> (newId, newName);
}

bool LogicParameter::readOwnWord (const juce::String& text, bool& result) const noexcept
{
    return readPair (text, "1", "0", result);
}

const char* LogicParameter::getWord (bool state) const noexcept
{
    return state ? "1" : "0";
}
