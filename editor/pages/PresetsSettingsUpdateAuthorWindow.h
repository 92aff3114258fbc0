#pragma once

#include "editor/pages/PresetsSettingsComponent.h"
#include "toolkit/windows/WindowComponent.h"

#include <atomic>
#include <vector>

// The progress window of the author update. A worker thread hands every
// preset file of the processor's collections to the processor's author
// update; the window's timer shows its progress and, once it is done, what
// it did: completed, completed with errors (files that named nothing or
// could not be rewritten), or cancelled. The collections are then scanned
// again, on the message thread, so that the browser shows the files as they
// are now.
//
// Threads: the list of files is made on the message thread before the
// worker starts and only read by it; the progress, the counts and the
// completion flag are atomic, the current file's name is under its lock; the
// labels are touched only on the message thread.
class PresetsSettingsComponent::UpdateAuthorWindow : public WindowComponent,
                                                     public juce::Timer,
                                                     public juce::Thread
{
public:
    static constexpr int width = 400, height = 300; // pixels
    static constexpr int timerIntervalMs = 50;
    static constexpr int lineHeight = 50; // pixels, each of the three text lines

    explicit UpdateAuthorWindow (BasePlugin& processor);
    // Stops the worker, waiting for it.
    ~UpdateAuthorWindow() override;

    // Message thread. Shows the window and starts the worker; nothing
    // happens while an update is still running.
    void startUpdate();

    // Message thread, every 50 ms while the window shows an update.
    void timerCallback() override;
    // Message thread: "Cancel" asks the worker to stop after its current
    // file; the close button hides the window.
    void buttonClicked (juce::Button* button) override;

    const juce::Label& getMessageLabel() const noexcept { return messageLabel; }
    const juce::Label& getProgressLabel() const noexcept { return progressLabel; }
    const juce::Label& getCurrentFileLabel() const noexcept { return currentFileLabel; }
    juce::Button& getCancelButton() noexcept { return cancelButton; }

    void resized() override;

private:
    // One preset file and the name it is shown under.
    struct Job
    {
        juce::File file;
        juce::String shownName; // the display path without the extension
    };

    // The worker thread.
    void run() override;
    void collectJobs();
    void showOutcome();
    void setCurrentFileText (const juce::String& text);
    juce::String getCurrentFileText() const;

    BasePlugin& processor;
    std::vector<Job> jobs;
    std::atomic<int> progressPercent { 0 };
    std::atomic<int> numFailed { 0 };
    std::atomic<bool> completed { false };
    std::atomic<bool> cancelled { false };
    juce::CriticalSection currentFileLock;
    juce::String currentFileText;

    juce::Label messageLabel, progressLabel, currentFileLabel;
    juce::TextButton cancelButton { "Cancel" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (UpdateAuthorWindow)
};
