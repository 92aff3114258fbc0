// The editor's preset flows on the processor's preset collections: stepping
// to the next or previous preset, saving the current one into its file or
// into a new one, and the questions these ask on the way.
#include "editor/base/BasePluginEditor.h"

namespace
{
const juce::String saveChangesMessage ("Changes have been made to current preset. Do you want to save them or discard?");
const juce::String saveAsTitle ("Save current preset");
} // namespace

void BasePluginEditor::stepPreset (int direction)
{
    auto* collection = processor.getPresetCollection (presetsCollectionName);

    if (collection == nullptr)
        return;

    if (processor.isPresetModified (*collection))
        askToSaveChanges (collection->getName(), direction);
    else
        processor.selectAdjacentPreset (*collection, direction);
}

void BasePluginEditor::showPresetBrowser()
{
    if (presetBrowserWindow != nullptr && processor.getPresetCollection (presetsCollectionName) != nullptr)
        presetBrowserWindow->show();
}

void BasePluginEditor::askToSaveChanges (const juce::String& collectionName, int direction)
{
    saveChangesQuestion = { Kyx::showSaveOverwriteDiscardAlert (processor.getPluginName(), saveChangesMessage, this),
                            collectionName, direction, {} };
    showAlert (*saveChangesQuestion.alert);
}

void BasePluginEditor::askToOverwritePreset (const juce::String& collectionName, const juce::File& file)
{
    overwriteQuestion = { Kyx::showYesCancelAlert (processor.getPluginName(),
                                                   "Do you want to overwrite preset '" + file.getFileName() + "' ?", this),
                          collectionName, 0, file };
    showAlert (*overwriteQuestion.alert);
}

void BasePluginEditor::showAlert (Kyx::AlertWindow& alert)
{
    addChildComponent (alert);
    alert.show();
}

void BasePluginEditor::savePreset (const juce::String& collectionName)
{
    auto* collection = processor.getPresetCollection (collectionName);

    if (collection == nullptr)
        return;

    const auto file = processor.getCurrentPresetFile (*collection);

    if (file.existsAsFile())
        askToOverwritePreset (collectionName, file);
    else
        savePresetAs (collectionName);
}

void BasePluginEditor::savePresetAs (const juce::String& collectionName)
{
    auto* collection = processor.getPresetCollection (collectionName);

    if (collection == nullptr)
        return;

    // The collection is looked up again at each step: it may have gone while
    // the dialog was open. A save already under way keeps its dialog.
    const auto writer = [this, collectionName] (juce::OutputStream& out)
    {
        auto* target = processor.getPresetCollection (collectionName);

        if (target != nullptr)
            processor.writePreset (*target, out);

        return target != nullptr;
    };

    const auto saved = [this, collectionName] (FileSaver::Outcome outcome, const juce::File& file)
    {
        if (outcome == FileSaver::Outcome::saved)
            if (auto* target = processor.getPresetCollection (collectionName))
                processor.presetFileSaved (*target, file);
    };

    // A collection's preset is named by its file.
    presetSaver->save ({ saveAsTitle, collection->getRootDirectory(), BasePlugin::makeWildcard (collection->getFileExtension()),
                         collection->getFileExtension(), writer,
                         processor.getCurrentPresetFile (*collection).getFileNameWithoutExtension() },
                       saved);
}

void BasePluginEditor::writePresetFile (PresetCollection& collection, const juce::File& file)
{
    // The file is written through a temporary one: a failure leaves it as it was.
    if (processor.savePresetToFile (collection, file))
        return;

    saveFailureAlert = Kyx::showOkAlert (processor.getPluginName(), "Could not write '" + file.getFullPathName() + "'.", this);
    showAlert (*saveFailureAlert);
}

//==============================================================================
void BasePluginEditor::alertWindowClosed (Kyx::AlertWindow* window, int result)
{
    if (window == nullptr)
        return;

    window->hide();

    if (window == saveChangesQuestion.alert.get())
        answerSaveChanges (result);
    else if (window == overwriteQuestion.alert.get())
        answerOverwrite (result);
}

void BasePluginEditor::answerSaveChanges (int result)
{
    const auto& question = saveChangesQuestion;
    auto* collection = processor.getPresetCollection (question.collectionName);

    if (collection == nullptr)
        return;

    switch (result)
    {
        case Kyx::AlertWindow::overwriteResult:
            if (const auto file = processor.getCurrentPresetFile (*collection); file.existsAsFile())
                writePresetFile (*collection, file);
            else
                savePresetAs (question.collectionName);
            break;

        case Kyx::AlertWindow::saveAsResult:
            savePresetAs (question.collectionName);
            break;

        case Kyx::AlertWindow::discardResult:
            processor.selectAdjacentPreset (*collection, question.direction);
            break;

        default:
            break;
    }
}

void BasePluginEditor::answerOverwrite (int result)
{
    const auto& question = overwriteQuestion;

    if (result != Kyx::AlertWindow::yesResult || question.file.getFullPathName().isEmpty())
        return;

    if (auto* collection = processor.getPresetCollection (question.collectionName))
        writePresetFile (*collection, question.file);
}
