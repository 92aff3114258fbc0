#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <optional>

// What one open or save dialog asks for.
struct FileDialogRequest
{
    enum Mode
    {
        openFile,
        saveFile
    };

    Mode mode = openFile;
    juce::String title;
    juce::File start;     // the folder the dialog starts in, or a file in it (preselected)
    juce::String filter;  // wildcards separated by ';' ("*.xrptrb;*.xml"); empty: every file
};

// The dialog's answer: the chosen file, or nothing when it was cancelled.
using FileDialogCallback = std::function<void (const std::optional<juce::File>& chosen)>;

// Every open and save dialog of the editor goes through this one interface,
// so that tests can answer them in place of the system. Nothing blocks: a
// request returns at once and the answer comes later, from the message loop.
// Message thread.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;

    // Shows the dialog for the asking component. The callback runs once,
    // later, from the message loop (never inside this call), with the chosen
    // file or with nothing for a cancel. A save dialog has already asked
    // before answering with a file that exists.
    virtual void launch (juce::Component& asking, const FileDialogRequest& request, FileDialogCallback callback) = 0;

    // A component's request, through the dialogs that serve it (findFor).
    // The answer is dropped when the component is deleted before it comes.
    // A tooltip showing over the component's window goes first.
    static void show (juce::Component& asking, const FileDialogRequest& request, FileDialogCallback callback);
    static void open (juce::Component& asking, const juce::String& title, const juce::File& start,
                      const juce::String& filter, FileDialogCallback callback);
    static void save (juce::Component& asking, const juce::String& title, const juce::File& start,
                      const juce::String& filter, FileDialogCallback callback);

    // The dialogs of the nearest of the component and its parents that is a
    // FileDialogs itself (a test's stand-in), else the system's: JUCE's file
    // browser in a dialog window of its own, transient for the window that
    // holds the asking component (the host's), one per request, kept until
    // it has answered.
    static FileDialogs& findFor (juce::Component& component);
};
