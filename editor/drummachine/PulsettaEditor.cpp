#include "editor/drummachine/PulsettaEditor.h"

#include "editor/base/AboutWindow.h"
#include "toolkit/skin/GFXKnob.h"
#include "toolkit/skin/GFXPanel.h"

PulsettaEditor::PulsettaEditor (DrumMachine& processorToEdit)
    : DrumMachineEditor (processorToEdit)
{
    flamKnob = dynamic_cast<GFXKnob*> (findControlByName (getMainPanel(), "FlamKnob"));
    getAboutWindow().setSize (aboutWidth, aboutHeight);
    getOptionsWindow().setSize (optionsWidth, optionsHeight);
}

void PulsettaEditor::parameterChanged (Parameter* parameter)
{
    if (parameter != nullptr && parameter->getId() == writeModeStateParameter && flamKnob != nullptr)
        flamKnob->setEnabled (parameter->getBool());

    DrumMachineEditor::parameterChanged (parameter);
}
