// The persistent editor: made once at start-up, lent to every editor window
// the host opens, and deleted with the processor after its settings.
#include "ProcessorTestSupport.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
// Tells whether the settings file was there when it went.
struct Editor : juce::Component
{
    Editor (const juce::File& settings, bool& settingsWereWritten) : settingsFile (settings), written (settingsWereWritten)
    {
        setSize (300, 200);
    }
    ~Editor() override { written = settingsFile.existsAsFile(); }

    juce::File settingsFile;
    bool& written;
};

class ProductWithEditor : public TestProduct
{
public:
    ProductWithEditor (const juce::File& settings, bool& settingsWereWritten)
        : settingsFile (settings), written (settingsWereWritten)
    {
    }

    std::unique_ptr<juce::Component> createEditorComponent() override
    {
        ++editorsMade;
        return std::make_unique<Editor> (settingsFile, written);
    }

    using BasePlugin::getPersistentEditor;
    int editorsMade = 0;

private:
    juce::File settingsFile;
    bool& written;
};

using PersistentEditor = ProcessorTest;
} // namespace

TEST_F (PersistentEditor, EveryWindowShowsTheOneMadeAtStartUpAndClosingOnlyHidesIt)
{
    EXPECT_FALSE (makeProduct()->hasEditor());
    EXPECT_EQ (makeProduct()->createEditor(), nullptr);

    bool written = false;
    std::unique_ptr<ProductWithEditor> product (
        static_cast<ProductWithEditor*> (BasePlugin::startUp (std::make_unique<ProductWithEditor> (settingsFile(), written))));
    ASSERT_TRUE (product->hasEditor());
    auto* editor = product->getPersistentEditor();

    for (int window = 0; window < 2; ++window)
    {
        std::unique_ptr<juce::AudioProcessorEditor> shown (product->createEditor());
        ASSERT_NE (shown, nullptr);
        EXPECT_EQ (shown->getChildComponent (0), editor);
        EXPECT_EQ (shown->getBounds(), juce::Rectangle<int> (0, 0, 300, 200));
        EXPECT_TRUE (editor->isVisible());
        shown.reset();
        EXPECT_FALSE (editor->isVisible());
        EXPECT_EQ (editor->getParentComponent(), nullptr);
    }
    EXPECT_EQ (product->editorsMade, 1);
}

TEST_F (PersistentEditor, GoesWithTheProcessorAfterTheSettingsAreWritten)
{
    bool written = false;
    auto* product = static_cast<ProductWithEditor*> (BasePlugin::startUp (std::make_unique<ProductWithEditor> (settingsFile(), written)));
    product->setStoringMode (BasePluginOldStyle::automaticStoring); // a change, so that the settings are written
    delete product;
    EXPECT_TRUE (written);
}
