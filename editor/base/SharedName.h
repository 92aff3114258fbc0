#pragma once

#include <juce_core/juce_core.h>

#include <atomic>
#include <memory>

// A name that one thread may replace while another reads it: each value is
// a string of its own, swapped in whole by atomic pointer exchange, so a
// reader always gets one complete value.
class SharedName
{
public:
    SharedName() = default;
    SharedName (const SharedName&) = delete;
    SharedName& operator= (const SharedName&) = delete;

    // Any thread.
    juce::String get() const
    {
        const auto held = std::atomic_load (&name);
        return held != nullptr ? *held : juce::String();
    }

    // Any thread.
    void set (const juce::String& newName) { std::atomic_store (&name, std::make_shared<const juce::String> (newName)); }

private:
    std::shared_ptr<const juce::String> name;
};
