#pragma once

#include "framework/core/Parameter.h"

// A whole number in [minimum, maximum]; the range may change later.
class IntParameter : public Parameter
{
public:
    // The value is clamped into the range; a range given upside down is
    // turned round.
    IntParameter (int id, const juce::String& name, int minimum, int maximum, int value);

    int getMinimum() const noexcept { return minimum.load (std::memory_order_relaxed); }
    int getMaximum() const noexcept { return maximum.load (std::memory_order_relaxed); }

    // Message thread. A minimum above the maximum, or a maximum below the
    // minimum, is refused. The value is clamped into the new range, and every
    // listener hears of it when it moved.
    void setMinimum (int newMinimum);
    void setMaximum (int newMaximum);

    std::unique_ptr<Parameter> clone (int id, const juce::String& name) const override;

    float getValue() const noexcept override;
    float getNormalised() const noexcept override;
    int getInt() const noexcept override;
    bool getBool() const noexcept override; // value differs from the minimum
    juce::String toString() const override;

    void setValue (float value, bool notify) override;      // cut toward zero
    void setNormalised (float normalised, bool notify) override; // rounded to the nearest step
    void setInt (int value, bool notify) override;
    void setBool (bool value, bool notify) override;
    void setFromString (const juce::String& text, bool notify) override; // leading integer
    void setFromParameter (const Parameter& source, bool notify) override;

protected:
    void store (int newValue, bool notify);

private:
    void clampIntoRange();

    std::atomic<int> minimum, maximum, value;
};

// A choice among named items; the value is the item's index.
class EnumParameter : public IntParameter
{
public:
    // itemsText holds the items separated by ";". The value starts at 0.
    EnumParameter (int id, const juce::String& name, const juce::String& itemsText);

    // Message thread. Replaces the items when the text differs and sets the
    // range to 0 .. item count - 1.
    void setItems (const juce::String& itemsText);

    juce::StringArray getItems() const;
    juce::String getItemsText() const;

    std::unique_ptr<Parameter> clone (int id, const juce::String& name) const override;

    // The item at the value; empty text when there is none.
    juce::String toString() const override;

    // The first item equal to the text (case-sensitive); otherwise the text
    // read as a number and applied as a normalised value.
    void setFromString (const juce::String& text, bool notify) override;

private:
    juce::CriticalSection itemsLock;
    juce::StringArray items;
    juce::String itemsSource;
};

// A MIDI note number 0..127, shown and read as a note name ("C-5").
class NoteParameter : public IntParameter
{
public:
    NoteParameter (int id, const juce::String& name, int noteNumber);

    std::unique_ptr<Parameter> clone (int id, const juce::String& name) const override;

    juce::String toString() const override;

    // A note name gives its number; other text is read as a number and
    // applied as a normalised value.
    void setFromString (const juce::String& text, bool notify) override;
};
