#include "editor/pages/PresetsSettingsUpdateAuthorWindow.h"

PresetsSettingsComponent::UpdateAuthorWindow::UpdateAuthorWindow (BasePlugin& plugin)
    : juce::Thread ("UpdateAuthorThread"),
      processor (plugin)
{
    setTitle ("Updating own presets");
    setSize (width, height);

    for (auto* label : { &messageLabel, &progressLabel, &currentFileLabel })
    {
        label->setJustificationType (juce::Justification::centredLeft);
        addAndMakeVisible (label);
    }

    cancelButton.changeWidthToFitText (22);
    cancelButton.addListener (this);
    addAndMakeVisible (cancelButton);
}

PresetsSettingsComponent::UpdateAuthorWindow::~UpdateAuthorWindow()
{
    stopTimer();
    stopThread (-1);
    cancelButton.removeListener (this);
}

void PresetsSettingsComponent::UpdateAuthorWindow::startUpdate()
{
    // A worker that has set its completion flag has nothing left to do, so
    // waiting for it is only waiting for it to return.
    if (isThreadRunning())
    {
        if (! completed)
            return;

        waitForThreadToExit (-1);
    }

    collectJobs();
    progressPercent = 0;
    numFailed = 0;
    cancelled = false;
    completed = false;
    setCurrentFileText ({});

    messageLabel.setText ("Operation can take a while. Please wait...", juce::dontSendNotification);
    progressLabel.setText ("Progress: 0%", juce::dontSendNotification);
    currentFileLabel.setText ({}, juce::dontSendNotification);
    progressLabel.setVisible (true);
    currentFileLabel.setVisible (true);
    cancelButton.setVisible (true);
    setCloseButtonShown (false);
    show();

    // Without a thread nothing is rewritten, which the window then tells.
    if (! startThread (juce::Thread::Priority::low) && ! startThread())
    {
        numFailed = (int) jobs.size();
        completed = true;
    }

    startTimer (timerIntervalMs);
}

void PresetsSettingsComponent::UpdateAuthorWindow::collectJobs()
{
    jobs.clear();

    for (int c = 0; c < processor.getNumPresetCollections(); ++c)
    {
        if (auto* collection = processor.getPresetCollection (c))
        {
            for (int i = 0; i < collection->getNumPresets(); ++i)
            {
                const auto file = collection->getPresetFile (i);
                const auto shownName = collection->getDisplayPath (i).dropLastCharacters (file.getFileExtension().length());
                jobs.push_back ({ file, shownName });
            }
        }
    }
}

void PresetsSettingsComponent::UpdateAuthorWindow::run()
{
    const int total = (int) jobs.size();
    int done = 0;

    for (const auto& job : jobs)
    {
        if (threadShouldExit())
        {
            cancelled = true;
            break;
        }

        // Only the user's own presets are rewritten; someone else's are
        // left alone and count as done.
        if (processor.updatePresetFileAuthor (job.file) == BasePlugin::AuthorUpdate::failed)
            ++numFailed;

        if (job.file.existsAsFile())
            setCurrentFileText (job.shownName);

        ++done;
        progressPercent = juce::jlimit (0, 100, done * 100 / total);
    }

    completed = true;
}

void PresetsSettingsComponent::UpdateAuthorWindow::timerCallback()
{
    if (! completed)
    {
        progressLabel.setText ("Progress: " + juce::String (progressPercent.load()) + "%", juce::dontSendNotification);
        currentFileLabel.setText (getCurrentFileText(), juce::dontSendNotification);
        return;
    }

    stopTimer();

    // The collections are read again here, on the message thread, where
    // the browser reads them.
    for (int c = 0; c < processor.getNumPresetCollections(); ++c)
        if (auto* collection = processor.getPresetCollection (c))
            collection->scan();

    showOutcome();
}

void PresetsSettingsComponent::UpdateAuthorWindow::showOutcome()
{
    juce::String outcome;

    if (cancelled)
        outcome = "Operation has been cancelled.";
    else if (const int failed = numFailed.load(); failed > 0)
        outcome = "Operation completed with " + juce::String (failed) + (failed == 1 ? " error." : " errors.");
    else
        outcome = "Operation completed.";

    messageLabel.setText (outcome, juce::dontSendNotification);
    progressLabel.setVisible (false);
    currentFileLabel.setVisible (false);
    cancelButton.setVisible (false);
    setCloseButtonShown (true);
}

void PresetsSettingsComponent::UpdateAuthorWindow::buttonClicked (juce::Button* button)
{
    if (button == &cancelButton)
        signalThreadShouldExit();
    else
        WindowComponent::buttonClicked (button);
}

void PresetsSettingsComponent::UpdateAuthorWindow::setCurrentFileText (const juce::String& text)
{
    const juce::ScopedLock sl (currentFileLock);
    currentFileText = text;
}

juce::String PresetsSettingsComponent::UpdateAuthorWindow::getCurrentFileText() const
{
    const juce::ScopedLock sl (currentFileLock);
    return currentFileText;
}

void PresetsSettingsComponent::UpdateAuthorWindow::resized()
{
    WindowComponent::resized();

    auto area = getContentArea();
    cancelButton.setTopRightPosition (area.getRight(), area.getBottom() - cancelButton.getHeight());

    for (auto* label : { &messageLabel, &progressLabel, &currentFileLabel })
        label->setBounds (area.removeFromTop (lineHeight));
}
