#include "editor/presets/OldStylePresetBrowserWindow.h"

#include "editor/presets/OldStylePresetBrowserColumns.h"
#include "framework/presets/XmlFiles.h"
#include "framework/processor/BasePluginOldStyle.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

namespace
{
constexpr int buttonRowHeight = 20; // pixels: labels and text buttons
constexpr int toolbarButtonSize = 24;

// A save's writer: the element as a UTF-8 document without DTD; false when
// there is none.
FileSaver::Writer xmlWriter (std::function<std::unique_ptr<juce::XmlElement>()> makeElement)
{
    return [makeElement = std::move (makeElement)] (juce::OutputStream& out)
    {
        const auto element = makeElement();

        if (element == nullptr)
            return false;

        xmlfiles::writeDocument (*element, out);
        return true;
    };
}
} // namespace

OldStylePresetBrowserWindow::OldStylePresetBrowserWindow (BasePluginOldStyle& bankProcessor)
    : WindowComponent ("PresetBrowser"),
      bank (bankProcessor),
      browser (*this, bankProcessor)
{
    setTitle ("Preset Browser");
    setClosedByEscape (true);

    const std::pair<ToolbarDrawableButton*, const char*> toolbarButtons[] = {
        { &addGroupButton, "Add group" },
        { &removeGroupButton, "Remove empty group" },
        { &copyButton, "Copy current preset" },
        { &pasteButton, "Paste copied preset" },
        { &upButton, "Select previous preset" },
        { &downButton, "Select next preset" },
    };

    for (auto [button, tooltip] : toolbarButtons)
    {
        button->setTooltip (tooltip);
        button->setSize (toolbarButtonSize, toolbarButtonSize);
        button->addListener (this);
        toolbar.addAndMakeVisible (*button);
    }

    // Held, they step on: once after a second, then ten times a second.
    upButton.setRepeatSpeed (1000, 100);
    downButton.setRepeatSpeed (1000, 100);

    const std::pair<juce::Component*, const char*> rowItems[] = {
        { &presetLabel, nullptr },
        { &loadPresetButton, "Load preset" },
        { &savePresetButton, "Save current preset" },
        { &bankLabel, nullptr },
        { &loadBankButton, "Load preset bank" },
        { &saveBankButton, "Save current preset bank" },
    };

    for (auto [item, tooltip] : rowItems)
    {
        if (auto* label = dynamic_cast<HardLabel*> (item))
        {
            label->setFont (toolkit::makeFont (13.0f));
            label->setJustificationType (juce::Justification::centredRight);
        }
        else if (auto* button = dynamic_cast<juce::TextButton*> (item))
        {
            button->setTooltip (tooltip);
            button->setWantsKeyboardFocus (false);
            button->addListener (this);
        }

        buttonRow.addAndMakeVisible (*item);
    }

    addAndMakeVisible (toolbar);
    addAndMakeVisible (buttonRow);
    addAndMakeVisible (browser);
    lookAndFeelChanged();
    setSize (defaultWidth, defaultHeight);

    auto& parameters = bank.getParameterManager();
    parameters.addAsyncListener (BasePluginOldStyle::currentPresetNumberId, this);
    parameters.addAsyncListener (BasePluginOldStyle::currentPresetNameId, this);
    bank.addListener (static_cast<BasePlugin::Listener*> (this));
    followCurrentPreset();
}

OldStylePresetBrowserWindow::~OldStylePresetBrowserWindow()
{
    auto& parameters = bank.getParameterManager();
    parameters.removeAsyncListener (BasePluginOldStyle::currentPresetNumberId, this);
    parameters.removeAsyncListener (BasePluginOldStyle::currentPresetNameId, this);
    bank.removeListener (static_cast<BasePlugin::Listener*> (this));

    for (auto* button : getButtons())
        button->removeListener (this);
}

std::array<juce::Button*, OldStylePresetBrowserWindow::numActions> OldStylePresetBrowserWindow::getButtons()
{
    return { &addGroupButton, &removeGroupButton, &copyButton, &pasteButton, &upButton,
             &downButton, &loadPresetButton, &savePresetButton, &loadBankButton, &saveBankButton };
}

juce::Button& OldStylePresetBrowserWindow::getButton (Action action)
{
    return *getButtons()[(size_t) action];
}

void OldStylePresetBrowserWindow::followCurrentPreset()
{
    auto& parameters = bank.getParameterManager();

    for (const int id : { BasePluginOldStyle::currentPresetNumberId, BasePluginOldStyle::currentPresetNameId })
        if (auto* parameter = parameters.getParameter (id))
            parameterChanged (parameter);
}

void OldStylePresetBrowserWindow::parameterChanged (Parameter* parameter)
{
    if (parameter->getId() == BasePluginOldStyle::currentPresetNumberId)
    {
        const int index = parameter->getInt();
        const int group = bank.getGroupOfPreset (index);
        const int first = bank.getFirstPresetOfGroup (group);
        browser.showPreset (group, first < 0 ? -1 : index - first);
    }
    else if (parameter->getId() == BasePluginOldStyle::currentPresetNameId)
    {
        browser.refresh();
    }
}

void OldStylePresetBrowserWindow::presetBankReplaced (BasePlugin&)
{
    // The current preset's number and name may be as they were, but not
    // what the columns show and select.
    browser.forgetShownBank();
    followCurrentPreset();
}

