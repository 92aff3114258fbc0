#include "framework/core/IntParameter.h"

#include "framework/core/NoteNames.h"
#include "framework/core/TextNumbers.h"

#include <cmath>

IntParameter::IntParameter (int parameterId, const juce::String& parameterName, int lowest, int highest, int initial)
    : Parameter (parameterId, parameterName),
      minimum (juce::jmin (lowest, highest)),
      maximum (juce::jmax (lowest, highest)),
      value (clampToRange (initial, juce::jmin (lowest, highest), juce::jmax (lowest, highest)))
{
}

void IntParameter::setMinimum (int newMinimum)
{
    if (newMinimum > getMaximum() || newMinimum == getMinimum())
        return;

    minimum.store (newMinimum);
    clampIntoRange();
}

void IntParameter::setMaximum (int newMaximum)
{
    if (newMaximum < getMinimum() || newMaximum == getMaximum())
        return;

    maximum.store (newMaximum);
    clampIntoRange();
}

void IntParameter::clampIntoRange()
{
    store (getInt(), true);
}

std::unique_ptr<Parameter> IntParameter::clone (int newId, const juce::String& newName) const
{
    return withSettingsOf (std::make_unique<IntParameter> (newId, newName, getMinimum(), getMaximum(), getInt()));
}

float IntParameter::getValue() const noexcept
{
    return static_cast<float> (getInt());
}

float IntParameter::getNormalised() const noexcept
{
    const double low = getMinimum(), range = static_cast<double> (getMaximum()) - low;
    return range > 0.0 ? static_cast<float> ((getInt() - low) / range) : 0.0f;
}

int IntParameter::getInt() const noexcept
{
    return value.load (std::memory_order_relaxed);
}

bool IntParameter::getBool() const noexcept
{
    return getInt() != getMinimum();
}

juce::String IntParameter::toString() const
{
    return juce::String (getInt());
}

void IntParameter::store (int newValue, bool notify)
{
    const int clamped = clampToRange (newValue, getMinimum(), getMaximum());

    if (value.exchange (clamped, std::memory_order_relaxed) != clamped)
        valueChanged (notify);
}

void IntParameter::setValue (float newValue, bool notify)
{
    store (truncateToInt (finiteOr (newValue, getMinimum())), notify);
}

void IntParameter::setNormalised (float normalised, bool notify)
{
    const double n = clampToRange (finiteOr (normalised, 0.0), 0.0, 1.0);
    const double low = getMinimum(), range = static_cast<double> (getMaximum()) - low;
    store (truncateToInt (low + std::floor (range * n + 0.5)), notify);
}

void IntParameter::setInt (int newValue, bool notify)
{
    store (newValue, notify);
}

void IntParameter::setBool (bool newValue, bool notify)
{
    store (newValue ? getMaximum() : getMinimum(), notify);
}

void IntParameter::setFromString (const juce::String& text, bool notify)
{
    store (parseLeadingInt (text), notify);
}

void IntParameter::setFromParameter (const Parameter& source, bool notify)
{
    store (source.getInt(), notify);
}

//==============================================================================
EnumParameter::EnumParameter (int parameterId, const juce::String& parameterName, const juce::String& itemsText)
    : IntParameter (parameterId, parameterName, 0, 0, 0)
{
    setItems (itemsText);
}

void EnumParameter::setItems (const juce::String& itemsText)
{
    int count = 0;
    {
        const juce::ScopedLock sl (itemsLock);

        if (itemsText == itemsSource && ! items.isEmpty())
            return;

        itemsSource = itemsText;
        items = juce::StringArray::fromTokens (itemsText, ";", {});
        count = items.size();
    }

    setMinimum (0);
    setMaximum (juce::jmax (0, count - 1));
}

juce::StringArray EnumParameter::getItems() const
{
    const juce::ScopedLock sl (itemsLock);
    return items;
}

juce::String EnumParameter::getItemsText() const
{
    const juce::ScopedLock sl (itemsLock);
    return itemsSource;
}

std::unique_ptr<Parameter> EnumParameter::clone (int newId, const juce::String& newName) const
{
    auto copy = std::make_unique<EnumParameter> (newId, newName, getItemsText());
    copy->setInt (getInt(), false);
    return withSettingsOf (std::move (copy));
}

juce::String EnumParameter::toString() const
{
    const int index = getInt();
    const juce::ScopedLock sl (itemsLock);
    return juce::isPositiveAndBelow (index, items.size()) ? items[index] : juce::String();
}

void EnumParameter::setFromString (const juce::String& text, bool notify)
{
    int index = -1;
    {
        const juce::ScopedLock sl (itemsLock);
        index = items.indexOf (text, false);
    }

    if (index >= 0)
        setInt (index, notify);
    else
        setNormalised (static_cast<float> (parseFiniteDouble (text)), notify);
}

//==============================================================================
NoteParameter::NoteParameter (int parameterId, const juce::String& parameterName, int noteNumber)
    : IntParameter (parameterId, parameterName, 0, highestNoteNumber, noteNumber)
{
}

std::unique_ptr<Parameter> NoteParameter::clone (int newId, const juce::String& newName) const
{
    auto copy = std::make_unique<NoteParameter> (newId, newName, getInt());
    copy->setMinimum (getMinimum());
    copy->setMaximum (getMaximum());
    copy->setInt (getInt(), false);
    return withSettingsOf (std::move (copy));
}

juce::String NoteParameter::toString() const
{
    return noteNumberToName (getInt());
}

void NoteParameter::setFromString (const juce::String& text, bool notify)
{
    const int noteNumber = noteNameToNumber (text);

    if (noteNumber >= 0)
        setInt (noteNumber, notify);
    else
        setNormalised (static_cast<float> (parseFiniteDouble (text)), notify);
}
