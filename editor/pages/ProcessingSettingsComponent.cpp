#include "editor/pages/ProcessingSettingsComponent.h"

#include "framework/core/IntParameter.h"

namespace
{
constexpr int labelHeight = 20; // pixels
constexpr int panelGap = 6;     // pixels between the two panels
} // namespace

ProcessingSettingsComponent::QualityPanel::QualityPanel (const juce::String& panelTitle)
    : PanelComponent (panelTitle)
{
    const char* const texts[] = { "Real-time", "Offline" };

    for (size_t i = 0; i < rows.size(); ++i)
    {
        labels[i].setText (texts[i], juce::dontSendNotification);
        choosers[i].setSize (chooserWidth, chooserHeight);
        rows[i].addAndMakeVisible (labels[i]);
        rows[i].addAndMakeVisible (choosers[i]);
        column.addAndMakeVisible (rows[i]);
    }

    equaliseLabels();
    setContentComponent (&column, true);
}

void ProcessingSettingsComponent::QualityPanel::bind (EnumParameter& realtime, EnumParameter& offline)
{
    choosers[0].setParameter (&realtime);
    choosers[1].setParameter (&offline);
}

void ProcessingSettingsComponent::QualityPanel::equaliseLabels()
{
    const int width = juce::jmax (labels[0].getTextWidth(), labels[1].getTextWidth());

    for (auto& label : labels)
        label.setSize (width, labelHeight);
}

ProcessingSettingsComponent::ProcessingSettingsComponent()
{
    addAndMakeVisible (defaultPanel);
    addAndMakeVisible (currentPanel);
}

void ProcessingSettingsComponent::bindParameters (EnumParameter& defaultRealtime, EnumParameter& defaultOffline,
                                                  EnumParameter& realtime, EnumParameter& offline)
{
    defaultPanel.bind (defaultRealtime, defaultOffline);
    currentPanel.bind (realtime, offline);
}

void ProcessingSettingsComponent::lookAndFeelChanged()
{
    defaultPanel.equaliseLabels();
    currentPanel.equaliseLabels();
    resized();
}

void ProcessingSettingsComponent::resized()
{
    const int width = getWidth() / 2 - panelGap / 2;
    defaultPanel.setPanelSize (width > 0 ? width : -1, -1);
    currentPanel.setPanelSize (width > 0 ? width : -1, -1);
    defaultPanel.setTopLeftPosition (0, 0);
    currentPanel.setTopLeftPosition (defaultPanel.getRight() + panelGap, 0);
}
