#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <optional>

// Watches the component that a window of its own belongs to (the field an
// in-place editor floats over, the control that asked for a file dialog) and
// says, once, when that window has to go, so that no window outlives or
// drifts from the editor it serves:
//  - the component stops showing: the editor was hidden, or closed by the
//    host, whose window goes at once and sends no idle call afterwards;
//  - it is deleted, or taken out of its parents;
//  - for a window that must stay over it (whenGoneOrMoved), it moves: inside
//    the editor (a list scrolled), or on the screen with the host's window,
//    which JUCE does not see and the watch asks the X server for, ten times
//    a second, while idle calls run.
// Message thread.
class OwnerWatch final : private juce::ComponentListener,
                         private juce::Timer
{
public:
    enum class Ends
    {
        whenGone,
        whenGoneOrMoved
    };

    // `ended` is called once at most, and may delete the watch.
    OwnerWatch (juce::Component& owner, Ends ends, std::function<void()> ended);
    ~OwnerWatch() override;

    OwnerWatch (const OwnerWatch&) = delete;
    OwnerWatch& operator= (const OwnerWatch&) = delete;

private:
    void componentMovedOrResized (juce::Component&, bool wasMoved, bool wasResized) override;
    void componentVisibilityChanged (juce::Component&) override;
    void componentParentHierarchyChanged (juce::Component&) override;
    void componentBeingDeleted (juce::Component&) override;
    void timerCallback() override;

    // Ends the watch when the owner is gone or, as asked, has moved; the
    // screen is only asked on the timer.
    void check (bool askTheServer);
    bool hasMoved (bool askTheServer) const;
    void end();

    juce::Array<juce::Component*> ownerAndParents() const;
    void listenTo (const juce::Array<juce::Component*>& components);
    void forgetChain();
    void stopListening();

    juce::Component::SafePointer<juce::Component> owner;
    juce::Array<juce::Component::SafePointer<juce::Component>> watched; // the owner and its parents
    const Ends ends;
    // Off screen from the start (painted into an image), it is not gone when it does not show.
    const bool ownerWasShowing;
    // Where the owner stood when the watch began: its top-level component,
    // its place in it (pixels), and that component's window on the screen.
    juce::Component* topLevel = nullptr;
    juce::Rectangle<int> placeInTopLevel;
    std::optional<juce::Point<int>> windowOnScreen;
    std::function<void()> ended;
};
