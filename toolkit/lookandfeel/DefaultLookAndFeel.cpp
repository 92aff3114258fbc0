#include "toolkit/lookandfeel/DefaultLookAndFeel.h"

#include "toolkit/lookandfeel/ToolkitArtwork.h"
#include "toolkit/lookandfeel/ToolkitDrawing.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/windows/StatusBar.h"
#include "toolkit/windows/TabbedComponentEx.h"
#include "toolkit/windows/TextButtonEx.h"

namespace
{
const juce::Colour grey (0xFF808080);

// The raised, softly shaded face of slider thumbs (the base's button face).
void fillRaisedShape (juce::Graphics& g, const juce::Path& outline, juce::Colour baseColour, float height)
{
    const float brightness = baseColour.getBrightness();
    const float alpha = baseColour.getFloatAlpha();

    g.setGradientFill (juce::ColourGradient::vertical (baseColour.brighter (0.2f), 0.0f, baseColour.darker (0.25f), height));
    g.fillPath (outline);
    g.setColour (juce::Colours::white.withAlpha (0.4f * alpha * brightness * brightness));
    g.strokePath (outline, juce::PathStrokeType (1.0f),
                  juce::AffineTransform::translation (0.0f, 1.0f).scaled (1.0f, (height - 1.6f) / height));
    g.setColour (juce::Colours::black.withAlpha (0.4f * alpha));
    g.strokePath (outline, juce::PathStrokeType (1.0f));
}
} // namespace

DefaultLookAndFeel::DefaultLookAndFeel()
    : regularFont (toolkit::makeFont (13.0f)),
      boldFont (toolkit::makeFont (13.0f, true))
{
    setColourTable();

    // The up arrow in a 13 x 13 box; each further direction is a quarter
    // turn clockwise about the box centre.
    arrows[0].startNewSubPath (4.0f, 11.0f);
    arrows[0].lineTo (4.0f, 8.0f);
    arrows[0].lineTo (1.75f, 8.0f);
    arrows[0].lineTo (6.5f, 1.6f);
    arrows[0].lineTo (11.25f, 8.0f);
    arrows[0].lineTo (9.0f, 8.0f);
    arrows[0].lineTo (9.0f, 11.0f);
    arrows[0].closeSubPath();

    auto turn = juce::AffineTransform();

    for (int direction = 1; direction < 4; ++direction)
    {
        turn = turn.rotated (juce::MathConstants<float>::halfPi, 6.5f, 6.5f);
        arrows[direction] = arrows[0];
        arrows[direction].applyTransform (turn);
    }
}

DefaultLookAndFeel::~DefaultLookAndFeel() = default;

