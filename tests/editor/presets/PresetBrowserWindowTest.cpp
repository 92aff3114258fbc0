#include "PresetBrowserTestSupport.h"

#include "tests/editor/TestPicture.h"

#include <thread>

namespace
{
// The index of a preset's record now, found by its name (the factory names are unique).
int indexOfName (BasePluginOldStyle& bank, const juce::String& name)
{
    for (int i = 0; i < PresetBank::numPresets; ++i)
        if (bank.getPresetName (i) == name)
            return i;
    return -1;
}

// The texts the column's rows show, top to bottom.
std::vector<juce::String> shownTexts (ColumnBrowser::ListColumn& column)
{
    std::vector<juce::String> texts;
    for (int row = 0; auto* item = dynamic_cast<ColumnBrowser::ListColumn::ItemComponent*> (column.getList().getComponentForRowNumber (row)); ++row)
        texts.push_back (item->getTextInput().getText());
    return texts;
}
} // namespace

TEST_F (PresetBrowserTest, OpensOnTheCurrentGroupAndRowAndPaints)
{
    product->setCurrentPreset (20, true); // row 5 of "Not used"
    open();
    EXPECT_EQ (window->getTitle(), "Preset Browser");
    EXPECT_EQ (selected (groups()), std::vector<int> { 1 });
    EXPECT_EQ (presets().getGroup(), 1);
    EXPECT_EQ (selected (presets()), std::vector<int> { 5 });

    // The image shows the window as the user sees it, the selected row marked.
    const auto image = toolkit_test::paintOver (*window);
    editor_testing::writeTestPicture (image, "preset-browser.png");
    const auto selectedRow = presets().getBoundsInParent() + browser().getPosition() + presets().getList().getRowPosition (5, true).getPosition() + juce::Point<int> (4, 4);
    EXPECT_EQ (image.getPixelAt (selectedRow.getX() + 100, selectedRow.getY() + 3).getARGB(), 0xFFADADADu) << "the selected row's face";
}

TEST_F (PresetBrowserTest, ChoosingAPresetAppliesItButNotTheCurrentOneAgain)
{
    open();
    auto& parameters = product->getParameterManager();
    const float stored = product->getPreset (3)->getValue (0);

    presets().showRow (3);
    presets().selectItem (3);
    testing_support::runPendingMessages();
    EXPECT_EQ (product->getCurrentPreset(), 3);
    EXPECT_FLOAT_EQ (parameters.getNormalised (0), stored);

    parameters.setNormalised (0, stored > 0.5f ? 0.1f : 0.9f); // an edit not stored
    const float edited = parameters.getNormalised (0);
    presets().selectItem (3);
    EXPECT_FLOAT_EQ (parameters.getNormalised (0), edited);

    // Stepping with the toolbar moves the browser along.
    click (Action::down);
    EXPECT_EQ (product->getCurrentPreset(), 4);
    EXPECT_EQ (selected (presets()), std::vector<int> { 4 });
}

TEST_F (PresetBrowserTest, DropsMovePresetsAndGroups)
{
    struct Case
    {
        const char* what;
        std::vector<int> dragged; // rows of the first group; empty: the group column drags group 1
        bool ontoGroups;          // dropped on the group column, else on the preset column
        int row, pixel;           // where
        std::vector<int> movedTo; // where the dragged presets' records stand afterwards (bank indexes)
        std::vector<int> selectedAfter;
    };
    const Case cases[] = {
        { "preset 3 before row 6", { 3 }, false, 6, 2, { 5 }, { 5 } },
        { "preset 3 before row 4", { 3 }, false, 4, 2, { 3 }, { 3 } },
        { "preset 3 after row 6", { 3 }, false, 6, 17, { 6 }, { 6 } },
        { "three presets onto group 1", { 1, 2, 3 }, true, 1, 10, { 125, 126, 127 }, {} },
        { "group 1 after group 0", {}, true, 0, 17, {}, {} },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        product = makeProduct();
        product->setCurrentPreset (2, true);
        open();
        const auto before = bankOrder (*product);
        const auto currentName = product->getPresetName (2);
        std::vector<juce::String> names;
        juce::SparseSet<int> rows;
        for (const int row : c.dragged)
        {
            names.push_back (product->getPresetName (row));
            rows.addRange ({ row, row + 1 });
        }
        presets().getList().setSelectedRows (rows, juce::dontSendNotification);
        if (c.dragged.empty())
            groups().showRow (1);

        auto& source = c.dragged.empty() ? static_cast<ColumnBrowser::ListColumn&> (groups()) : presets();
        drop (source, c.ontoGroups ? static_cast<ColumnBrowser::ListColumn&> (groups()) : presets(), c.row, c.pixel);

        for (size_t i = 0; i < names.size(); ++i)
            EXPECT_EQ (indexOfName (*product, names[i]), c.movedTo[i]);
        if (c.dragged.empty() || c.movedTo == c.dragged)
        {
            EXPECT_EQ (bankOrder (*product), before) << "nothing moved";
        }
        EXPECT_EQ (product->getPresetName (product->getCurrentPreset()), currentName) << "the current preset follows its record";
        EXPECT_EQ (selected (presets()), c.selectedAfter);
        window.reset();
    }
}

