#pragma once

#include "toolkit/widgets/FileDialogs.h"
#include "toolkit/windows/TestDesktop.h"

#include <deque>
#include <optional>
#include <vector>

namespace toolkit_test
{
// Answers file dialogs as a person would, from a script: each request takes
// the next answer ("chose this file" or "cancelled") and gets it from the
// message loop, as from a real dialog. A request with no answer left is
// cancelled. The requests are kept for the test to read.
class ScriptedFileDialogs : public FileDialogs
{
public:
    void choose (const juce::File& file) { answers.push_back (file); }
    void cancel() { answers.push_back (std::nullopt); }

    void launch (juce::Component&, const FileDialogRequest& request, FileDialogCallback callback) override
    {
        requests.push_back (request);
        std::optional<juce::File> answer;

        if (! answers.empty())
        {
            answer = answers.front();
            answers.pop_front();
        }

        juce::MessageManager::callAsync ([answer, callback] { callback (answer); });
    }

    std::vector<FileDialogRequest> requests;

private:
    std::deque<std::optional<juce::File>> answers;
};

// A test Desktop whose file dialogs are scripted: every component under it
// asks them.
class DialogDesktop : public TestDesktop,
                      public ScriptedFileDialogs
{
};
} // namespace toolkit_test
