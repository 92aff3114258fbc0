#include "toolkit/windows/WindowComponent.h"

#include "toolkit/lookandfeel/ToolkitArtwork.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

WindowComponent::WindowComponent (const juce::String& name)
    : ModalComponent (name),
      titleFont (toolkit::makeFont (15.0f, true))
{
    closeButton.setWantsKeyboardFocus (false);
    closeButton.setColour (juce::DrawableButton::backgroundColourId, juce::Colours::transparentBlack);
    closeButton.addListener (this);
    toolkit::setCloseButtonDrawings (closeButton);
    addChildComponent (closeButton);

    titleIcon = toolkit::createWindowTitleIcon();
    addAndMakeVisible (*titleIcon);

    lookAndFeelChanged();
    updateOpacity();
    updateTitleBar();
}

WindowComponent::~WindowComponent()
{
    closeButton.removeListener (this);
}

void WindowComponent::setTitle (const juce::String& newTitle)
{
    if (newTitle == title)
        return;

    title = newTitle;

    if (hasTitleBar)
        repaint();
}

void WindowComponent::setTitleIcon (std::unique_ptr<juce::Drawable> icon)
{
    titleIcon = std::move (icon);

    if (titleIcon != nullptr)
        addAndMakeVisible (*titleIcon);

    resized();
}

void WindowComponent::setFrameStyle (int newStyle)
{
    frameStyle = newStyle;
    updateOpacity();
    repaint();
}

void WindowComponent::setBordered (bool shouldBeBordered)
{
    bordered = shouldBeBordered;
    resized();
    repaint();
}

void WindowComponent::setTitleBarShown (bool shouldShowTitleBar)
{
    hasTitleBar = shouldShowTitleBar;
    updateTitleBar();
}

void WindowComponent::setCloseButtonShown (bool shouldShowCloseButton)
{
    hasCloseButton = shouldShowCloseButton;
    updateTitleBar();
}

void WindowComponent::setTranslucent (bool shouldBeTranslucent)
{
    translucent = shouldBeTranslucent;
    updateOpacity();
    repaint();
}

void WindowComponent::updateOpacity()
{
    setOpaque (frameStyle == squareFrame && ! translucent);
}

void WindowComponent::updateTitleBar()
{
    closeButton.setVisible (hasTitleBar && hasCloseButton);

    if (titleIcon != nullptr)
        titleIcon->setVisible (hasTitleBar);

    repaint();
    resized();
}

void WindowComponent::setContentSize (int width, int height)
{
    if (hasTitleBar)
        height += titleBarHeight;

    if (bordered)
    {
        width += 2 * borderThickness;
        height += borderThickness * (hasTitleBar ? 2 : 1);
    }

    width += marginLeft + marginRight;
    height += marginTop + marginBottom;
    setSize (juce::jmax (250, width), juce::jmax (120, height));
}

void WindowComponent::setClosedByEscape (bool shouldBeClosedByEscape)
{
    closedByEscape = shouldBeClosedByEscape;
    setWantsKeyboardFocus (shouldBeClosedByEscape);
}

void WindowComponent::buttonClicked (juce::Button* button)
{
    if (button == &closeButton)
        hide();
}

bool WindowComponent::keyPressed (const juce::KeyPress& key)
{
    if (! closedByEscape || key != juce::KeyPress::escapeKey)
        return false;

    hide();
    return true;
}

void WindowComponent::resized()
{
    auto content = getLocalBounds();

    if (bordered)
        content = content.reduced (juce::jmin (borderThickness, content.getWidth() / 2),
                                   juce::jmin (borderThickness, content.getHeight() / 2));

    if (hasTitleBar)
        content.removeFromTop (titleBarHeight - (bordered ? borderThickness : 0));

    content.removeFromTop (marginTop);
    content.removeFromBottom (marginBottom);
    content.removeFromLeft (marginLeft);
    content.removeFromRight (marginRight);
    contentArea = content;

    if (hasTitleBar)
    {
        titleArea = { 0, 0, getWidth(), titleBarHeight };

        const bool showsIcon = titleIcon != nullptr;
        const bool showsCloseButton = closeButton.isVisible();
        auto text = titleArea;
        text.removeFromLeft (showsIcon ? titleBarHeight : 2 * borderThickness);

        if (showsCloseButton)
            text.removeFromRight (titleBarHeight);

        // Keep odd-sized title text on whole pixels.
        const int fontHeight = (int) titleFont.getHeight();

        if (2.0f * titleFont.getHeight() > (float) titleBarHeight && (titleBarHeight % 2) != 0)
            text.removeFromBottom (1);

        if ((fontHeight % 2) != 0)
            text.removeFromBottom (1);

        titleTextArea = text;

        const int side = juce::jmin (titleBarHeight, 20);
        closeButton.setBounds (getWidth() + (side / 2 - titleBarHeight / 2) - side - 1,
                               titleBarHeight / 2 - side / 2, side, side);

        if (titleIcon != nullptr)
        {
            const auto iconArea = juce::Rectangle<int> (0, 0, titleBarHeight, titleBarHeight)
                                      .reduced ((titleBarHeight - 27) / 2);

            if (! iconArea.isEmpty())
                titleIcon->setTransformToFit (iconArea.toFloat(), juce::RectanglePlacement::stretchToFit);
        }
    }
    else
    {
        titleArea = {};
        titleTextArea = {};
    }

    updatePosition();
}

void WindowComponent::paint (juce::Graphics& g)
{
    if (auto* methods = dynamic_cast<LookAndFeelMethods*> (&getLookAndFeel()))
        methods->drawWindow (g, *this);
}

void WindowComponent::lookAndFeelChanged()
{
    if (auto* methods = dynamic_cast<LookAndFeelMethods*> (&getLookAndFeel()))
    {
        titleFont = methods->getWindowTitleFont (*this);
        methods->setCloseButtonImages (closeButton);
    }

    resized();
}
