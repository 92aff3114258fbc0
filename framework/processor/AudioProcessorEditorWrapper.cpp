#include "framework/processor/AudioProcessorEditorWrapper.h"

AudioProcessorEditorWrapper::AudioProcessorEditorWrapper (juce::AudioProcessor& owner, juce::Component& persistentEditor)
    : juce::AudioProcessorEditor (owner), editor (persistentEditor)
{
    editor.setTopLeftPosition (0, 0);
    setSize (editor.getWidth(), editor.getHeight());
    addAndMakeVisible (editor);
}

AudioProcessorEditorWrapper::~AudioProcessorEditorWrapper()
{
    editor.setVisible (false);
    removeChildComponent (&editor);
}

void AudioProcessorEditorWrapper::childBoundsChanged (juce::Component* child)
{
    if (child == &editor)
        setSize (editor.getWidth(), editor.getHeight());
}