void DefaultLookAndFeel::setColourTable()
{
    const juce::Colour orange (0xFFFF6C00);
    const juce::Colour paleOrange = orange.brighter (0.6f); // 0xFFFFA35F
    const juce::Colour black (0xFF000000), white (0xFFFFFFFF);
    const juce::Colour windowGrey (0xFFC5C5C5), lightGrey (0xFFE3E3E3), face (0xFFF0F0F0);

    const std::pair<int, juce::Colour> table[] = {
        { 0x0E000000, paleOrange },
        { 0x0E000001, orange },
        { 0x0E000002, white },
        { 0x0E000003, black },
        { juce::TextEditor::backgroundColourId, white },
        { juce::TextEditor::outlineColourId, black },
        { juce::TextButton::buttonColourId, face },
        { juce::TextButton::buttonOnColourId, orange.brighter (0.3f) }, // 0xFFFF8D3A
        { juce::DrawableButton::backgroundColourId, face },
        { juce::DrawableButton::backgroundOnColourId, face },
        { juce::DrawableButton::textColourId, black },
        { juce::Slider::rotarySliderOutlineColourId, black },
        { juce::Slider::rotarySliderFillColourId, grey },
        { juce::TooltipWindow::outlineColourId, juce::Colour (0xFF444444) },
        { juce::TooltipWindow::textColourId, black },
        { WindowComponent::backgroundColourId, windowGrey },
        { WindowComponent::frameColourId, black },
        { WindowComponent::titleTextColourId, white },
        { textColourId, black },
        { secondaryTextColourId, grey },
        { paperColourId, white },
        { linkColourId, juce::Colour (0xFFFFFF00) },
        // The column browser's and path chooser's colours.
        { 0x0F003100, windowGrey },
        { 0x0F003101, lightGrey },
        { 0x0F003102, white },
        { 0x0F003103, lightGrey },
        { 0x0F003104, black },
        { 0x0F003105, juce::Colour (0xFFADADAD) },
        { 0x0F003106, white },
        { 0x0F003107, juce::Colour (0xFF5B5B5B) },
        { 0x0F003108, white },
        { PanelComponent::frameColourId, juce::Colour (0xFF7C7C7C) },
        { juce::ScrollBar::thumbColourId, juce::Colour (0xFF6E6E6E) },
        { juce::ScrollBar::trackColourId, juce::Colour (0xFFCCCCCC) },
        { 0x0F002200, lightGrey },
        { 0x0F002201, black },
        { 0x0F002202, white },
        { TabbedComponentEx::backgroundColourId, windowGrey },
        { TabbedComponentEx::frontTabTextColourId, black },
        { TabbedComponentEx::outlineColourId, juce::Colour (0xFF5B5B5B) },
        { StatusBar::backgroundColourId, juce::Colour (0xFF444444) },
        { StatusBar::textColourId, white },
        { 0x0F000000, lightGrey },
        // The keyboard's key overlays (juce::MidiKeyboardComponent's ids).
        { 0x01005003, paleOrange },
        { 0x01005004, orange },
    };

    for (const auto& [id, colour] : table)
        setColour (id, colour);
}

juce::Typeface::Ptr DefaultLookAndFeel::getTypefaceForFont (const juce::Font& font)
{
    return toolkit::getEmbeddedTypeface (font);
}

//==============================================================================
bool DefaultLookAndFeel::areScrollbarButtonsVisible() { return true; }

const juce::Path& DefaultLookAndFeel::getArrowPath (int direction) const
{
    return arrows[juce::jlimit (0, 3, direction)];
}

void DefaultLookAndFeel::drawScrollbarButton (juce::Graphics& g, juce::ScrollBar& bar, int, int, int buttonDirection,
                                              bool, bool isMouseOverButton, bool)
{
    auto colour = bar.findColour (juce::ScrollBar::thumbColourId);

    if (! bar.isEnabled())
        colour = colour.withMultipliedAlpha (0.5f);
    else if (isMouseOverButton)
        colour = juce::Colours::black;

    g.setColour (colour);
    g.fillPath (getArrowPath (buttonDirection));
}

void DefaultLookAndFeel::drawScrollbar (juce::Graphics& g, juce::ScrollBar& bar, int x, int y, int width, int height,
                                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                                        bool isMouseOver, bool)
{
    const auto background = bar.findColour (juce::ScrollBar::backgroundColourId);

    if (! background.isTransparent())
    {
        g.setColour (background);
        g.fillRect (x, y, width, height);
    }

    const float enabledAlpha = bar.isEnabled() ? 1.0f : 0.5f;
    g.setColour (bar.findColour (juce::ScrollBar::trackColourId).withMultipliedAlpha (enabledAlpha));
    g.fillRoundedRectangle (juce::Rectangle<int> (x, y, width, height).toFloat(), 4.0f);

    auto thumbColour = bar.findColour (juce::ScrollBar::thumbColourId);

    if (! bar.isEnabled())
        thumbColour = thumbColour.withMultipliedAlpha (0.5f);
    else if (isMouseOver)
        thumbColour = juce::Colours::black;

    const auto thumb = isScrollbarVertical ? juce::Rectangle<int> (x + 2, thumbStartPosition, width - 4, thumbSize)
                                           : juce::Rectangle<int> (thumbStartPosition, y + 2, thumbSize, height - 4);
    g.setColour (thumbColour);
    g.fillRoundedRectangle (thumb.toFloat(), 4.0f);
}

