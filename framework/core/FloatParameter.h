#pragma once

#include "framework/core/Parameter.h"

// A continuous value in [minimum, maximum], stored as a 32-bit float.
class FloatParameter : public Parameter
{
public:
    // The default is clamped into the range; a range given upside down is
    // turned round.
    FloatParameter (int id, const juce::String& name, float minimum, float maximum, float defaultValue);

    float getMinimum() const noexcept { return minimum; }
    float getMaximum() const noexcept { return maximum; }

    std::unique_ptr<Parameter> clone (int id, const juce::String& name) const override;

    float getValue() const noexcept override;
    float getNormalised() const noexcept override;
    int getInt() const noexcept override;
    bool getBool() const noexcept override;
    juce::String toString() const override; // 9 decimal places

    void setValue (float value, bool notify) override;
    void setNormalised (float normalised, bool notify) override;
    void setInt (int value, bool notify) override;
    void setBool (bool value, bool notify) override;
    void setFromString (const juce::String& text, bool notify) override;
    void setFromParameter (const Parameter& source, bool notify) override;

private:
    void store (double newValue, bool notify);

    const float minimum, maximum;
    std::atomic<float> value;
};
