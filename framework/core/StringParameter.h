#pragma once

#include "framework/core/Parameter.h"
#include "framework/core/SharedReadLock.h"

// A text value (a preset name, for instance). The text has its own
// reader-writer lock; listeners are called after it is released.
class StringParameter : public Parameter
{
public:
    StringParameter (int id, const juce::String& name, const juce::String& text = {});

    std::unique_ptr<Parameter> clone (int id, const juce::String& name) const override;

    float getValue() const noexcept override;      // the text read as a number; 0 when none
    float getNormalised() const noexcept override; // the same, limited to 0..1
    int getInt() const noexcept override;          // leading integer; 0 when none
    bool getBool() const noexcept override;        // a true word ("true", "on", "yes", "1") or a non-zero number
    juce::String toString() const override;

    void setValue (float value, bool notify) override; // printed like a standard stream does
    void setNormalised (float normalised, bool notify) override;
    void setInt (int value, bool notify) override;
    void setBool (bool value, bool notify) override; // "true" or "false"
    void setFromString (const juce::String& text, bool notify) override;
    void setFromParameter (const Parameter& source, bool notify) override;

private:
    void store (const juce::String& newText, bool notify);

    SharedReadLock textLock; // readers never allocate; the writer only swaps the text
    juce::String text;
};
