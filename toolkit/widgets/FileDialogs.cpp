#include "toolkit/widgets/FileDialogs.h"

#include "toolkit/windows/Tooltips.h"
#include "toolkit/windows/TransientWindow.h"

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
    ~SystemFileDialogs() override { clearSingletonInstance(); }

    void launch (juce::Component& asking, const FileDialogRequest& request, FileDialogCallback callback) override
    {
        // Kept here until it has answered.
        auto* dialog = running.add (std::make_unique<Dialog> (request));
        auto* owner = asking.getTopLevelComponent();
        const bool ownerShows = owner->isOnDesktop();
        dialog->box.centreWithDefaultSize (ownerShows ? owner : nullptr);

        if (ownerShows)
            makeTransientForWindowOf (dialog->box, *owner);

        const auto finished = [self = juce::WeakReference<SystemFileDialogs> (this), dialog,
                               answer = std::move (callback)] (int result)
        {
            auto* dialogs = self.get();

            if (dialogs == nullptr)
                return;

            const auto chosen = result != 0 ? dialog->browser.getSelectedFile (0) : juce::File();
            dialogs->release (dialog);

            if (answer)
                answer (chosen == juce::File() ? std::nullopt : std::optional<juce::File> (chosen));
        };
        dialog->box.enterModalState (true, juce::ModalCallbackFunction::create (finished), false);
    }

    JUCE_DECLARE_SINGLETON_SINGLETHREADED_MINIMAL (SystemFileDialogs)

private:
    struct Dialog
    {
        explicit Dialog (const FileDialogRequest& request)
            : filter (request.filter.isEmpty() ? "*" : request.filter, {}, {}),
              browser (request.mode == FileDialogRequest::saveFile
                           ? juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles
                           : juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles,
                       request.start, &filter, nullptr),
              box (request.title, {}, browser, request.mode == FileDialogRequest::saveFile,
                   browser.findColour (juce::AlertWindow::backgroundColourId))
        {
        }

        ~Dialog() { box.exitModalState (0); }

        juce::WildcardFileFilter filter;
        juce::FileBrowserComponent browser;
        juce::FileChooserDialogBox box;
    };

    // The dialog is still running the callback that calls this: it is
    // deleted from the message loop afterwards.
    void release (Dialog* dialog)
    {
        juce::MessageManager::callAsync ([self = juce::WeakReference<SystemFileDialogs> (this), dialog]
        {
            if (auto* dialogs = self.get())
                dialogs->running.removeObject (dialog);
        });
    }

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
