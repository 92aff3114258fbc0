#pragma once

#include "toolkit/widgets/CheckBox_V2.h"
#include "toolkit/widgets/PathComponent.h"

// A choice between a built-in resource and a file of the user's: a check box
// offering the default (ticked: the default is used) with the path of the
// user's file beside it, disabled while the box is ticked. The owning page
// labels the box, may bind it to a parameter, and reads the tick and the
// path when it stores its settings. Message thread.
class DefaultResourceCheckBox : public juce::Component,
                                public PathComponent::Listener,
                                public juce::Button::Listener
{
public:
    class Listener
    {
    public:
        virtual ~Listener() = default;

        // Message thread: the user ticked or unticked the box, or the path changed.
        virtual void defaultResourceChanged (DefaultResourceCheckBox* checkBox) = 0;
    };

    DefaultResourceCheckBox();
    ~DefaultResourceCheckBox() override;

    CheckBox_V2& getCheckBox() noexcept;
    PathComponent& getPathComponent() noexcept { return pathComponent; }

    void addListener (Listener* listener);
    void removeListener (Listener* listener);

    void resized() override;
    // Message thread: a path chosen by the user.
    void pathChanged (PathComponent* changed) override;
    // Message thread: the user clicked the check box.
    void buttonClicked (juce::Button* button) override;

private:
    // The path follows the tick however it changes: the user, the page or a
    // bound parameter.
    class DefaultCheckBox : public CheckBox_V2
    {
    public:
        explicit DefaultCheckBox (DefaultResourceCheckBox& owningChooser) : owner (owningChooser) {}

        void buttonStateChanged() override
        {
            CheckBox_V2::buttonStateChanged();
            owner.updatePathEnablement();
        }

    private:
        DefaultResourceCheckBox& owner;
    };

    void updatePathEnablement();
    void notifyListeners();

    juce::ListenerList<Listener> listeners;
    PathComponent pathComponent;
    DefaultCheckBox checkBox { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DefaultResourceCheckBox)
};
