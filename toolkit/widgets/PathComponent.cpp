#include "toolkit/widgets/PathComponent.h"

#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/lookandfeel/ToolkitDrawing.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"
#include "toolkit/widgets/FileDialogs.h"

namespace
{
bool isSamePath (const juce::String& a, const juce::String& b)
{
    return juce::File::areFileNamesCaseSensitive() ? a == b : a.equalsIgnoreCase (b);
}
} // namespace

PathComponent::PathComponent()
    : font (toolkit::makeFont (13.0f))
{
    browseButton.setWantsKeyboardFocus (false);
    browseButton.addListener (this);
    addAndMakeVisible (browseButton);

    ellipsisWidth = font.getStringWidth (ellipsis);
    lookAndFeelChanged();
    measurePath();
    repaint();
}

PathComponent::~PathComponent()
{
    browseButton.removeListener (this);
}

void PathComponent::measurePath()
{
    pathWidth = font.getStringWidth (path);
}

void PathComponent::setPath (const juce::String& newPath, bool notify)
{
    if (isSamePath (newPath, path))
        return;

    path = newPath;
    measurePath();
    repaint();

    if (notify)
        listeners.callChecked (juce::Component::BailOutChecker (this), [this] (Listener& l) { l.pathChanged (this); });
}

void PathComponent::setChooserTitle (const juce::String& title) { chooserTitle = title; }
void PathComponent::setInitialLocation (const juce::File& location) { initialLocation = location; }
void PathComponent::setFilePatterns (const juce::String& patterns) { filePatterns = patterns; }

void PathComponent::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.add (listener);
}

void PathComponent::removeListener (Listener* listener) { listeners.remove (listener); }

bool PathComponent::isPathShownWhole() const noexcept
{
    return pathWidth <= textArea.getWidth() - 8;
}

void PathComponent::lookAndFeelChanged()
{
    // With another look and feel the last font stays.
    if (auto* toolkitLook = dynamic_cast<DefaultLookAndFeel*> (&getLookAndFeel()))
    {
        font = toolkitLook->getRegularFont();
        ellipsisWidth = font.getStringWidth (ellipsis);
        measurePath();
        repaint();
    }

    resized();
}

void PathComponent::enablementChanged()
{
    // isEnabled is false as well when a parent is disabled.
    browseButton.setEnabled (isEnabled());
    repaint();
}

void PathComponent::resized()
{
    // The button takes the component's height: the text and its width follow it.
    const int buttonWidth = getLookAndFeel().getTextButtonWidthToFitText (browseButton, getHeight());
    browseButton.setBounds (getWidth() - buttonWidth, 0, buttonWidth, getHeight());

    boxArea = getLocalBounds().withTrimmedRight (buttonWidth + buttonGap);
    textArea = boxArea.reduced (4, 0);
    repaint();
}

void PathComponent::buttonClicked (juce::Button* button)
{
    // One dialog at a time: the native one leaves the editor usable.
    if (button != &browseButton || browsing)
        return;

    browsing = true;
    const auto start = initialLocation != juce::File() || path.isEmpty() ? initialLocation : juce::File (path);

    FileDialogs::open (*this, chooserTitle, start, filePatterns, [this] (const std::optional<juce::File>& chosen)
    {
        browsing = false;

        if (chosen.has_value())
            setPath (chosen->getFullPathName(), true);
    });
}

void PathComponent::paint (juce::Graphics& g)
{
    const float alpha = isEnabled() ? 1.0f : 0.5f;
    const auto outline = findColour (outlineColourId);

    if (! outline.isTransparent())
        toolkit::fillAndStrokeRoundedRectangle (g, boxArea.toFloat(), 4.0f,
                                                findColour (backgroundColourId).withMultipliedAlpha (alpha),
                                                outline.withMultipliedAlpha (alpha), 1.0f);

    const auto textColour = findColour (textColourId).withMultipliedAlpha (alpha);
    g.setFont (font);
    g.setColour (textColour);

    if (isPathShownWhole())
    {
        g.drawText (path, textArea, juce::Justification::centredLeft, false);
        return;
    }

    auto pathArea = textArea;
    const auto ellipsisArea = pathArea.removeFromRight (ellipsisWidth);
    g.drawText (path, pathArea, juce::Justification::centredLeft, false);
    g.setColour (textColour.withMultipliedAlpha (0.5f));
    g.drawText (ellipsis, ellipsisArea, juce::Justification::centredLeft, false);
}
