#include "toolkit/widgets/FileDialogs.h"

#include "toolkit/windows/NativeWindow.h"
#include "toolkit/windows/OwnerWatch.h"
#include "toolkit/windows/Tooltips.h"

namespace
{
// The system's dialogs: JUCE's file browser in its dialog box, a window of
// its own on the desktop, made transient for the window holding the editor
// before it shows, so that it stays above the host's window. (The desktop's
// own choosers run as other programs that cannot be told whose dialog they
// are, and would change the host's working folder.) One object per process,
// released when JUCE shuts down, which closes any dialog still open.
class SystemFileDialogs : public FileDialogs,
                          private juce::DeletedAtShutdown
{
public:
    // The dialogs, and the questions JUCE asks from them, draw with JUCE's
    // own look but for its alert sound: a click beside a dialog would write
    // a bell character to the host's standard output.
    SystemFileDialogs() { juce::LookAndFeel::setDefaultLookAndFeel (&quietLook); }

    ~SystemFileDialogs() override
    {
        running.clear();
        juce::LookAndFeel::setDefaultLookAndFeel (nullptr);
        clearSingletonInstance();
    }

    void launch (juce::Component& asking, const FileDialogRequest& request, FileDialogCallback callback) override
    {
        // Kept here until it has answered.
        auto* dialog = running.add (std::make_unique<Dialog> (request, std::move (callback)));
        auto* owner = asking.getTopLevelComponent();
        const bool ownerShows = owner->isOnDesktop();
        dialog->box.centreWithDefaultSize (ownerShows ? owner : nullptr);

        if (ownerShows)
            makeTransientForWindowOf (dialog->box, *owner);

        // A dialog whose editor is hidden or closed goes with it, at once:
        // the host sends no idle call after closing its window.
        dialog->ownerWatch = std::make_unique<OwnerWatch> (asking, OwnerWatch::Ends::whenGone, [this, dialog] { cancel (dialog); });

        const auto finished = [self = juce::WeakReference<SystemFileDialogs> (this), dialog] (int result)
        {
            if (auto* dialogs = self.get(); dialogs != nullptr && dialogs->running.contains (dialog))
                dialogs->answer (dialog, result != 0 ? dialog->browser.getSelectedFile (0) : juce::File());
        };
        dialog->box.enterModalState (true, juce::ModalCallbackFunction::create (finished), false);
    }

    JUCE_DECLARE_SINGLETON_SINGLETHREADED_MINIMAL (SystemFileDialogs)

private:
    struct Dialog
    {
        Dialog (const FileDialogRequest& request, FileDialogCallback answerCallback)
            : filter (request.filter.isEmpty() ? "*" : request.filter, {}, {}),
              browser (request.mode == FileDialogRequest::saveFile
                           ? juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles
                           : juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles,
                       request.start, &filter, nullptr),
              box (request.title, {}, browser, request.mode == FileDialogRequest::saveFile,
                   browser.findColour (juce::AlertWindow::backgroundColourId)),
              callback (std::move (answerCallback))
        {
        }

        ~Dialog() { box.exitModalState (0); }

        juce::WildcardFileFilter filter;
        juce::FileBrowserComponent browser;
        juce::FileChooserDialogBox box;
        FileDialogCallback callback;
        bool answered = false;
        std::unique_ptr<OwnerWatch> ownerWatch;
    };

    // The one answer of a dialog: the chosen file, or nothing.
    void answer (Dialog* dialog, const juce::File& chosen)
    {
        if (std::exchange (dialog->answered, true))
            return;

        auto callback = std::exchange (dialog->callback, nullptr);
        release (dialog);

        if (callback)
            callback (chosen == juce::File() ? std::nullopt : std::optional<juce::File> (chosen));
    }

    // Closes the dialog now, as a cancel, with whatever it opened in turn
    // (JUCE's question before overwriting a file, its new-folder box): those
    // stand above it among the modal windows.
    void cancel (Dialog* dialog)
    {
        if (dialog->answered)
            return;

        auto& modalWindows = *juce::ModalComponentManager::getInstance();
        juce::Array<juce::Component*> closing;

        for (int i = 0; i < modalWindows.getNumModalComponents(); ++i)
        {
            auto* window = modalWindows.getModalComponent (i);
            closing.add (window);

            if (window == &dialog->box)
                break;
        }

        if (! closing.contains (&dialog->box))
            closing = { &dialog->box };

        // JUCE deletes the windows it made once the loop runs again; off the
        // desktop they are gone from the screen now.
        for (auto* window : closing)
        {
            window->exitModalState (0);
            window->removeFromDesktop();
        }

        answer (dialog, {});
    }

    // The dialog may still be running the call that answers: it is deleted
    // from the message loop afterwards.
    void release (Dialog* dialog)
    {
        juce::MessageManager::callAsync ([self = juce::WeakReference<SystemFileDialogs> (this), dialog]
        {
            if (auto* dialogs = self.get())
                dialogs->running.removeObject (dialog);
        });
    }

    struct QuietLookAndFeel : juce::LookAndFeel_V4
    {
        void playAlertSound() override {}
    };

    QuietLookAndFeel quietLook;
    juce::OwnedArray<Dialog> running;

    JUCE_DECLARE_WEAK_REFERENCEABLE (SystemFileDialogs)
};

JUCE_IMPLEMENT_SINGLETON (SystemFileDialogs)
} // namespace

void FileDialogs::show (juce::Component& asking, const FileDialogRequest& request, FileDialogCallback callback)
{
    hideTooltipsOver (asking);
    findFor (asking).launch (asking, request, [alive = juce::Component::SafePointer<juce::Component> (&asking),
                                       answer = std::move (callback)] (const std::optional<juce::File>& chosen)
    {
        if (alive != nullptr && answer)
            answer (chosen);
    });
}

void FileDialogs::open (juce::Component& asking, const juce::String& title, const juce::File& start,
                        const juce::String& filter, FileDialogCallback callback)
{
    show (asking, { FileDialogRequest::openFile, title, start, filter }, std::move (callback));
}

void FileDialogs::save (juce::Component& asking, const juce::String& title, const juce::File& start,
                        const juce::String& filter, FileDialogCallback callback)
{
    show (asking, { FileDialogRequest::saveFile, title, start, filter }, std::move (callback));
}

FileDialogs& FileDialogs::findFor (juce::Component& component)
{
    for (auto* c = &component; c != nullptr; c = c->getParentComponent())
        if (auto* dialogs = dynamic_cast<FileDialogs*> (c))
            return *dialogs;

    return *SystemFileDialogs::getInstance();
}