void OldStylePresetBrowserWindow::updateButtons()
{
    const bool oneGroup = browser.getGroupColumn() != nullptr && browser.getGroupColumn()->getSingleSelectedRow() >= 0;
    addGroupButton.setEnabled (oneGroup);
    removeGroupButton.setEnabled (oneGroup && bank.getGroupSize (browser.getSelectedGroup()) == 0);
}

void OldStylePresetBrowserWindow::buttonClicked (juce::Button* button)
{
    if (button == &addGroupButton)
    {
        // The new group takes the selected one's place; that one moves down.
        bank.addGroup (browser.getSelectedGroup());
        browser.refresh();
    }
    else if (button == &removeGroupButton)
    {
        removeSelectedGroup();
    }
    else if (button == &copyButton)
    {
        bank.copyCurrentPreset();
    }
    else if (button == &pasteButton)
    {
        bank.pasteCopiedPreset();
    }
    else if (button == &upButton)
    {
        bank.selectPreviousPreset();
    }
    else if (button == &downButton)
    {
        bank.selectNextPreset();
    }
    else if (button == &loadPresetButton)
    {
        loadPreset();
    }
    else if (button == &savePresetButton)
    {
        savePreset();
    }
    else if (button == &loadBankButton)
    {
        loadBank();
    }
    else if (button == &saveBankButton)
    {
        saveBank();
    }
    else
    {
        WindowComponent::buttonClicked (button);
    }
}

void OldStylePresetBrowserWindow::removeSelectedGroup()
{
    const int group = browser.getSelectedGroup();

    if (bank.removeEmptyGroup (group))
        browser.groupRemoved (group);

    browser.refresh();
}

//==============================================================================
void OldStylePresetBrowserWindow::loadPreset()
{
    FileDialogs::open (*this, "Load single preset", bank.getRecentlyUsedDirectory(), bank.getPresetFileWildcards(),
                       [this] (const std::optional<juce::File>& chosen)
                       {
                           if (! chosen.has_value())
                               return;

                           // Into the current preset's slot only.
                           if (! bank.loadPresetFile (*chosen, bank.getCurrentPreset()))
                           {
                               showReadFailure ("Load single preset", *chosen);
                               return;
                           }

                           bank.setRecentlyUsedDirectory (chosen->getParentDirectory());
                           followCurrentPreset();
                       });
}

void OldStylePresetBrowserWindow::loadBank()
{
    FileDialogs::open (*this, "Load preset bank", bank.getRecentlyUsedDirectory(), bank.getPresetBankFileWildcards(),
                       [this] (const std::optional<juce::File>& chosen)
                       {
                           if (! chosen.has_value())
                               return;

                           // The bank records the folder itself.
                           if (bank.loadPresetBankFile (*chosen))
                               followCurrentPreset();
                           else
                               showReadFailure ("Load preset bank", *chosen);
                       });
}

void OldStylePresetBrowserWindow::savePreset()
{
    const auto extension = bank.getPresetFileExtension();
    saver.save ({ "Save current settings as preset", bank.getRecentlyUsedDirectory(), BasePlugin::makeWildcard (extension), extension,
                  xmlWriter ([this] { return bank.createPresetXmlAt (bank.getCurrentPreset()); }),
                  bank.getPresetName (bank.getCurrentPreset()) },
                [this] (FileSaver::Outcome outcome, const juce::File& file)
                {
                    if (outcome == FileSaver::Outcome::saved)
                        bank.setRecentlyUsedDirectory (file.getParentDirectory());
                });
}

void OldStylePresetBrowserWindow::saveBank()
{
    const auto extension = bank.getPresetBankFileExtension();
    saver.save ({ "Save preset bank", bank.getRecentlyUsedDirectory(), BasePlugin::makeWildcard (extension), extension,
                  xmlWriter ([this] { return bank.createPresetBankXml(); }), bank.getPresetBank().getBankName() },
                [this] (FileSaver::Outcome outcome, const juce::File& file)
                {
                    if (outcome == FileSaver::Outcome::saved)
                        bank.setRecentlyUsedDirectory (file.getParentDirectory());
                });
}

void OldStylePresetBrowserWindow::showReadFailure (const juce::String& alertTitle, const juce::File& file)
{
    alert = Kyx::showOkAlert (alertTitle, "Could not read '" + file.getFullPathName() + "'.", this);
    addChildComponent (*alert);
    alert->show();
}

void OldStylePresetBrowserWindow::alertWindowClosed (Kyx::AlertWindow* window, int)
{
    // Its last call: the alert may go now.
    if (window == alert.get())
        alert.reset();
}

//==============================================================================
void OldStylePresetBrowserWindow::resized()
{
    WindowComponent::resized();

    // The labels and buttons take their sizes from the look and its font.
    for (auto* label : { &presetLabel, &bankLabel })
        label->setSize (label->getTextWidth() + label->getBorderSize().getLeftAndRight(), buttonRowHeight);

    for (auto* button : { &loadPresetButton, &savePresetButton, &loadBankButton, &saveBankButton })
        button->changeWidthToFitText (buttonRowHeight);

    const auto content = getContentArea();
    toolbar.setTopLeftPosition (content.getPosition());
    buttonRow.setTopLeftPosition (content.getRight() - 6 - buttonRow.getWidth(), content.getBottom() - buttonRow.getHeight());
    browser.setBounds (content.withTrimmedLeft (toolbar.getWidth() + 5)
                           .withTrimmedBottom (buttonRow.getHeight() + 6)
                           .withTrimmedRight (1));
}
