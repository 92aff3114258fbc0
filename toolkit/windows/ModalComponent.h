#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A dialog drawn inside the editor rather than as a desktop window: the editor
// lives in a host window it does not own. When shown, the component moves into
// a covering window laid over the whole of the nearest ModalComponent::Desktop
// (the editor), which swallows the mouse for everything beneath and can lay a
// faint white veil over it. Nothing here blocks: showing returns at once and
// the dialog reports back through its own callbacks. Message thread only.
class ModalComponent : public juce::Component
{
public:
    // Implemented by the component that hosts modal components (the editor).
    class Desktop
    {
    public:
        virtual ~Desktop() = default;

        // Message thread. The area, in the desktop component's own
        // coordinates, in which modal components are centred.
        virtual juce::Rectangle<int> getModalArea() = 0;
    };

    enum Placement
    {
        centredInModalArea = 0,
        atStoredPosition = 1
    };

    explicit ModalComponent (const juce::String& name = {});
    ~ModalComponent() override;

    // Covers the nearest Desktop and shows the component centred in its modal
    // area, then gives it the keyboard focus when it wants it. Without a
    // Desktop among its ancestors it is simply made visible where it is.
    // A tooltip showing over the editor goes first.
    void show();

    // As show, placed by the given mode; in atStoredPosition the position is
    // given in the reference component's coordinates (the covering window's
    // when there is no reference). Takes no keyboard focus.
    void showAt (int placementMode, juce::Point<int> position, juce::Component* reference);

    // Hides the covering window and the component; nothing is deleted.
    void hide();

    // The covering window's bounds (the whole Desktop while attached).
    juce::Rectangle<int> getCoveringBounds() const;

    // True when the veil is drawn over the Desktop while shown.
    virtual bool shouldDimBackground() const { return false; }

    // Places the component inside its covering window.
    virtual void updatePosition();

    void resized() override;
    void parentHierarchyChanged() override;

protected:
    bool isInCoveringWindow() const;

private:
    class CoveringWindow : public juce::Component
    {
    public:
        explicit CoveringWindow (ModalComponent& modalOwner);

        void parentHierarchyChanged() override;
        void parentSizeChanged() override;
        void resized() override;
        void paint (juce::Graphics& g) override;

    private:
        void fillParent();

        ModalComponent& owner;
    };

    void attachToDesktop();
    void detachFromDesktop();
    void placeAt (int placementMode, juce::Point<int> position);

    int placement = centredInModalArea;
    int positionX = 0, positionY = 0;
    CoveringWindow coveringWindow { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ModalComponent)
};