int DefaultLookAndFeel::getDefaultScrollbarWidth() { return 13; }
int DefaultLookAndFeel::getScrollbarButtonSize (juce::ScrollBar&) { return 13; }

juce::Font DefaultLookAndFeel::getTextButtonFont (juce::TextButton&, int) { return regularFont; }
juce::Font DefaultLookAndFeel::getComboBoxFont (juce::ComboBox&) { return regularFont; }
juce::Font DefaultLookAndFeel::getLabelFont (juce::Label&) { return regularFont; }

void DefaultLookAndFeel::drawDrawableButton (juce::Graphics& g, juce::DrawableButton& button,
                                             bool isMouseOverButton, bool isButtonDown)
{
    const auto colour = button.findColour (button.getToggleState() ? juce::DrawableButton::backgroundOnColourId
                                                                   : juce::DrawableButton::backgroundColourId);

    // A transparent background (the close button's) stays invisible, even
    // under the mouse.
    if (! colour.isTransparent())
        drawButtonBackground (g, button, colour, isMouseOverButton, isButtonDown);
}

void DefaultLookAndFeel::drawImageButton (juce::Graphics& g, juce::Image* image, int imageX, int imageY, int imageW, int imageH,
                                          const juce::Colour& overlayColour, float imageOpacity, juce::ImageButton& button)
{
    // The base draws a disabled image at 0.3 of its opacity; ours shows at 0.42.
    if (! button.isEnabled())
        imageOpacity *= 1.4f;

    juce::LookAndFeel_V3::drawImageButton (g, image, imageX, imageY, imageW, imageH, overlayColour, imageOpacity, button);
}

void DefaultLookAndFeel::fillTextEditorBackground (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    auto colour = editor.findColour (juce::TextEditor::backgroundColourId);
    g.setColour (editor.isEnabled() ? colour : colour.darker (0.5f));
    g.fillRect (0, 0, width, height);
}

void DefaultLookAndFeel::drawTextEditorOutline (juce::Graphics& g, int width, int height, juce::TextEditor& editor)
{
    g.setColour (editor.findColour (juce::TextEditor::outlineColourId).withMultipliedAlpha (editor.isEnabled() ? 1.0f : 0.5f));
    g.drawRect (0, 0, width, height, 1);
}

void DefaultLookAndFeel::positionComboBoxText (juce::ComboBox& box, juce::Label& label)
{
    label.setBounds (0, 0, box.getWidth() - 20, box.getHeight());
    label.setFont (getComboBoxFont (box));
}

void DefaultLookAndFeel::drawLinearSliderBackground (juce::Graphics& g, int x, int y, int width, int height,
                                                     float, float, float, juce::Slider::SliderStyle, juce::Slider&)
{
    g.setColour (grey);
    g.fillRect (x, y + height / 2 - 3, width, 6);
}

void DefaultLookAndFeel::drawLinearSliderThumb (juce::Graphics& g, int, int y, int, int height,
                                                float sliderPos, float minSliderPos, float maxSliderPos,
                                                juce::Slider::SliderStyle style, juce::Slider& slider)
{
    const float thumbWidth = (float) juce::jmin (getSliderThumbRadius (slider), 8);
    const auto colour = slider.findColour (juce::TextButton::buttonColourId);

    auto drawThumb = [&] (float left)
    {
        juce::Path box;
        box.addRoundedRectangle (left + 0.5f, (float) y + 0.5f, thumbWidth - 1.0f, (float) height - 1.0f, 2.0f);
        fillRaisedShape (g, box, colour, (float) height);
    };

    if (style == juce::Slider::LinearHorizontal)
    {
        drawThumb (sliderPos - thumbWidth * 0.5f);
    }
    else if (style == juce::Slider::TwoValueHorizontal)
    {
        drawThumb (minSliderPos - thumbWidth + 1.0f);
        drawThumb (maxSliderPos);
    }
}

int DefaultLookAndFeel::getSliderThumbRadius (juce::Slider&) { return 10; }

