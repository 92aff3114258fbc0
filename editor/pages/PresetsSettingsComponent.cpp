#include "editor/pages/PresetsSettingsComponent.h"

#include "editor/pages/PresetsSettingsUpdateAuthorWindow.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

PresetsSettingsComponent::PresetsSettingsComponent (BasePlugin& plugin)
    : processor (plugin),
      updateAuthorWindow (std::make_unique<UpdateAuthorWindow> (processor))
{
    authorEditor.setFont (toolkit::makeFont (13.0f));
    authorEditor.setText (processor.getAuthorName(), false);
    authorEditor.addModalListener (this);
    authorRow.addAndMakeVisible (authorEditor);

    updatePresetsButton.changeWidthToFitText (rowHeight);
    updatePresetsButton.addListener (this);
    authorRow.addAndMakeVisible (updatePresetsButton);

    authorPanel.setContentComponent (&authorRow, false);
    addAndMakeVisible (authorPanel);

    presetsDirectoryLabel.setText ("Presets directory: " + processor.getUserDataFolder().getFullPathName(), juce::dontSendNotification);
    addAndMakeVisible (presetsDirectoryLabel);

    addChildComponent (*updateAuthorWindow);
}

PresetsSettingsComponent::~PresetsSettingsComponent()
{
    authorEditor.removeModalListener (this);
    updatePresetsButton.removeListener (this);
}

void PresetsSettingsComponent::setPreferredWidth (int width)
{
    preferredWidth = width;
    resized();
}

void PresetsSettingsComponent::buttonClicked (juce::Button* button)
{
    if (button == &updatePresetsButton && ! updateAuthorWindow->isVisible())
        updateAuthorWindow->startUpdate();
}

void PresetsSettingsComponent::modalTextCommitted (ModalTextEditor* editor)
{
    // Written into the user settings with the rest of them.
    if (editor == &authorEditor)
        processor.setAuthorName (editor->getText());
}

void PresetsSettingsComponent::resized()
{
    // Without a preferred width the panel takes the page's: a panel only
    // as wide as its button would leave the author field no room.
    const int buttonWidth = updatePresetsButton.getWidth();
    const int panelWidth = juce::jmax (preferredWidth > 0 ? preferredWidth : getWidth(), buttonWidth + 16);

    // The panel's content area is 8 pixels in from each side.
    authorRow.setSize (panelWidth - 16, rowHeight);
    authorPanel.setPanelSize (panelWidth, -1);
    authorPanel.setTopLeftPosition (0, 0);
    authorRow.setTopLeftPosition (authorPanel.getContentArea().getTopLeft());

    authorEditor.setBounds (0, 0, juce::jmax (0, authorRow.getWidth() - buttonWidth - buttonGap), rowHeight);
    updatePresetsButton.setTopLeftPosition (authorRow.getWidth() - buttonWidth, 0);

    presetsDirectoryLabel.setBounds (0, authorPanel.getBottom(), getWidth(), rowHeight);
}
