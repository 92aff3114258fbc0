#pragma once

#include <juce_core/juce_core.h>

#include <memory>

// What the processor asks of its persistent editor besides being a
// component: the steps of its start-up, and its elements of the user
// settings and of the state chunk. A persistent editor that is a plain
// component has none of them. Message thread.
class PersistentEditorHooks
{
public:
    virtual ~PersistentEditorHooks() = default;

    // Once, right after the editor was made: it reads its settings and
    // builds what depends on them.
    virtual void initialise() = 0;
    // Once, after initialise.
    virtual void postInitialise() {}
    // Starts the editor's own periodic duty; it runs until the editor goes.
    virtual void startRunning() = 0;

    // The editor's element of the user settings and of the state chunk.
    virtual std::unique_ptr<juce::XmlElement> createSettingsXml() = 0;
    virtual std::unique_ptr<juce::XmlElement> createStateXml() = 0;
    // True for an element that restoreStateXml reads (tag compared without regard to case).
    virtual bool isStateTag (const juce::XmlElement& element) const = 0;
    virtual void restoreStateXml (const juce::XmlElement& element) = 0;
};
