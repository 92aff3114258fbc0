#include "framework/core/FloatParameter.h"

#include "framework/core/TextNumbers.h"

namespace
{
float finiteBound (float bound, float fallback) noexcept
{
    return std::isfinite (bound) ? bound : fallback;
}
} // namespace

FloatParameter::FloatParameter (int parameterId, const juce::String& parameterName,
                                float lowest, float highest, float defaultValue)
    : Parameter (parameterId, parameterName),
      minimum (juce::jmin (finiteBound (lowest, 0.0f), finiteBound (highest, 1.0f))),
      maximum (juce::jmax (finiteBound (lowest, 0.0f), finiteBound (highest, 1.0f))),
      value (clampToRange (static_cast<float> (finiteOr (defaultValue, minimum)), minimum, maximum))
{
}

std::unique_ptr<Parameter> FloatParameter::clone (int newId, const juce::String& newName) const
{
    return withSettingsOf (std::make_unique<FloatParameter> (newId, newName, minimum, maximum, getValue()));
}

float FloatParameter::getValue() const noexcept
{
    return value.load (std::memory_order_relaxed);
}

float FloatParameter::getNormalised() const noexcept
{
    const double low = minimum, range = static_cast<double> (maximum) - low;
    return range > 0.0 ? static_cast<float> ((static_cast<double> (getValue()) - low) / range) : 0.0f;
}

int FloatParameter::getInt() const noexcept
{
    return truncateToInt (getValue());
}

bool FloatParameter::getBool() const noexcept
{
    // Upper half of the range, the midpoint included.
    const double v = getValue(), low = minimum, high = maximum;
    return v - low >= high - v;
}

juce::String FloatParameter::toString() const
{
    return juce::String (getValue(), 9);
}

void FloatParameter::store (double newValue, bool notify)
{
    const float clamped = clampToRange (toFiniteFloat (finiteOr (newValue, minimum)), minimum, maximum);

    if (value.exchange (clamped, std::memory_order_relaxed) != clamped)
        valueChanged (notify);
}

void FloatParameter::setValue (float newValue, bool notify)
{
    store (newValue, notify);
}

void FloatParameter::setNormalised (float normalised, bool notify)
{
    const double n = clampToRange (finiteOr (normalised, 0.0), 0.0, 1.0);
    const double low = minimum, high = maximum;
    store (low + (high - low) * n, notify);
}

void FloatParameter::setInt (int newValue, bool notify)
{
    store (newValue, notify);
}

void FloatParameter::setBool (bool newValue, bool notify)
{
    store (newValue ? maximum : minimum, notify);
}

void FloatParameter::setFromString (const juce::String& text, bool notify)
{
    store (parseFiniteDouble (text), notify);
}

void FloatParameter::setFromParameter (const Parameter& source, bool notify)
{
    store (source.getValue(), notify);
}
