// The pattern menus of the drum machine's editor: loading a pattern into the
// edited one or a whole bank, and saving either. Message thread.
#include "editor/drummachine/DrumMachineEditor.h"

#include "editor/drummachine/PatternFileTypes.h"
#include "framework/presets/XmlFiles.h"
#include "toolkit/widgets/FileDialogs.h"

namespace
{
const char* const loadPatternTitle = "Load single pattern";
const char* const loadBankTitle = "Load pattern bank";
const char* const savePatternTitle = "Save current pattern";
const char* const saveBankTitle = "Save pattern bank";
} // namespace

void DrumMachineEditor::popupMenuItemChosen (PopupMenuEx* menu, int itemId, bool)
{
    auto* sequencer = drumMachine.getSequencer();
    if (sequencer == nullptr)
        return;

    if (menu == &loadMenu && itemId == patternItem)
        load (loadPatternTitle, sequencer->getPatternFileExtensions(), &DrumMachineSeq::loadPatternFile, "pattern");
    else if (menu == &loadMenu && itemId == bankItem)
        load (loadBankTitle, sequencer->getBankFileExtensions (getBankType()), &DrumMachineSeq::loadBankFile, "pattern bank");
    else if (menu == &saveMenu && itemId == patternItem)
        savePatternFile();
    else if (menu == &saveMenu && itemId == bankItem)
        saveBankFile();
}

int DrumMachineEditor::getBankType() const
{
    // A sequencer with separate stores works on the host store in host mode.
    const auto* sequencer = drumMachine.getSequencer();
    if (sequencer == nullptr || ! sequencer->hasHostAndNativePatterns())
        return DrumMachineSeq::singleBank;
    return drumMachine.isHostMode() ? DrumMachineSeq::hostBank : DrumMachineSeq::nativeBank;
}

//==== Loading =============================================================================

void DrumMachineEditor::load (const juce::String& title, const juce::String& extensions, PatternFileLoader loader,
                              const juce::String& what)
{
    FileDialogs::open (*this, title, drumMachine.getRecentlyUsedDirectory(), patternfiles::wildcardsOf (extensions),
                       [this, title, loader, what] (const std::optional<juce::File>& chosen)
                       {
                           auto* sequencer = drumMachine.getSequencer();
                           if (! chosen.has_value() || sequencer == nullptr)
                               return;

                           if (! (sequencer->*loader) (*chosen))
                           {
                               showReadFailure (title, *chosen, what);
                               return;
                           }
                           drumMachine.refreshPatternState();
                           drumMachine.setRecentlyUsedDirectory (chosen->getParentDirectory());
                       });
}

void DrumMachineEditor::showReadFailure (const juce::String& title, const juce::File& file, const juce::String& what)
{
    // Nothing changed; the user hears why.
    alert = Kyx::showOkAlert (title, "'" + file.getFullPathName() + "' holds no " + what + " that can be read.", this);
    addChildComponent (*alert);
    alert->show();
}

void DrumMachineEditor::alertWindowClosed (Kyx::AlertWindow* window, int result)
{
    if (window != alert.get())
    {
        BasePluginEditorOldStyle::alertWindowClosed (window, result);
        return;
    }
    // Its last call: the alert may go now.
    alert.reset();
}

//==== Saving ==============================================================================

void DrumMachineEditor::savePatternFile()
{
    auto* sequencer = drumMachine.getSequencer();
    const int edited = sequencer->getEditedPatternIndex();
    save (savePatternTitle, sequencer->getPatternFileExtension(), sequencer->getPatternFileExtensions(),
          sequencer->createPatternXml (edited, getBankType()), sequencer->getPatternName (edited));
}

void DrumMachineEditor::saveBankFile()
{
    auto* sequencer = drumMachine.getSequencer();
    const int type = getBankType();
    // A pattern bank has no name of its own to propose.
    save (saveBankTitle, sequencer->getBankFileExtension (type), sequencer->getBankFileExtensions (type),
          sequencer->createBankXml (type), {});
}

void DrumMachineEditor::save (const juce::String& title, const juce::String& extension, const juce::String& extensions,
                              std::shared_ptr<const juce::XmlElement> document, const juce::String& documentName)
{
    if (document == nullptr)
        return;

    // What the user saw when choosing the menu item. The saver settles the
    // extension before it asks about overwriting, and tells the user when
    // the file cannot be written; only a saved file moves the recently used
    // folder.
    FileSaver::Request request { title, drumMachine.getRecentlyUsedDirectory(), patternfiles::wildcardsOf (extensions), extension,
                                 [document] (juce::OutputStream& out)
                                 {
                                     xmlfiles::writeDocument (*document, out);
                                     return true;
                                 },
                                 documentName };
    saver.save (std::move (request), [this] (FileSaver::Outcome outcome, const juce::File& file)
                {
                    if (outcome == FileSaver::Outcome::saved)
                        drumMachine.setRecentlyUsedDirectory (file.getParentDirectory());
                });
}
