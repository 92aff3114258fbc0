#include "toolkit/widgets/FileSaver.h"

FileSaver::FileSaver (juce::Component& ownerComponent)
    : owner (ownerComponent)
{
}

FileSaver::~FileSaver() = default;

bool FileSaver::save (Request newRequest, Callback newCallback)
{
    if (saving)
        return false;

    saving = true;
    request = std::move (newRequest);
    callback = std::move (newCallback);
    target = juce::File();

    const auto start = request.documentName.isEmpty()
                           ? request.start
                           : proposeFile (request.start, request.documentName, request.filter, request.extension);
    FileDialogs::save (owner, request.title, start, request.filter,
                       [self = juce::WeakReference<FileSaver> (this)] (const std::optional<juce::File>& chosen)
                       {
                           if (auto* saver = self.get())
                               saver->fileChosen (chosen);
                       });
    return true;
}

juce::File FileSaver::settleExtension (const juce::File& chosen, const juce::String& filter, const juce::String& extension)
{
    if (extension.isEmpty())
        return chosen;

    const auto dotted = extension.startsWithChar ('.') ? extension : "." + extension;
    juce::StringArray accepted { dotted };

    for (auto pattern : juce::StringArray::fromTokens (filter, ";,", {}))
    {
        pattern = pattern.trim();

        if (pattern.startsWith ("*.") && ! pattern.substring (2).containsAnyOf ("*?") && pattern.length() > 2)
            accepted.add (pattern.substring (1));
    }

    return chosen.hasFileExtension (accepted.joinIntoString (";")) ? chosen
                                                                   : juce::File (chosen.getFullPathName() + dotted);
}

juce::File FileSaver::proposeFile (const juce::File& folder, const juce::String& documentName,
                                  const juce::String& filter, const juce::String& extension)
{
    const auto name = juce::File::createLegalFileName (documentName).trim();

    if (name.isEmpty() || name.containsOnly ("."))
        return folder;

    // The start may be a file in the folder (the last one saved).
    const auto inFolder = folder.existsAsFile() ? folder.getParentDirectory() : folder;
    return settleExtension (inFolder.getChildFile (name), filter, extension);
}

bool FileSaver::writeThroughTemporaryFile (const juce::File& target, const Writer& write)
{
    if (target == juce::File() || target.isDirectory() || ! write)
        return false;

    const juce::TemporaryFile temporary (target, juce::TemporaryFile::useHiddenFile);

    {
        juce::FileOutputStream out (temporary.getFile());

        if (! out.openedOk() || ! write (out))
            return false;

        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    // A rename within the folder: the target is the old file or the new one,
    // never a part of either. The temporary file goes with its object.
    return temporary.getFile().replaceFileIn (target);
}

void FileSaver::fileChosen (const std::optional<juce::File>& chosen)
{
    if (! chosen.has_value())
    {
        finish (Outcome::cancelled, {});
        return;
    }

    target = settleExtension (*chosen, request.filter, request.extension);

    if (target != *chosen && target.exists())
    {
        askingToOverwrite = true;
        showAlert (Kyx::showYesCancelAlert (request.title, "Do you want to overwrite '" + target.getFileName() + "' ?", this));
        return;
    }

    writeAndFinish();
}

void FileSaver::writeAndFinish()
{
    if (writeThroughTemporaryFile (target, request.write))
    {
        finish (Outcome::saved, target);
        return;
    }

    // The owner hears of the failure once the user has read it: told at
    // once, it could delete this saver, and the alert with it, unseen.
    showAlert (Kyx::showOkAlert (request.title, "Could not write '" + target.getFullPathName() + "'.", this));
}

void FileSaver::showAlert (std::unique_ptr<Kyx::AlertWindow> newAlert)
{
    alert = std::move (newAlert);
    owner.addChildComponent (*alert);
    alert->show();
}

void FileSaver::alertWindowClosed (Kyx::AlertWindow* window, int result)
{
    if (window != alert.get())
        return;

    // Deleting the alert here is allowed: this is its last call.
    const auto closed = std::move (alert);

    if (! askingToOverwrite)
    {
        finish (Outcome::failed, target); // the failure notice was read
        return;
    }

    askingToOverwrite = false;

    if (result == Kyx::AlertWindow::yesResult)
        writeAndFinish();
    else
        finish (Outcome::cancelled, {});
}

void FileSaver::finish (Outcome outcome, const juce::File& file)
{
    saving = false;
    const auto done = std::move (callback);
    callback = nullptr;

    // Last: the caller may delete this saver.
    if (done)
        done (outcome, file);
}
