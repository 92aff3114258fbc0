#include "editor/base/AboutWindow.h"

#include "framework/processor/BasePlugin.h"
#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

namespace
{
constexpr int lineGap = 8;       // pixels between the lines and after them
constexpr int creditsMargin = 48; // pixels the credits need beyond their lines
constexpr int creditsStartY = 5;  // pixels below the credits area's top
} // namespace

AboutWindow::AboutWindow (const BasePlugin& processorToShow)
    : WindowComponent ("AboutWindow"), processor (processorToShow), credits (processorToShow.getCreditsText())
{
    setTitle ("About " + processor.getPluginName());
    credits.addListener (this);
    addChildComponent (credits);
    setClosedByEscape (true);
    lookAndFeelChanged();
    resized();
}

AboutWindow::~AboutWindow()
{
    credits.removeListener (this);
}

juce::String AboutWindow::getVersionLine() const
{
    return "Version " + processor.getVersion();
}

juce::String AboutWindow::getBuildLine() const
{
    return "Build info:  " + processor.getBuildNumber() + "  " + processor.getBuildDate();
}

bool AboutWindow::showsCredits() const
{
    return processor.getCreditsText().isNotEmpty();
}

void AboutWindow::mouseDown (const juce::MouseEvent&)
{
    close();
}

void AboutWindow::creditsClicked (CreditsText*)
{
    close();
}

void AboutWindow::visibilityChanged()
{
    if (! showsCredits())
        return;

    if (isVisible())
    {
        credits.setTopLeftPosition (creditsArea.getX(), creditsArea.getY() + creditsStartY);
        credits.startTimer (creditsTimerMs);
    }
    else
    {
        credits.stopTimer();
    }
}

void AboutWindow::lookAndFeelChanged()
{
    WindowComponent::lookAndFeelChanged();

    if (auto* look = dynamic_cast<DefaultLookAndFeel*> (&getLookAndFeel()))
        textColour = look->findColour (DefaultLookAndFeel::textColourId);

    resized();
}

void AboutWindow::resized()
{
    WindowComponent::resized();

    const auto content = getContentArea();
    auto band = content.withHeight (linesBandHeight);
    const int numCreditsLines = juce::StringArray::fromLines (processor.getCreditsText()).size();
    const int creditsTop = band.getBottom() + lineGap;
    const bool creditsFit = showsCredits()
                            && content.getBottom() - lineGap - creditsTop >= numCreditsLines * creditsLineHeight + creditsMargin;

    // Without credits the two lines stand in the middle of the window.
    if (! creditsFit)
        band.setY (content.getY() + (content.getHeight() - linesBandHeight) / 2);

    versionArea = band.withHeight (linesBandHeight / 2 - 4);
    buildArea = band.withTop (versionArea.getBottom() + lineGap);
    creditsArea = creditsFit ? juce::Rectangle<int>::leftTopRightBottom (content.getX(), creditsTop, content.getRight(),
                                                                         content.getBottom() - lineGap)
                             : juce::Rectangle<int>();
    credits.setBounds (creditsArea);
    credits.setVisible (creditsFit);
}

void AboutWindow::paint (juce::Graphics& g)
{
    WindowComponent::paint (g);

    g.setColour (textColour);
    g.setFont (toolkit::makeFont (15.0f, true));
    g.drawText (getVersionLine(), versionArea, juce::Justification::centredBottom);
    g.setFont (toolkit::makeFont (12.0f));
    g.drawText (getBuildLine(), buildArea, juce::Justification::centredTop);
}
