#pragma once

#include "toolkit/windows/ModalComponent.h"

#include <memory>

// A titled, bordered window on the modal mechanism: a title bar with an icon
// at its left and a close button at its right, a border and a content area.
// The close button hides the window; its owner deletes it. Drawn by the
// toolkit's look and feel (nothing is drawn under another one). Message thread.
class WindowComponent : public ModalComponent,
                        public juce::Button::Listener
{
public:
    enum ColourIds
    {
        backgroundColourId = 0x0F001000,
        frameColourId = 0x0F001001,
        titleTextColourId = 0x0F001002
    };

    enum FrameStyle
    {
        squareFrame = 0,
        roundedFrame = 1
    };

    // Implemented by the toolkit's look and feel.
    class LookAndFeelMethods
    {
    public:
        virtual ~LookAndFeelMethods() = default;

        virtual juce::Font getWindowTitleFont (WindowComponent& window) = 0;
        // Sets the close button's normal and mouse-over drawings.
        virtual void setCloseButtonImages (juce::DrawableButton& closeButton) = 0;
        virtual void drawWindow (juce::Graphics& g, WindowComponent& window) = 0;
    };

    explicit WindowComponent (const juce::String& name = {});
    ~WindowComponent() override;

    void setTitle (const juce::String& newTitle);
    const juce::String& getTitle() const noexcept { return title; }

    // Replaces (and deletes) the title icon; null removes it.
    void setTitleIcon (std::unique_ptr<juce::Drawable> icon);

    // The frame's options; each lays the window out again.
    void setFrameStyle (int newStyle);
    void setBordered (bool shouldBeBordered);
    void setTitleBarShown (bool shouldShowTitleBar);
    void setCloseButtonShown (bool shouldShowCloseButton);
    void setTranslucent (bool shouldBeTranslucent);

    int getFrameStyle() const noexcept { return frameStyle; }
    bool isBordered() const noexcept { return bordered; }
    bool isTitleBarShown() const noexcept { return hasTitleBar; }
    int getTitleBarHeight() const noexcept { return titleBarHeight; }
    int getBorderThickness() const noexcept { return borderThickness; }
    const juce::Font& getTitleFont() const noexcept { return titleFont; }

    // Shows the close button only when both the title bar and the close
    // button are on, then lays out again.
    void updateTitleBar();

    juce::Rectangle<int> getContentArea() const noexcept { return contentArea; }
    juce::Rectangle<int> getTitleArea() const noexcept { return titleArea; }
    juce::Rectangle<int> getTitleTextArea() const noexcept { return titleTextArea; }
    juce::DrawableButton& getCloseButton() noexcept { return closeButton; }

    // Sizes the window so that its content area gets this size (at least
    // 250 x 120 for the whole window); the position stays.
    virtual void setContentSize (int width, int height);

    // Escape hides a window that asks for it, as its close button does; such
    // a window takes the keyboard focus when shown, so that the key reaches
    // it from whichever of its parts holds the focus.
    void setClosedByEscape (bool shouldBeClosedByEscape);

    // Message thread: the close button hides the window.
    void buttonClicked (juce::Button* button) override;
    bool keyPressed (const juce::KeyPress& key) override;

    void resized() override;
    void paint (juce::Graphics& g) override;
    void lookAndFeelChanged() override;

private:
    void updateOpacity();

    int frameStyle = squareFrame;
    bool bordered = true;
    bool hasTitleBar = true;
    bool hasCloseButton = true;
    bool translucent = false;
    bool closedByEscape = false;
    int titleBarHeight = 31;
    int borderThickness = 3;
    juce::String title;
    juce::Font titleFont;
    juce::DrawableButton closeButton { "CloseButton", juce::DrawableButton::ImageFitted };
    std::unique_ptr<juce::Drawable> titleIcon;
    int marginTop = 6, marginLeft = 6, marginBottom = 9, marginRight = 6;
    juce::Rectangle<int> titleArea, titleTextArea, contentArea;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (WindowComponent)
};