void DefaultLookAndFeel::drawCornerResizer (juce::Graphics& g, int w, int h, bool isMouseOver, bool isMouseDragging)
{
    const bool active = isMouseOver || isMouseDragging;

    juce::Path triangle;
    triangle.addTriangle (4.0f, (float) h - 3.0f, (float) w - 3.0f, 4.0f, (float) w - 3.0f, (float) h - 3.0f);

    g.setColour (active ? juce::Colours::black : grey);
    g.strokePath (triangle, juce::PathStrokeType (1.0f));
    g.setColour (active ? juce::Colour (0xFFCCFF52) : grey);
    g.fillPath (triangle);
}

void DefaultLookAndFeel::drawDocumentWindowTitleBar (juce::DocumentWindow& window, juce::Graphics& g, int w, int h,
                                                     int titleSpaceX, int, const juce::Image*, bool)
{
    g.fillAll (juce::Colour (0xFFCBCBCB));
    g.setFont (regularFont.withHeight (0.65f * (float) h));
    g.setColour (juce::Colours::black);
    g.drawText (window.getName(), titleSpaceX, 0, w - titleSpaceX, h, juce::Justification::centredLeft, true);
}

void DefaultLookAndFeel::positionDocumentWindowButtons (juce::DocumentWindow&, int, int, int titleBarW, int titleBarH,
                                                        juce::Button*, juce::Button*, juce::Button* closeButton, bool)
{
    if (closeButton != nullptr)
        closeButton->setTopLeftPosition (titleBarW - closeButton->getWidth() - 1,
                                         (titleBarH - closeButton->getHeight()) / 2 + 3);
}

juce::Rectangle<int> DefaultLookAndFeel::getTooltipBounds (const juce::String& tipText, juce::Point<int> screenPos,
                                                           juce::Rectangle<int> parentArea)
{
    const int w = juce::roundToInt (regularFont.getStringWidthFloat (tipText)) + 12;
    const int h = (int) regularFont.getHeight() + 7;

    return juce::Rectangle<int> (screenPos.x > parentArea.getCentreX() ? screenPos.x - (w + 12) : screenPos.x + 24,
                                 screenPos.y > parentArea.getCentreY() ? screenPos.y - (h + 6) : screenPos.y + 6,
                                 w, h)
        .constrainedWithin (parentArea);
}

void DefaultLookAndFeel::drawTooltip (juce::Graphics& g, const juce::String& text, int width, int height)
{
    const auto bounds = juce::Rectangle<int> (width, height).toFloat();
    g.setColour (findColour (juce::TooltipWindow::backgroundColourId));
    g.fillRoundedRectangle (bounds.reduced (1.0f), 4.0f);
    g.setColour (findColour (juce::TooltipWindow::outlineColourId));
    g.drawRoundedRectangle (bounds.reduced (0.6f), 4.0f, 1.2f);
    g.setColour (findColour (juce::TooltipWindow::textColourId));
    g.setFont (regularFont);
    g.drawText (text, bounds, juce::Justification::centred, false);
}

//==============================================================================
int DefaultLookAndFeel::getTabButtonSpaceAroundImage() { return 1; }
int DefaultLookAndFeel::getTabButtonOverlap (int) { return 4; }

int DefaultLookAndFeel::getTabButtonBestWidth (juce::TabBarButton& button, int)
{
    return juce::roundToInt (getTabFont().getStringWidthFloat (button.getButtonText().trim())) + 30;
}

void DefaultLookAndFeel::drawTabButton (juce::TabBarButton& button, juce::Graphics& g, bool isMouseOver, bool isMouseDown)
{
    juce::Path shape;
    createTabButtonShape (button, shape, isMouseOver, isMouseDown);
    fillTabButtonShape (button, g, shape, isMouseOver, isMouseDown);
    drawTabButtonText (button, g, isMouseOver, isMouseDown);
}

void DefaultLookAndFeel::createTabButtonShape (juce::TabBarButton& button, juce::Path& shape, bool, bool)
{
    const auto area = button.getActiveArea();
    const auto left = (float) getTabButtonOverlap (area.getHeight()) + 0.5f;
    const auto right = (float) area.getWidth() + 0.5f;
    const auto bottom = (float) area.getHeight() + 4.5f; // the bottom corners fall below the bar

    juce::Path outline;
    outline.startNewSubPath (left, 0.5f);
    outline.lineTo (right, 0.5f);
    outline.lineTo (right, bottom);
    outline.lineTo (left, bottom);
    outline.closeSubPath();
    shape = outline.createPathWithRoundedCorners (4.0f);
}

