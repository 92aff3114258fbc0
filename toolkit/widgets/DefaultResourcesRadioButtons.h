#pragma once

#include "toolkit/widgets/PathComponent.h"
#include "toolkit/widgets/RadioButtons_V2.h"

// A radio group choosing between built-in resources and, with its last
// button, a file of the user's, whose path stands to the right of that
// button and is enabled only while it is selected. A new path counts as a
// change of the group's setting: the group's listeners hear of it. Message
// thread.
class DefaultResourcesRadioButtons : public RadioButtons_V2,
                                     public PathComponent::Listener
{
public:
    static constexpr int pathGap = 6;     // pixels between the last button and the path
    static constexpr int pathHeight = 20; // pixels

    DefaultResourcesRadioButtons (const juce::String& title, const juce::StringArray& labels);
    ~DefaultResourcesRadioButtons() override;

    PathComponent& getPathComponent() noexcept { return pathComponent; }

    void resized() override;
    void childBoundsChanged (juce::Component* child) override;
    void selectionChanged() override;
    // Message thread: a path chosen by the user.
    void pathChanged (PathComponent* changed) override;

private:
    PathComponent pathComponent;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DefaultResourcesRadioButtons)
};
