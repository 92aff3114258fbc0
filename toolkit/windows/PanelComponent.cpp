#include "toolkit/windows/PanelComponent.h"

#include "toolkit/lookandfeel/ToolkitFonts.h"

PanelComponent::PanelComponent (const juce::String& panelTitle)
    : title (panelTitle), titleFont (toolkit::makeFont (13.0f, true))
{
    lookAndFeelChanged();
}

PanelComponent::~PanelComponent()
{
    if (contentComponent != nullptr)
        removeChildComponent (contentComponent);
}

void PanelComponent::setTitle (const juce::String& newTitle)
{
    if (newTitle == title)
        return;

    title = newTitle;
    layout();
    repaint();
}

void PanelComponent::setContentComponent (juce::Component* content, bool shouldAutoSize)
{
    if (contentComponent != nullptr)
        removeChildComponent (contentComponent);

    contentComponent = content;

    if (content != nullptr)
        addAndMakeVisible (content);

    autoSize = shouldAutoSize;
    layout();
}

int PanelComponent::getAutomaticWidth() const
{
    const int contentWidth = contentComponent != nullptr ? contentComponent->getWidth() : 0;
    return juce::jmax (juce::roundToInt (titleFont.getStringWidthFloat (title)) + 20, contentWidth + 16);
}

int PanelComponent::getAutomaticHeight() const
{
    const int contentHeight = contentComponent != nullptr ? contentComponent->getHeight() : 0;
    return getTitleHeight() + 16 + contentHeight;
}

void PanelComponent::setPanelSize (int width, int height)
{
    setSize (width < 0 ? getAutomaticWidth() : width,
             height < 0 ? getAutomaticHeight() : height);
}

juce::Rectangle<int> PanelComponent::getContentArea() const
{
    return juce::Rectangle<int>::leftTopRightBottom (8, getTitleHeight() + 8, getWidth() - 8, getHeight() - 8);
}

void PanelComponent::layout()
{
    if (layingOut)
        return;

    const juce::ScopedValueSetter<bool> guard (layingOut, true);

    if (autoSize)
        setSize (getAutomaticWidth(), getAutomaticHeight());

    if (contentComponent != nullptr)
        contentComponent->setTopLeftPosition (getContentArea().getTopLeft());
}

void PanelComponent::childBoundsChanged (juce::Component* child)
{
    if (child == contentComponent && autoSize)
        layout();
}

void PanelComponent::lookAndFeelChanged()
{
    if (auto* methods = dynamic_cast<LookAndFeelMethods*> (&getLookAndFeel()))
        titleFont = methods->getPanelTitleFont (*this);

    layout();
    repaint();
}

void PanelComponent::paint (juce::Graphics& g)
{
    const auto width = (float) getWidth();
    const auto height = (float) getHeight();
    // The top edge runs through the middle of the title line.
    const auto top = (float) (getTitleHeight() / 2) + 0.5f;

    juce::Path frame;
    frame.startNewSubPath (5.5f, top);
    frame.lineTo (0.5f, top);
    frame.lineTo (0.5f, height - 0.5f);
    frame.lineTo (width - 0.5f, height - 0.5f);
    frame.lineTo (width - 0.5f, top);

    if (title.isEmpty())
    {
        frame.closeSubPath();
    }
    else
    {
        const auto titleEnd = juce::jmin (titleFont.getStringWidthFloat (title) + 10.0f, width);
        frame.lineTo (titleEnd + 4.5f, top);
    }

    g.setColour (findColour (frameColourId));
    g.strokePath (frame, juce::PathStrokeType (1.0f));

    if (title.isNotEmpty())
    {
        g.setColour (findColour (juce::Label::textColourId).withMultipliedAlpha (isEnabled() ? 1.0f : 0.5f));
        g.setFont (titleFont);
        g.drawText (title, 10, 0, getWidth() - 20, getTitleHeight(), juce::Justification::topLeft, false);
    }
}
