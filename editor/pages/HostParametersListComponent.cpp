#include "editor/pages/HostParametersListComponent.h"

#include "toolkit/lookandfeel/ToolkitFonts.h"

namespace
{
const juce::Colour textColour { 0xff404040 }; // dark grey
} // namespace

HostParametersComponent::ListComponent::ListComponent (BasePlugin& plugin)
    : processor (plugin),
      headerFont (toolkit::makeFont (13.0f, true)),
      rowFont (toolkit::makeFont (13.0f)),
      numberWidth (headerFont.getStringWidth ("999"))
{
    const auto& manager = processor.getParameterManager();

    for (int i = 0; i < manager.getNumParameters(); ++i)
        if (const auto* parameter = manager.getParameterAt (i); parameter != nullptr && parameter->isAutomatable())
            parameterMenu.addItem (parameter->getId(), parameter->getName());

    for (int row = 0; row < processor.getHostParameterMap().getNumSlots(); ++row)
    {
        auto* comboBox = comboBoxes.add (std::make_unique<ComboBoxEx>());
        comboBox->setName ("HPComboBox" + juce::String (row + 1));
        comboBox->setExternalMenu (&parameterMenu);
        comboBox->addListener (this);
        addAndMakeVisible (comboBox);
    }

    showSlots();
    processor.getHostParameterMap().addChangeListener (this);
}

HostParametersComponent::ListComponent::~ListComponent()
{
    processor.getHostParameterMap().removeChangeListener (this);
}

void HostParametersComponent::ListComponent::setVisibleWidth (int width)
{
    columnWidth = juce::jmax (0, width / visibleColumns);
    setSize (getNumColumns() * columnWidth, rowsPerColumn * rowHeight + headerHeight);
    resized();
}

void HostParametersComponent::ListComponent::resized()
{
    for (int row = 0; row < getNumRows(); ++row)
    {
        const int x = (row / rowsPerColumn) * columnWidth + numberWidth + 6;
        const int y = headerHeight + 1 + (row % rowsPerColumn) * rowHeight;
        getComboBox (row).setBounds (x, y, juce::jmax (0, columnWidth - numberWidth - 12), comboHeight);
    }
}

void HostParametersComponent::ListComponent::paint (juce::Graphics& g)
{
    g.setColour (textColour);

    for (int column = 0; column < getNumColumns(); ++column)
    {
        const int x = column * columnWidth;
        g.setFont (headerFont);
        g.drawText ("No.", x, 0, numberWidth, headerHeight, juce::Justification::centred, false);
        g.drawText ("Parameter", x + numberWidth + 6, 0, juce::jmax (0, columnWidth - numberWidth - 6), headerHeight,
                    juce::Justification::centredLeft, true);
    }

    g.setFont (rowFont);

    for (int row = 0; row < getNumRows(); ++row)
        g.drawText (juce::String (row + 1), (row / rowsPerColumn) * columnWidth, getComboBox (row).getY(), numberWidth,
                    comboHeight, juce::Justification::centred, false);
}

void HostParametersComponent::ListComponent::comboBoxExChanged (ComboBoxEx* comboBox)
{
    const int slot = comboBoxes.indexOf (comboBox);

    // An id that names no parameter frees the slot. The row that held the
    // parameter before follows with the map's change message.
    if (slot >= 0)
        processor.assignHostParameter (slot, processor.getParameterManager().getParameter (comboBox->getSelectedId()));
}

void HostParametersComponent::ListComponent::changeListenerCallback (juce::ChangeBroadcaster*)
{
    showSlots();
}

void HostParametersComponent::ListComponent::showSlots()
{
    const auto& map = processor.getHostParameterMap();

    for (int row = 0; row < getNumRows(); ++row)
    {
        const auto* parameter = map.getParameter (row);
        getComboBox (row).setSelectedId (parameter != nullptr ? parameter->getId() : -1, false);
    }
}
