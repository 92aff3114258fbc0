#pragma once

#include "toolkit/widgets/FileDialogs.h"
#include "toolkit/windows/AlertWindow.h"

#include <functional>
#include <memory>

// The one way the editor saves a user's document to a file of their choice:
//  1. the save dialog asks for the file;
//  2. the extension is settled: a name that carries none of the filter's
//     extensions gets the default one;
//  3. when that made another name and a file of that name exists, an alert
//     asks before overwriting it (the dialog only asked about the name
//     chosen);
//  4. the document is written into a temporary file beside the target, which
//     then replaces it, so a failed write leaves the old file as it was;
//  5. a failure is told to the user in an alert, and to the caller once the
//     user has closed it, so the caller may delete the saver in its callback
//     whatever the outcome.
// The caller hears the outcome; only a saved file should move its recently
// used folder. The owner component's nearest file dialogs and Desktop serve
// the dialog and the alerts; one save runs at a time. Message thread.
class FileSaver : private Kyx::AlertWindow::Caller
{
public:
    // Writes the document; false when it could not.
    using Writer = std::function<bool (juce::OutputStream& out)>;

    struct Request
    {
        juce::String title;     // of the dialog and the alerts
        juce::File start;       // the folder to start in, or a file in it
        juce::String filter;    // "*.xrptrb;*.xml"
        juce::String extension; // ".xrptrb": added to a name that has none of the filter's
        Writer write;
        juce::String documentName = {}; // the preset's, pattern's or bank's own name: the dialog proposes it in the start folder
    };

    enum class Outcome
    {
        saved,     // the file now holds the document
        cancelled, // by the dialog or the overwrite question; nothing written
        failed     // nothing written; the user has read why
    };

    // Message thread, from the message loop. The file is the one saved or
    // that failed; none for a cancel.
    using Callback = std::function<void (Outcome outcome, const juce::File& file)>;

    explicit FileSaver (juce::Component& owner);
    ~FileSaver() override;

    FileSaver (const FileSaver&) = delete;
    FileSaver& operator= (const FileSaver&) = delete;

    // Starts a save; false (and nothing done) while another one runs.
    bool save (Request request, Callback callback);
    bool isSaving() const noexcept { return saving; }

    // The file with the default extension added when its name has none of
    // the filter's extensions (compared ignoring case).
    static juce::File settleExtension (const juce::File& chosen, const juce::String& filter, const juce::String& extension);

    // The file a save dialog proposes for a document of that name in the
    // folder (or the folder of a file given in its place): the name made fit for a file name, with the extension settled;
    // the folder itself when nothing of the name is left.
    static juce::File proposeFile (const juce::File& folder, const juce::String& documentName,
                                   const juce::String& filter, const juce::String& extension);

    // Writes through a temporary file in the target's folder that then
    // replaces the target; false, with the target untouched, on any failure.
    static bool writeThroughTemporaryFile (const juce::File& target, const Writer& write);

private:
    void fileChosen (const std::optional<juce::File>& chosen);
    void writeAndFinish();
    void showAlert (std::unique_ptr<Kyx::AlertWindow> newAlert);
    void finish (Outcome outcome, const juce::File& file);
    void alertWindowClosed (Kyx::AlertWindow* window, int result) override;

    juce::Component& owner;
    Request request;
    Callback callback;
    juce::File target;
    bool saving = false;
    bool askingToOverwrite = false;
    std::unique_ptr<Kyx::AlertWindow> alert;

    JUCE_DECLARE_WEAK_REFERENCEABLE (FileSaver)
};
