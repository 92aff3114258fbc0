#include "toolkit/skin/ControlFactory.h"

#include "toolkit/modulation/ModulationMatrixComponent.h"
#include "toolkit/skin/GFXAnimation.h"
#include "toolkit/skin/GFXButton.h"
#include "toolkit/skin/GFXDisplay.h"
#include "toolkit/skin/GFXKnob.h"
#include "toolkit/skin/GFXMultiStateButton.h"
#include "toolkit/skin/GFXPanel.h"
#include "toolkit/skin/GFXRocker.h"
#include "toolkit/skin/GFXToggleButton.h"
#include "toolkit/skin/ImageMidiKeyboard.h"
#include "toolkit/skin/NoteDisplay.h"
#include "toolkit/skin/NumericDisplay.h"
#include "toolkit/skin/PatternNumberDisplay.h"
#include "toolkit/skin/TextInput.h"

namespace
{
using Creator = SkinWidget (*) (const juce::String& name, SkinContext& context);

struct ControlKind
{
    const char* tag;
    Creator create;
};

// Tried in this order; tags are compared without regard to case.
const ControlKind controlKinds[] = {
    { "Knob", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXKnob> (name); } },
    { "Switch", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXSwitch> (name); } },
    { "Animation", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXAnimation> (name); } },
    { "Button", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXButton> (name); } },
    { "ToggleButton", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXToggleButton> (name); } },
    { "MultiStateButton", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXMultiStateButton> (name); } },
    { "Display", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXDisplay> (name); } },
    { "DisplayFloat", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXDisplayFloat> (name); } },
    { "Rocker", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXRocker> (name); } },
    { "Panel", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXPanel> (name); } },
    { "NumericDisplay", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<NumericDisplay> (name); } },
    { "NoteDisplay", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<NoteDisplay> (name); } },
    { "PatternNumberDisplay", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<PatternNumberDisplay> (name); } },
    { "MidiKeyboard", [] (const juce::String& name, SkinContext& context)
      { return makeSkinWidget<ImageMidiKeyboard> (name, context.getKeyboardState()); } },
    { "PitchBender", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<PitchBender> (name); } },
    { "ModWheel", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<ModWheel> (name); } },
    { "ModulationMatrix", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<ModulationMatrixComponent> (name); } },
    { "MidiChannelDisplay", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<GFXMidiChannelDisplay> (name); } },
    { "TextInput", [] (const juce::String& name, SkinContext&) { return makeSkinWidget<TextInput> (name); } },
};

const ControlKind* findKind (const juce::String& tag)
{
    for (auto& kind : controlKinds)
        if (tag.equalsIgnoreCase (kind.tag))
            return &kind;

    return nullptr;
}
} // namespace

namespace toolkit
{
SkinWidget createControl (const juce::String& tag, const juce::String& name, SkinReader& reader)
{
    const auto* kind = findKind (tag);

    if (kind == nullptr)
    {
        reader.report ("unknown control \"" + tag + "\": left out");
        return {};
    }

    return kind->create (name, reader.getContext());
}
} // namespace toolkit
