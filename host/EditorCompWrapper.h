#pragma once
// The host component: what the binding places in the host's window. It holds
// the processor's editor as its only child, at 0,0, and takes the editor's
// size whenever the editor changes it, asking the host to size its window
// to match.
#include "host/JuceVSTWrapper.h"

namespace host
{
class JuceVSTWrapper::EditorCompWrapper final : public juce::Component
{
public:
    // Message thread. Takes ownership of the editor.
    EditorCompWrapper(JuceVSTWrapper& owner, std::unique_ptr<juce::AudioProcessorEditor> editor);

    juce::AudioProcessorEditor* getEditor() const noexcept { return editor.get(); }

    // Message thread.
    void resized() override;
    void childBoundsChanged(juce::Component* child) override;

private:
    JuceVSTWrapper& owner;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};
} // namespace host