TEST_F (PresetBrowserTest, TheGroupButtonsFollowTheSelection)
{
    open();
    auto& add = window->getButton (Action::addGroup);
    auto& remove = window->getButton (Action::removeGroup);
    EXPECT_TRUE (add.isEnabled());
    EXPECT_FALSE (remove.isEnabled()) << "the first group holds presets";

    // A click below the last group clears the selection and closes the presets.
    const juce::Point<float> below (20.0f, 200.0f);
    groups().getList().getModel()->backgroundClicked (widget_testing::mouseAt (groups().getList(), below, below));
    EXPECT_EQ (browser().getNumColumns(), 1);
    EXPECT_FALSE (add.isEnabled());
    EXPECT_FALSE (remove.isEnabled());

    // A new group takes the place of the one chosen, and is empty.
    groups().showRow (1);
    groups().selectItem (1);
    click (Action::addGroup);
    ASSERT_EQ (product->getNumGroups(), 3);
    EXPECT_EQ (product->getGroupName (1), "New Group");
    EXPECT_EQ (selected (groups()), std::vector<int> { 1 });
    EXPECT_TRUE (add.isEnabled());
    EXPECT_TRUE (remove.isEnabled());

    click (Action::removeGroup);
    EXPECT_EQ (product->getNumGroups(), 2);
    EXPECT_EQ (product->getGroupName (1), "Not used");
    EXPECT_EQ (selected (groups()), std::vector<int> { 1 });
    EXPECT_EQ (presets().getGroup(), 1);
    EXPECT_FALSE (remove.isEnabled());

    click (Action::removeGroup); // a group with presets stays
    EXPECT_EQ (product->getNumGroups(), 2);
}

// The audio thread applies a program change; the browser follows once the
// message thread delivers the deferred notifications.
TEST_F (PresetBrowserTest, AProgramChangeOffTheMessageThreadMovesTheBrowserLater)
{
    open();
    product->setPlayConfigDetails (0, product->getNumHostOutputChannels(), 48000.0, 256);
    product->prepareToPlay (48000.0, 256);

    std::thread audio ([this]
    {
        juce::AudioBuffer<float> buffer (product->getNumHostOutputChannels(), 256);
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::programChange (1, 20), 0);
        product->processBlock (buffer, midi);
        midi.clear();
        product->processBlock (buffer, midi);
    });
    audio.join();

    EXPECT_EQ (product->getCurrentPreset(), 20);
    EXPECT_EQ (presets().getGroup(), 0) << "nothing moves before the message thread's turn";
    product->pollAudioFlags();
    testing_support::runPendingMessages();
    EXPECT_EQ (selected (groups()), std::vector<int> { 1 });
    EXPECT_EQ (presets().getGroup(), 1);
    EXPECT_EQ (selected (presets()), std::vector<int> { 5 });
}

// A host restores a state whose bank holds other groups but the same current
// preset, so neither its number nor its name changes: once the message thread
// has its turn, the browser shows the new groups and the current preset, and
// nothing of what was selected before.
TEST_F (PresetBrowserTest, ARestoredStateWithOtherGroupsIsShown)
{
    open();
    juce::SparseSet<int> rows;
    rows.addRange ({ 0, 3 }); // the current preset and two more
    presets().getList().setSelectedRows (rows, juce::dontSendNotification);

    auto other = makeProduct();
    other->setGroupName (0, "Kits");
    other->addGroup (1);
    ASSERT_EQ (other->getCurrentPreset(), product->getCurrentPreset());
    ASSERT_EQ (other->getPresetName (0), product->getPresetName (0));
    juce::MemoryBlock chunk;
    other->getStateInformation (chunk);
    product->setStateInformation (chunk.getData(), (int) chunk.getSize());
    testing_support::runPendingMessages();

    EXPECT_EQ (shownTexts (groups()), (std::vector<juce::String> { "Kits", "New Group", "Not used" }));
    EXPECT_EQ (selected (groups()), std::vector<int> { 0 });
    EXPECT_EQ (presets().getGroup(), 0);
    EXPECT_EQ (selected (presets()), std::vector<int> { 0 });
}
