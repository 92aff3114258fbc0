#pragma once

#include "framework/core/Parameter.h"

// An on/off value. The kinds differ only in the words they write and read:
// Bool "true"/"false", State "on"/"off", Answer "yes"/"no", Logic "1"/"0".
class BoolParameter : public Parameter
{
public:
    BoolParameter (int id, const juce::String& name, bool value = false);

    std::unique_ptr<Parameter> clone (int id, const juce::String& name) const override;

    float getValue() const noexcept override;      // 1 or 0
    float getNormalised() const noexcept override; // 1 or 0
    int getInt() const noexcept override;
    bool getBool() const noexcept override;
    juce::String toString() const override;

    void setValue (float value, bool notify) override;           // value != 0
    void setNormalised (float normalised, bool notify) override; // normalised >= 0.5
    void setInt (int value, bool notify) override;
    void setBool (bool value, bool notify) override;
    void setFromString (const juce::String& text, bool notify) override;
    void setFromParameter (const Parameter& source, bool notify) override;

    // Any thread. Reads "true", "1", "on", "yes" and "false", "0", "off",
    // "no" exactly; false when the text is none of them.
    static bool readBoolWord (const juce::String& text, bool& result) noexcept;

protected:
    // The kind's own words; false when the text is none of them.
    virtual bool readOwnWord (const juce::String& text, bool& result) const noexcept;
    virtual const char* getWord (bool state) const noexcept;

    template <typename Kind>
    std::unique_ptr<Parameter> cloneAs (int id, const juce::String& name) const
    {
        return withSettingsOf (std::make_unique<Kind> (id, name, getBool()));
    }

private:
    std::atomic<int> value; // 0 or 1
};

// "on"/"off", read without regard to case.
class StateParameter : public BoolParameter
{
public:
    using BoolParameter::BoolParameter;
    std::unique_ptr<Parameter> clone (int id, const juce::String& name) const override;

protected:
    bool readOwnWord (const juce::String& text, bool& result) const noexcept override;
    const char* getWord (bool state) const noexcept override;
};

// "yes"/"no".
class AnswerParameter : public BoolParameter
{
public:
    using BoolParameter::BoolParameter;
    std::unique_ptr<Parameter> clone (int id, const juce::String& name) const override;

protected:
    bool readOwnWord (const juce::String& text, bool& result) const noexcept override;
    const char* getWord (bool state) const noexcept override;
};

// "1"/"0".
class LogicParameter : public BoolParameter
{
public:
    using BoolParameter::BoolParameter;
    std::unique_ptr<Parameter> clone (int id, const juce::String& name) const override;

protected:
    bool readOwnWord (const juce::String& text, bool& result) const noexcept override;
    const char* getWord (bool state) const noexcept override;
};
