#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A titled group frame around one content component (not owned). With
// auto-size on it takes the size its title and content need, and follows the
// content's size. Message thread.
class PanelComponent : public juce::Component
{
public:
    enum ColourIds
    {
        frameColourId = 0x0F005000
    };

    // Implemented by the toolkit's look and feel.
    class LookAndFeelMethods
    {
    public:
        virtual ~LookAndFeelMethods() = default;
        virtual juce::Font getPanelTitleFont (PanelComponent& panel) = 0;
    };

    explicit PanelComponent (const juce::String& title = {});
    ~PanelComponent() override;

    void setTitle (const juce::String& newTitle);
    const juce::String& getTitle() const noexcept { return title; }

    // Replaces the content component (the previous one is removed, not
    // deleted) and lays out.
    void setContentComponent (juce::Component* content, bool autoSize);
    juce::Component* getContentComponent() const noexcept { return contentComponent.getComponent(); }

    // Sets the size; a negative width or height takes the automatic one.
    void setPanelSize (int width, int height);

    // The area for the content: below the title, 8 pixels in from the frame.
    juce::Rectangle<int> getContentArea() const;

    void paint (juce::Graphics& g) override;
    void childBoundsChanged (juce::Component* child) override;
    void lookAndFeelChanged() override;

private:
    int getTitleHeight() const { return (int) titleFont.getHeight(); }
    int getAutomaticWidth() const;
    int getAutomaticHeight() const;
    void layout();

    juce::Component::SafePointer<juce::Component> contentComponent;
    bool autoSize = false;
    juce::String title;
    juce::Font titleFont;
    bool layingOut = false; // moving the content reports its bounds back

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PanelComponent)
};
