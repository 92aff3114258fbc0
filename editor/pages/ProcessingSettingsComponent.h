#pragma once

#include "toolkit/widgets/ComboBoxButton.h"
#include "toolkit/windows/ComponentRow.h"
#include "toolkit/windows/HardLabel.h"
#include "toolkit/windows/PanelComponent.h"

#include <array>

class EnumParameter;

// The "Processing" page of the options window: the processing quality in
// real time and offline, chosen once as the defaults for new instances and
// once for this instance. The editor binds the four choosers to the
// processor's quality parameters. Message thread.
class ProcessingSettingsComponent : public juce::Component
{
public:
    // Two rows, "Real-time" and "Offline", each a label and a chooser, in a titled panel.
    class QualityPanel : public PanelComponent
    {
    public:
        explicit QualityPanel (const juce::String& panelTitle);

        void bind (EnumParameter& realtime, EnumParameter& offline);
        // Both labels as wide as the wider text, so the choosers line up.
        void equaliseLabels();

        HardLabel& getLabel (int row) noexcept { return labels[(size_t) row]; }
        ComboBoxButton& getChooser (int row) noexcept { return choosers[(size_t) row]; }

    private:
        ComponentRow column { ComponentRow::vertical, ComponentRow::alignStart, 6 };
        std::array<ComponentRow, 2> rows { ComponentRow (ComponentRow::horizontal, ComponentRow::alignCentre, 6),
                                           ComponentRow (ComponentRow::horizontal, ComponentRow::alignCentre, 6) };
        std::array<HardLabel, 2> labels;
        std::array<ComboBoxButton, 2> choosers;
    };

    static constexpr int chooserWidth = 200, chooserHeight = 20; // pixels

    ProcessingSettingsComponent();

    // Message thread, once: the choosers follow and set the four parameters.
    void bindParameters (EnumParameter& defaultRealtime, EnumParameter& defaultOffline, EnumParameter& realtime,
                         EnumParameter& offline);

    QualityPanel& getDefaultPanel() noexcept { return defaultPanel; }
    QualityPanel& getCurrentPanel() noexcept { return currentPanel; }

    void lookAndFeelChanged() override;
    void resized() override;

private:
    QualityPanel defaultPanel { "Default quality" }, currentPanel { "Current quality" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ProcessingSettingsComponent)
};
