#include "toolkit/widgets/FileDialogs.h"

#include "toolkit/windows/Tooltips.h"

namespace
{
// The system's dialogs: the native chooser (zenity or kdialog) where one is
// installed, JUCE's own dialog window otherwise. One object per process,
// released when JUCE shuts down, which closes any dialog still open.
class SystemFileDialogs : public FileDialogs,
                          private juce::DeletedAtShutdown
{
public:
    ~SystemFileDialogs() override { clearSingletonInstance(); }

    void launch (const FileDialogRequest& request, FileDialogCallback callback) override
    {
        const int flags = request.mode == FileDialogRequest::saveFile
                              ? juce::FileBrowserComponent::saveMode | juce::FileBrowserComponent::canSelectFiles
                                    | juce::FileBrowserComponent::warnAboutOverwriting
                              : juce::FileBrowserComponent::openMode | juce::FileBrowserComponent::canSelectFiles;

        // Kept here until it has answered: a chooser deleted early never does.
        auto* chooser = running.add (std::make_unique<juce::FileChooser> (request.title, request.start, request.filter));

        chooser->launchAsync (flags, [this, chooser, answer = std::move (callback)] (const juce::FileChooser& finished)
        {
            const auto result = finished.getResult();
            release (chooser);

            if (answer)
                answer (result == juce::File() ? std::nullopt : std::optional<juce::File> (result));
        });
    }

    JUCE_DECLARE_SINGLETON_SINGLETHREADED_MINIMAL (SystemFileDialogs)

private:
    // The chooser is still running the callback that calls this: it is
    // deleted from the message loop afterwards.
    void release (juce::FileChooser* chooser)
    {
        juce::MessageManager::callAsync ([self = juce::WeakReference<SystemFileDialogs> (this), chooser]
        {
            if (auto* dialogs = self.get())
                dialogs->running.removeObject (chooser);
        });
    }

    juce::OwnedArray<juce::FileChooser> running;

    JUCE_DECLARE_WEAK_REFERENCEABLE (SystemFileDialogs)
};

JUCE_IMPLEMENT_SINGLETON (SystemFileDialogs)
} // namespace

void FileDialogs::show (juce::Component& asking, const FileDialogRequest& request, FileDialogCallback callback)
{
    hideTooltipsOver (asking);
    findFor (asking).launch (request, [alive = juce::Component::SafePointer<juce::Component> (&asking),
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
