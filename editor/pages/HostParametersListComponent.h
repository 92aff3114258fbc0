#pragma once

#include "editor/pages/HostParametersComponent.h"
#include "toolkit/widgets/ComboBoxEx.h"

// The rows of the "Parameters" page: one combo box per host slot, named
// "HPComboBox" and the slot's number (from 1), offering the automatable
// parameters (item id = parameter id; all rows share one menu). The rows fill
// columns of ten from top to bottom, each column as wide as the visible width
// allows for the visible columns; the list is wider when it has more columns
// and scrolls sideways in its viewport. Message thread.
class HostParametersComponent::ListComponent : public juce::Component,
                                               private ComboBoxEx::Listener,
                                               private juce::ChangeListener
{
public:
    static constexpr int headerHeight = 20; // pixels
    static constexpr int rowHeight = 22;    // pixels
    static constexpr int comboHeight = 20;  // pixels
    static constexpr int rowsPerColumn = 10;
    static constexpr int visibleColumns = 3;

    explicit ListComponent (BasePlugin& processor);
    ~ListComponent() override;

    int getNumRows() const noexcept { return comboBoxes.size(); }
    ComboBoxEx& getComboBox (int row) const { return *comboBoxes.getUnchecked (row); }
    int getNumColumns() const noexcept { return (getNumRows() + rowsPerColumn - 1) / rowsPerColumn; }

    // Sizes the list for the width its viewport shows.
    void setVisibleWidth (int width);

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    // Message thread: the user chose a parameter for a row's slot.
    void comboBoxExChanged (ComboBoxEx* comboBox) override;
    // Message thread, from the message loop: the host parameter map changed.
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void showSlots();

    BasePlugin& processor;
    PopupMenuEx parameterMenu;
    juce::OwnedArray<ComboBoxEx> comboBoxes;
    const juce::Font headerFont, rowFont;
    const int numberWidth; // pixels: "999" in the header font
    int columnWidth = 0;   // pixels

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ListComponent)
};
