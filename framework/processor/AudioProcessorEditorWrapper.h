#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

// What the processor hands the host binding when the host opens its editor
// window: a thin editor around the persistent editor, which the processor
// keeps for its whole life. Closing the window deletes this wrapper, which
// only hides and detaches the persistent editor, so every page, dialog and
// skin survives a close and a reopen.
//
// The wrapper follows the persistent editor's size: an editor that calls
// setSize on itself resizes the wrapper, and with it the host's window.
class AudioProcessorEditorWrapper final : public juce::AudioProcessorEditor
{
public:
    // Message thread. The persistent editor must outlive the wrapper.
    AudioProcessorEditorWrapper (juce::AudioProcessor& owner, juce::Component& persistentEditor);
    ~AudioProcessorEditorWrapper() override;

    // Message thread: the persistent editor changed its size.
    void childBoundsChanged (juce::Component* child) override;

private:
    juce::Component& editor;
};
