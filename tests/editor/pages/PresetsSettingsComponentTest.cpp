#include "FrameworkPagesTestKit.h"

#include "editor/pages/PresetsSettingsComponent.h"
#include "editor/pages/PresetsSettingsUpdateAuthorWindow.h"
#include "framework/presets/XmlFiles.h"

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// Holds the author update's worker inside its call for the nth file, so that
// the test sees the window while the worker runs.
struct WorkerGate
{
    void operator() (const juce::File&)
    {
        if (++calls == holdAtCall)
        {
            reached.signal();
            released.wait (-1);
        }
    }

    int holdAtCall = 0;
    std::atomic<int> calls { 0 };
    juce::WaitableEvent reached, released;
};

class PresetsSettingsPageTest : public pages_test::FrameworkPageTest
{
protected:
    void makePage()
    {
        page = std::make_unique<PresetsSettingsComponent> (*product);
        desktop.addAndMakeVisible (*page);
        page->setBounds (0, 0, 780, 400);
    }

    juce::File writePreset (const juce::String& path, const juce::String& attributes)
    {
        const auto file = presetsFolder().getChildFile (path);
        file.create();
        file.replaceWithText ("<Preset " + attributes + "><param name=\"Ride Level\" value=\"0.25\"/></Preset>");
        return file;
    }

    PresetsSettingsComponent::UpdateAuthorWindow& window() { return page->getUpdateAuthorWindow(); }
    juce::String message() { return window().getMessageLabel().getText(); }

    void clickUpdatePresets() { page->buttonClicked (&page->getUpdatePresetsButton()); }

    // The worker's end, then the window's next tick.
    void finishUpdate()
    {
        window().waitForThreadToExit (-1);
        window().timerCallback();
    }

    std::unique_ptr<PresetsSettingsComponent> page;
};

TEST_F (PresetsSettingsPageTest, WithoutCollectionsTheUpdateCompletesAtTheFirstTick)
{
    product = CollectionProduct::create (presetsFolder(), { false, false, true });
    makePage();

    clickUpdatePresets();
    ASSERT_TRUE (window().isVisible());
    EXPECT_EQ (message(), "Operation can take a while. Please wait...");
    EXPECT_EQ (window().getProgressLabel().getText(), "Progress: 0%");
    EXPECT_FALSE (window().getCloseButton().isVisible());

    finishUpdate();
    EXPECT_EQ (message(), "Operation completed.");
    EXPECT_FALSE (window().getCancelButton().isVisible() || window().getProgressLabel().isVisible());
    EXPECT_TRUE (window().getCloseButton().isVisible());

    // While the window shows, another click does nothing; once closed, it
    // starts again.
    clickUpdatePresets();
    EXPECT_EQ (message(), "Operation completed.");
    window().buttonClicked (&window().getCloseButton());
    EXPECT_FALSE (window().isVisible());
    clickUpdatePresets();
    EXPECT_EQ (message(), "Operation can take a while. Please wait...");
    finishUpdate();
}

// Own presets (no "id") get the author, others stay byte for byte but count
// towards the progress; Cancel stops after the current file.
TEST_F (PresetsSettingsPageTest, OwnPresetsGetTheAuthorUntilCancelled)
{
    const auto own = writePreset ("A.xrprs", "author=\"Old\"");
    const auto factory = writePreset ("B.xrprs", "id=\"F-1\" author=\"Maker\"");
    const auto factoryText = factory.loadFileAsString();
    const auto nested = writePreset ("Sub/C.xrprs", "");
    product->getPresets().scan();
    product->setAuthorName ("Me");
    makePage();

    WorkerGate gate;
    gate.holdAtCall = 2;
    product->beforeAuthorUpdate = [&gate] (const juce::File& file) { gate (file); };

    clickUpdatePresets();
    gate.reached.wait (-1);
    window().timerCallback();
    EXPECT_EQ (window().getProgressLabel().getText(), "Progress: 33%");
    EXPECT_EQ (window().getCurrentFileLabel().getText(), "Presets/A");
    window().buttonClicked (&window().getCancelButton());
    gate.released.signal();

    finishUpdate();
    EXPECT_EQ (message(), "Operation has been cancelled.");
    EXPECT_EQ (xmlfiles::readDocument (own)->getStringAttribute ("author"), "Me");
    EXPECT_EQ (xmlfiles::readDocument (own)->getNumChildElements(), 1);
    EXPECT_EQ (factory.loadFileAsString(), factoryText);
    EXPECT_FALSE (xmlfiles::readDocument (nested)->hasAttribute ("author"));
}

// A file that could not be rewritten, or that is gone, is counted and told:
// the update does not claim to have completed cleanly.
TEST_F (PresetsSettingsPageTest, FilesThatCouldNotBeRewrittenAreCounted)
{
    const auto written = writePreset ("Sub/A.xrprs", "");
    const auto gone = writePreset ("B.xrprs", "");
    const auto locked = writePreset ("Locked/C.xrprs", "author=\"Old\"");
    const auto lockedText = locked.loadFileAsString();
    product->getPresets().scan();
    gone.deleteFile();
    product->setAuthorName ("Me");
    makePage();

    // The worker may write where the folders let an ordinary user write,
    // except in "Locked". Root is made an ordinary user for the worker's
    // file access (setfsuid acts on the calling thread only).
    for (const auto& directory : { presetsFolder(), written.getParentDirectory(), locked.getParentDirectory() })
        ::chmod (directory.getFullPathName().toRawUTF8(), directory == locked.getParentDirectory() ? 0555 : 0777);
    if (::geteuid() == 0)
        product->beforeAuthorUpdate = [] (const juce::File&) { ::setfsuid (65534); };

    clickUpdatePresets();
    finishUpdate();
    ::chmod (locked.getParentDirectory().getFullPathName().toRawUTF8(), 0755);

    EXPECT_EQ (message(), "Operation completed with 2 errors.");
    EXPECT_EQ (xmlfiles::readDocument (written)->getStringAttribute ("author"), "Me");
    EXPECT_EQ (locked.loadFileAsString(), lockedText);
    EXPECT_EQ (product->getPresets().indexOf (gone), -1); // the collection was read again
    EXPECT_EQ (product->getPresets().getNumPresets(), 2);
}

TEST_F (PresetsSettingsPageTest, TheAuthorFieldSetsTheProcessorsAuthor)
{
    product->setAuthorName ("Someone");
    makePage();
    auto& editor = page->getAuthorEditor();
    EXPECT_EQ (editor.getText(), "Someone");
    EXPECT_EQ (page->getPresetsDirectoryLabel().getText(), "Presets directory: " + product->getUserDataFolder().getFullPathName());

    editor.setText ("Me", true);
    editor.textEditorReturnKeyPressed (editor);
    EXPECT_EQ (product->getAuthorName(), "Me");

    page->setPreferredWidth (320); // as the options window asks: the field keeps room beside its button
    EXPECT_EQ (page->getAuthorPanel().getWidth(), 320);
    EXPECT_GT (editor.getWidth(), 100);
}
} // namespace
