#pragma once

#include "toolkit/windows/CreditsText.h"
#include "toolkit/windows/WindowComponent.h"

class BasePlugin;

// The about box: the product's version and build, and the scrolling
// credits when the product has any. A click anywhere or Escape closes it.
// The editor sizes it and shows it over itself. Message thread.
class AboutWindow : public WindowComponent,
                    public CreditsText::Listener
{
public:
    static constexpr int linesBandHeight = 54;   // pixels: the version and build lines
    static constexpr int creditsLineHeight = 14; // pixels per credits line
    static constexpr int creditsTimerMs = 50;

    explicit AboutWindow (const BasePlugin& processor);
    ~AboutWindow() override;

    // "Version 1.6.2" and "Build info:  9078395  2015-02-12".
    juce::String getVersionLine() const;
    juce::String getBuildLine() const;

    juce::Rectangle<int> getVersionArea() const noexcept { return versionArea; }
    juce::Rectangle<int> getBuildArea() const noexcept { return buildArea; }
    juce::Rectangle<int> getCreditsArea() const noexcept { return creditsArea; }
    bool showsCredits() const;
    CreditsText& getCredits() noexcept { return credits; }

    // Leaves the modal state and hides the window.
    void close() { hide(); }

    void mouseDown (const juce::MouseEvent& event) override;
    // Message thread: the credits were clicked.
    void creditsClicked (CreditsText* clicked) override;
    void visibilityChanged() override;
    void lookAndFeelChanged() override;
    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    const BasePlugin& processor;
    CreditsText credits;
    juce::Colour textColour { juce::Colours::black };
    juce::Rectangle<int> versionArea, buildArea, creditsArea;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (AboutWindow)
};