void DefaultLookAndFeel::fillTabButtonShape (juce::TabBarButton& button, juce::Graphics& g, const juce::Path& shape, bool, bool)
{
    const auto colour = button.getTabBackgroundColour();
    g.setColour (button.isFrontTab() ? colour : colour.darker (0.2f));
    g.fillPath (shape);
    g.setColour (button.findColour (TabbedComponentEx::outlineColourId).withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));
    g.strokePath (shape, juce::PathStrokeType (1.0f));
}

void DefaultLookAndFeel::drawTabButtonText (juce::TabBarButton& button, juce::Graphics& g, bool, bool)
{
    const auto colourId = button.isFrontTab() ? (int) TabbedComponentEx::frontTabTextColourId
                                              : (int) TabbedComponentEx::outlineColourId;
    g.setColour (button.findColour (colourId).withMultipliedAlpha (button.isEnabled() ? 1.0f : 0.5f));
    g.setFont (getTabFont());
    g.drawText (button.getButtonText().trim(), button.getTextArea(), juce::Justification::centred, false);
}

void DefaultLookAndFeel::drawTabbedButtonBarBackground (juce::TabbedButtonBar&, juce::Graphics&) {}

void DefaultLookAndFeel::drawTabAreaBehindFrontButton (juce::TabbedButtonBar& bar, juce::Graphics& g, int w, int h)
{
    g.setColour (bar.findColour (TabbedComponentEx::outlineColourId));
    g.fillRoundedRectangle (0.0f, (float) h - 1.0f, (float) w, (float) h + 2.0f, 4.0f);
}

void DefaultLookAndFeel::drawProgressBar (juce::Graphics&, juce::ProgressBar&, int, int, double, const juce::String&) {}
void DefaultLookAndFeel::drawLevelMeter (juce::Graphics&, int, int, float) {}
void DefaultLookAndFeel::drawFileBrowserRow (juce::Graphics&, int, int, const juce::File&, const juce::String&, juce::Image*,
                                             const juce::String&, const juce::String&, bool, bool, int,
                                             juce::DirectoryContentsDisplayComponent&) {}

//==============================================================================
void DefaultLookAndFeel::drawDisclosureTriangle (juce::Graphics& g, int x, int y, int width, int height, bool pointsRight)
{
    const auto fx = (float) x, fy = (float) y, w = (float) width, h = (float) height;

    juce::Path triangle;

    if (pointsRight)
        triangle.addTriangle (fx + 4.0f, fy + 3.0f, fx + 4.0f, fy + h - 3.0f, fx + w - 2.0f, fy + h / 2.0f);
    else
        triangle.addTriangle (fx + 3.0f, fy + 4.0f, fx + w - 1.0f, fy + 4.0f, fx + w / 2.0f + 1.0f, fy + h - 4.0f);

    g.setColour (grey);
    g.fillPath (triangle);
}

juce::Font DefaultLookAndFeel::getRegularFont() { return regularFont; }
juce::Font DefaultLookAndFeel::getBoldFont() { return boldFont; }
juce::Font DefaultLookAndFeel::getTabFont() { return boldFont; }
int DefaultLookAndFeel::getTabBarDepth() { return 23; }
int DefaultLookAndFeel::getTabIndent() { return 8; }
juce::Font DefaultLookAndFeel::getStatusBarFont() { return regularFont; }
int DefaultLookAndFeel::getStatusBarHeight() { return 16; }
int DefaultLookAndFeel::getDefaultIconStyle() { return 1; }
int DefaultLookAndFeel::getDefaultWindowButtonStyle() { return 1; }

std::unique_ptr<juce::ImageButton> DefaultLookAndFeel::createIconButton (const juce::String& name, int iconId, int style)
{
    if (! toolkit::hasIconImages (iconId))
        return nullptr;

    auto button = std::make_unique<juce::ImageButton> (name);
    setIconButtonImages (*button, iconId, style);
    return button;
}

