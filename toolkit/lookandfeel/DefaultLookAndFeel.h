#pragma once

#include "toolkit/windows/HardLabel.h"
#include "toolkit/windows/PanelComponent.h"
#include "toolkit/windows/WindowComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class TextButtonEx;

// The one look and feel of every window, dialog and standard widget of the
// editor: grey window bodies, black title bars with white text, an orange
// accent, the embedded font family for all text, its own scroll bars, tabs,
// tooltips and slider thumbs, and the factory of icon and window buttons.
// The editor makes one and sets it on its top component; toolkit classes
// test for it and keep JUCE's own drawing under any other look and feel.
// Message thread.
class DefaultLookAndFeel : public juce::LookAndFeel_V3,
                           public WindowComponent::LookAndFeelMethods,
                           public HardLabel::LookAndFeelMethods,
                           public PanelComponent::LookAndFeelMethods
{
public:
    enum ColourIds
    {
        textColourId = 0x00000000,
        secondaryTextColourId = 0x00000001,
        paperColourId = 0x00000002,
        linkColourId = 0x00000003
    };

    DefaultLookAndFeel();
    ~DefaultLookAndFeel() override;

    // Every font, whatever family it names ("Tahoma" in the skins), draws in
    // the embedded family where JUCE asks the look and feel for a typeface.
    juce::Typeface::Ptr getTypefaceForFont (const juce::Font& font) override;

    //==========================================================================
    // JUCE drawing
    bool areScrollbarButtonsVisible() override;
    void drawScrollbarButton (juce::Graphics&, juce::ScrollBar&, int width, int height, int buttonDirection,
                              bool isScrollbarVertical, bool isMouseOverButton, bool isButtonDown) override;
    void drawScrollbar (juce::Graphics&, juce::ScrollBar&, int x, int y, int width, int height,
                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                        bool isMouseOver, bool isMouseDown) override;
    int getDefaultScrollbarWidth() override;
    int getScrollbarButtonSize (juce::ScrollBar&) override;

    juce::Font getTextButtonFont (juce::TextButton&, int buttonHeight) override;
    juce::Font getComboBoxFont (juce::ComboBox&) override;
    juce::Font getLabelFont (juce::Label&) override;

    void drawDrawableButton (juce::Graphics&, juce::DrawableButton&, bool isMouseOverButton, bool isButtonDown) override;
    void drawImageButton (juce::Graphics&, juce::Image*, int imageX, int imageY, int imageW, int imageH,
                          const juce::Colour& overlayColour, float imageOpacity, juce::ImageButton&) override;

    void fillTextEditorBackground (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;
    void positionComboBoxText (juce::ComboBox&, juce::Label&) override;

    void drawLinearSliderBackground (juce::Graphics&, int x, int y, int width, int height,
                                     float sliderPos, float minSliderPos, float maxSliderPos,
                                     juce::Slider::SliderStyle, juce::Slider&) override;
    void drawLinearSliderThumb (juce::Graphics&, int x, int y, int width, int height,
                                float sliderPos, float minSliderPos, float maxSliderPos,
                                juce::Slider::SliderStyle, juce::Slider&) override;
    int getSliderThumbRadius (juce::Slider&) override;

    void drawCornerResizer (juce::Graphics&, int w, int h, bool isMouseOver, bool isMouseDragging) override;
    void drawDocumentWindowTitleBar (juce::DocumentWindow&, juce::Graphics&, int w, int h,
                                     int titleSpaceX, int titleSpaceW, const juce::Image* icon,
                                     bool drawTitleTextOnLeft) override;
    void positionDocumentWindowButtons (juce::DocumentWindow&, int titleBarX, int titleBarY, int titleBarW, int titleBarH,
                                        juce::Button* minimiseButton, juce::Button* maximiseButton,
                                        juce::Button* closeButton, bool positionTitleBarButtonsOnLeft) override;

    juce::Rectangle<int> getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                           juce::Rectangle<int> parentArea) override;
    void drawTooltip (juce::Graphics&, const juce::String& text, int width, int height) override;

    int getTabButtonSpaceAroundImage() override;
    int getTabButtonOverlap (int tabDepth) override;
    int getTabButtonBestWidth (juce::TabBarButton&, int tabDepth) override;
    void drawTabButton (juce::TabBarButton&, juce::Graphics&, bool isMouseOver, bool isMouseDown) override;
    void createTabButtonShape (juce::TabBarButton&, juce::Path&, bool isMouseOver, bool isMouseDown) override;
    void fillTabButtonShape (juce::TabBarButton&, juce::Graphics&, const juce::Path&, bool isMouseOver, bool isMouseDown) override;
    void drawTabButtonText (juce::TabBarButton&, juce::Graphics&, bool isMouseOver, bool isMouseDown) override;
    void drawTabbedButtonBarBackground (juce::TabbedButtonBar&, juce::Graphics&) override;
    void drawTabAreaBehindFrontButton (juce::TabbedButtonBar&, juce::Graphics&, int w, int h) override;

    void drawProgressBar (juce::Graphics&, juce::ProgressBar&, int width, int height, double progress,
                          const juce::String& textToShow) override;
    void drawLevelMeter (juce::Graphics&, int width, int height, float level) override;
    void drawFileBrowserRow (juce::Graphics&, int width, int height, const juce::File& file,
                             const juce::String& filename, juce::Image* icon,
                             const juce::String& fileSizeDescription, const juce::String& fileTimeDescription,
                             bool isDirectory, bool isItemSelected, int itemIndex,
                             juce::DirectoryContentsDisplayComponent&) override;

    //==========================================================================
    // The toolkit's own
    // A small grey triangle: pointing right when closed, down when open.
    virtual void drawDisclosureTriangle (juce::Graphics&, int x, int y, int width, int height, bool pointsRight);

    // Regular 13: labels, buttons, combo boxes, menus, alerts, path choosers.
    virtual juce::Font getRegularFont();
    // Bold 13.
    virtual juce::Font getBoldFont();
    virtual juce::Font getTabFont();
    virtual int getTabBarDepth();          // pixels
    virtual int getTabIndent();            // pixels: tab bar edge and page content margin
    virtual juce::Font getStatusBarFont();
    virtual int getStatusBarHeight();      // pixels
    virtual int getDefaultIconStyle();
    virtual int getDefaultWindowButtonStyle();

    // An image button showing the icon (normal; mouse over and down), or
    // null for an id without an icon. Style 2 is the light set for dark
    // backgrounds; any other style the dark set.
    virtual std::unique_ptr<juce::ImageButton> createIconButton (const juce::String& name, int iconId, int style);
    std::unique_ptr<juce::ImageButton> createIconButton (const juce::String& name, int iconId);
    // False (button unchanged) for an id without an icon.
    virtual bool setIconButtonImages (juce::ImageButton& button, int iconId, int style);

    // A flat text button sized by the window-button images of the style.
    virtual std::unique_ptr<TextButtonEx> createWindowButton (const juce::String& name, int style);
    std::unique_ptr<TextButtonEx> createWindowButton (const juce::String& name);
    // Styles 0 and 1 share one set, style 2 has its own; other styles leave
    // the button unchanged.
    virtual void setWindowButtonImages (TextButtonEx& button, int style);

    //==========================================================================
    juce::Font getWindowTitleFont (WindowComponent& window) override;
    void setCloseButtonImages (juce::DrawableButton& closeButton) override;
    void drawWindow (juce::Graphics& g, WindowComponent& window) override;
    void drawHardLabel (juce::Graphics& g, HardLabel& label) override;
    juce::Font getPanelTitleFont (PanelComponent& panel) override;

private:
    void setColourTable();
    // The scroll-bar arrow of a direction (0 up, 1 right, 2 down, 3 left) in
    // its 13 x 13 box.
    const juce::Path& getArrowPath (int direction) const;

    juce::Path arrows[4]; // up, right, down, left
    juce::Font regularFont, boldFont;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DefaultLookAndFeel)
};
