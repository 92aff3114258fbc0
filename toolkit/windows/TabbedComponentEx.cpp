#include "toolkit/windows/TabbedComponentEx.h"

#include "toolkit/lookandfeel/DefaultLookAndFeel.h"

TabbedComponentEx::TabbedComponentEx()
    : juce::TabbedComponent (juce::TabbedButtonBar::TabsAtTop)
{
    // The page outline is drawn here, not by the base.
    setOutline (0);
    lookAndFeelChanged();
}

void TabbedComponentEx::addListener (Listener* listener)
{
    if (listener != nullptr)
        listeners.add (listener);
}

void TabbedComponentEx::removeListener (Listener* listener)
{
    listeners.remove (listener);
}

void TabbedComponentEx::currentTabChanged (int, const juce::String&)
{
    const juce::Component::BailOutChecker checker (this);
    listeners.callChecked (checker, [this] (Listener& l) { l.tabbedComponentChanged (this); });

    if (checker.shouldBailOut())
        return;

    // setLookAndFeel tells the page and its children when it differs.
    if (auto* page = getCurrentContentComponent())
        page->setLookAndFeel (&getLookAndFeel());
}

void TabbedComponentEx::lookAndFeelChanged()
{
    // Every page hears of it, also those not shown (they are not children).
    for (int i = getNumTabs(); --i >= 0;)
        if (auto* page = getTabContentComponent (i))
            page->lookAndFeelChanged();

    if (auto* toolkitLook = dynamic_cast<DefaultLookAndFeel*> (&getLookAndFeel()))
    {
        setTabBarDepth (toolkitLook->getTabBarDepth());
        contentMargin = toolkitLook->getTabIndent();
        setIndent (contentMargin);
    }

    resized();
    repaint();
}

void TabbedComponentEx::resized()
{
    const auto depth = (float) getTabBarDepth();
    const auto right = (float) getWidth() - 0.5f;
    const auto bottom = (float) getHeight() - 0.5f;

    juce::Path outline;
    outline.startNewSubPath (0.5f, depth - 0.5f);
    outline.lineTo (right, depth - 0.5f);
    outline.lineTo (right, bottom);
    outline.lineTo (0.5f, bottom);
    outline.closeSubPath();
    pageOutline = outline.createPathWithRoundedCorners (4.0f);

    juce::TabbedComponent::resized();

    // The tabs start inside the page's rounded corners.
    getTabbedButtonBar().setBounds (contentMargin, 0, juce::jmax (0, getWidth() - 2 * contentMargin), getTabBarDepth());
}

void TabbedComponentEx::paint (juce::Graphics& g)
{
    g.setColour (findColour (backgroundColourId));
    g.fillPath (pageOutline);
    g.setColour (findColour (outlineColourId));
    g.strokePath (pageOutline, juce::PathStrokeType (1.0f));
}