std::unique_ptr<juce::ImageButton> DefaultLookAndFeel::createIconButton (const juce::String& name, int iconId)
{
    return createIconButton (name, iconId, getDefaultIconStyle());
}

bool DefaultLookAndFeel::setIconButtonImages (juce::ImageButton& button, int iconId, int style)
{
    if (! toolkit::hasIconImages (iconId))
        return false;

    const auto normal = toolkit::getIconImage (iconId, style, false);
    const auto highlighted = toolkit::getIconImage (iconId, style, true);
    const auto none = juce::Colours::transparentBlack;
    button.setImages (false, true, true,
                      normal, 1.0f, none,
                      highlighted, 1.0f, none,
                      highlighted, 1.0f, none);
    return true;
}

std::unique_ptr<TextButtonEx> DefaultLookAndFeel::createWindowButton (const juce::String& name, int style)
{
    auto button = std::make_unique<TextButtonEx> (name);
    button->setStyle (style);
    // Not yet under this look and feel: the images are set here.
    setWindowButtonImages (*button, style);
    return button;
}

std::unique_ptr<TextButtonEx> DefaultLookAndFeel::createWindowButton (const juce::String& name)
{
    return createWindowButton (name, getDefaultWindowButtonStyle());
}

void DefaultLookAndFeel::setWindowButtonImages (TextButtonEx& button, int style)
{
    if (const auto images = toolkit::getWindowButtonImages (style))
        button.setImages (*images);
}

//==============================================================================
juce::Font DefaultLookAndFeel::getWindowTitleFont (WindowComponent&)
{
    return boldFont.withHeight (15.0f);
}

void DefaultLookAndFeel::setCloseButtonImages (juce::DrawableButton& closeButton)
{
    toolkit::setCloseButtonDrawings (closeButton);
}

void DefaultLookAndFeel::drawWindow (juce::Graphics& g, WindowComponent& window)
{
    const auto bounds = window.getLocalBounds().toFloat();
    const auto frameColour = window.findColour (WindowComponent::frameColourId);
    const auto thickness = (float) window.getBorderThickness();

    if (window.getFrameStyle() == WindowComponent::roundedFrame)
    {
        g.setColour (window.findColour (WindowComponent::backgroundColourId));
        g.fillRoundedRectangle (bounds, 8.0f);

        if (window.isTitleBarShown())
            toolkit::fillRoundedRectangleOnSide (g, window.getTitleArea().toFloat(), juce::Justification::top, frameColour);

        if (window.isBordered())
        {
            g.setColour (frameColour);
            toolkit::strokeRoundedRectangle (g, bounds, 8.0f, thickness);
        }
    }
    else
    {
        g.setColour (window.findColour (WindowComponent::backgroundColourId));
        g.fillRect (bounds);
        g.setColour (frameColour);

        if (window.isTitleBarShown())
            g.fillRect (window.getTitleArea());

        if (window.isBordered())
            g.drawRect (window.getLocalBounds(), window.getBorderThickness());
    }

    g.setColour (window.findColour (WindowComponent::titleTextColourId));
    g.setFont (window.getTitleFont());
    g.drawText (window.getTitle(), window.getTitleTextArea(), juce::Justification::centredLeft, true);
}

void DefaultLookAndFeel::drawHardLabel (juce::Graphics& g, HardLabel& label)
{
    const auto font = getLabelFont (label);
    const auto area = getLabelBorderSize (label).subtractedFrom (label.getLocalBounds());

    g.setColour (label.findColour (juce::Label::textColourId).withMultipliedAlpha (label.isEnabled() ? 1.0f : 0.5f));
    g.setFont (font);
    g.drawFittedText (label.getText(), area, label.getJustificationType(),
                      juce::jmax (1, (int) ((float) area.getHeight() / font.getHeight())),
                      label.getMinimumHorizontalScale());
}

juce::Font DefaultLookAndFeel::getPanelTitleFont (PanelComponent&)
{
    return boldFont;
}
