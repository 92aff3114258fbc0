#include "toolkit/windows/TestDesktop.h"

#include "toolkit/browser/ListColumnRows.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace
{
using DropMode = ColumnBrowser::ListColumn::DropMode;

// What the tree's columns were asked to do, and how they answer.
struct Tree
{
    std::vector<std::string> log;
    int numItems = 5;
    std::set<std::pair<int, int>> leaves; // (depth, row): items without a child column
    bool childKeepsParent = true;
    bool ontoItems = true, before = true, after = true, onColumn = true;
};

// A column of a tree three levels deep: depth d lists the children of one
// item of depth d - 1, and keeps every column of a smaller depth.
class TreeColumn : public ColumnBrowser::ListColumn
{
public:
    TreeColumn (ColumnBrowser& owner, Tree& t, int d) : ListColumn (owner), tree (t), depth (d) {}

    static int depthOf (Column& column)
    {
        auto* tree = dynamic_cast<TreeColumn*> (&column);
        return tree != nullptr ? tree->depth : -1;
    }

    bool keepsColumn (Column& column) override { return tree.childKeepsParent && depthOf (column) < depth; }
    bool isChildOf (Column& column) override { return depthOf (column) == depth - 1; }
    std::unique_ptr<Column> createParentColumn() override
    {
        return depth > 0 ? std::make_unique<TreeColumn> (getBrowser(), tree, depth - 1) : nullptr;
    }
    int getNumItems() override { return tree.numItems; }
    juce::String getItemText (int row) override { return juce::String (depth) + "." + juce::String (row); }
    bool itemHasChildren (int row) override { return depth < 2 && tree.leaves.count ({ depth, row }) == 0; }
    std::unique_ptr<Column> createChildColumn (int row) override
    {
        return itemHasChildren (row) ? std::make_unique<TreeColumn> (getBrowser(), tree, depth + 1) : nullptr;
    }
    void itemSelected (int row) override { note ("selected " + std::to_string (row)); }
    void renameItem (int row, const juce::String& text) override { note ("rename " + std::to_string (row) + " " + text.toStdString()); }

    bool canDropOnColumn (ListColumn&) override { return tree.onColumn; }
    bool canDropOntoItem (ListColumn&, int) override { return tree.ontoItems; }
    bool canInsertBefore (ListColumn&, int) override { return tree.before; }
    bool canInsertAfter (ListColumn&, int) override { return tree.after; }
    void dropOnColumn (ListColumn& source) override { noteDrop ("on column", source, -1); }
    void dropOntoItem (ListColumn& source, int row) override { noteDrop ("onto", source, row); }
    void insertBefore (ListColumn& source, int row) override { noteDrop ("before", source, row); }
    void insertAfter (ListColumn& source, int row) override { noteDrop ("after", source, row); }

private:
    void note (const std::string& what) { tree.log.push_back (std::to_string (depth) + ": " + what); }

    void noteDrop (const std::string& what, ListColumn& source, int row)
    {
        std::string rows;
        const auto selected = source.getSelectedRows();
        for (int i = 0; i < selected.size(); ++i)
            rows += std::to_string (selected[i]);
        note (what + " " + std::to_string (row) + " from " + std::to_string (depthOf (source)) + " rows " + rows);
    }

    Tree& tree;
    const int depth;
};

class ColumnBrowserTest : public ::testing::Test
{
protected:
    ColumnBrowserTest()
    {
        desktop.addAndMakeVisible (browser);
        browser.setBounds (0, 0, 700, 300);
    }

    TreeColumn& column (int index) { return dynamic_cast<TreeColumn&> (toolkit_test::ref (browser.getColumn (index))); }

    // Opens the column of depth 2 alone: its parents come with it.
    void openThreeColumns() { browser.openColumn (std::make_unique<TreeColumn> (browser, tree, 2)); }

    // A drag of the source's items at a point of the target column.
    static juce::DragAndDropTarget::SourceDetails dragAt (TreeColumn& source, int x, int y)
    {
        return { ColumnBrowser::ListColumn::dragDescription, &source.getList(), { x, y } };
    }

    // The y of a pixel of a row, in column coordinates: the list stands at (4, 4).
    static int yInRow (int row, int pixel) { return 4 + row * ColumnBrowser::ListColumn::List::rowHeight + pixel; }

    toolkit_test::TestDesktop desktop { 800, 300 };
    ColumnBrowser browser;
    Tree tree;
};
} // namespace

TEST_F (ColumnBrowserTest, OpeningAColumnAddsItsParentsAndAReplacingColumnKeepsTheWidth)
{
    openThreeColumns();
    ASSERT_EQ (browser.getNumColumns(), 3);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_EQ (TreeColumn::depthOf (column (i)), i);
        EXPECT_EQ (column (i).getBounds(), juce::Rectangle<int> (200 * i, 0, 200, column (i).getParentHeight()));
    }
    EXPECT_EQ (column (1).getPreviousColumn(), &column (0));
    EXPECT_EQ (column (1).getNextColumn(), &column (2));

    // The new child takes the width of the second column, at least its minimum.
    for (const auto& [oldWidth, newWidth] : { std::pair { 260, 260 }, std::pair { 60, 100 } })
    {
        column (1).setSize (oldWidth, column (1).getHeight());
        column (0).selectItem (3);
        ASSERT_EQ (browser.getNumColumns(), 2);
        EXPECT_EQ (column (1).getWidth(), newWidth);
        EXPECT_EQ (tree.log.back(), "0: selected 3");
        column (1).selectItem (0);
        EXPECT_EQ (browser.getNumColumns(), 3);
    }
}

// A chosen item without children closes everything right of its column.
TEST_F (ColumnBrowserTest, ANullChildColumnClosesTheColumnsToTheRight)
{
    openThreeColumns();
    tree.leaves = { { 0, 2 } };
    column (0).selectItem (2);
    EXPECT_EQ (browser.getNumColumns(), 1);
    EXPECT_EQ (column (0).getNextColumn(), nullptr);
    EXPECT_EQ (tree.log, std::vector<std::string> { "0: selected 2" });
}

TEST_F (ColumnBrowserTest, RowsOutsideTheListDoNothing)
{
    openThreeColumns();
    for (const int row : { -1, 5, 99 })
    {
        column (0).selectItem (row);
        column (0).startRename (row);
        column (0).showRow (row);
    }
    EXPECT_EQ (browser.getNumColumns(), 3);
    EXPECT_TRUE (tree.log.empty());
    EXPECT_TRUE (column (0).getSelectedRows().isEmpty());
    EXPECT_EQ (column (0).getList().getModel()->refreshComponentForRow (5, false, new juce::Component()), nullptr);
}

// A column whose child does not keep it is closed while it chooses: nothing
// of it is used afterwards.
TEST_F (ColumnBrowserTest, AChildThatClosesItsParentEndsTheChoice)
{
    openThreeColumns();
    tree.childKeepsParent = false;
    const juce::Component::SafePointer<juce::Component> choosing (&column (1));
    column (1).selectItem (0);
    EXPECT_EQ (choosing, nullptr);
    EXPECT_EQ (browser.getNumColumns(), 3); // the new child with new parents
    EXPECT_TRUE (tree.log.empty());
}

TEST_F (ColumnBrowserTest, ScrollingShowsAWholeColumn)
{
    browser.setSize (300, 300);
    openThreeColumns();
    browser.scrollToShowColumn (column (2));
    EXPECT_EQ (browser.getViewPositionX(), 300);
    browser.scrollToShowColumn (column (0));
    EXPECT_EQ (browser.getViewPositionX(), 0);
}

TEST_F (ColumnBrowserTest, TheGripResizesAColumnDownToItsMinimum)
{
    openThreeColumns();
    for (const auto& [by, width] : { std::pair { 40.0f, 240 }, std::pair { -500.0f, 100 } })
    {
        widget_testing::dragBy (column (0), { (float) column (0).getWidth() - 3.0f, 100.0f }, { by, 0.0f });
        EXPECT_EQ (column (0).getWidth(), width);
        EXPECT_EQ (column (1).getX(), width);
    }
    widget_testing::dragBy (column (0), { 50.0f, 100.0f }, { 40.0f, 0.0f }); // not on the grip
    EXPECT_EQ (column (0).getWidth(), 100);
}

TEST_F (ColumnBrowserTest, TheDropModeFollowsThePositionInTheRow)
{
    struct Case
    {
        int pixel;        // in row 2; -1: below the last row
        bool ontoItems, before, after, onColumn;
        DropMode mode;
    };
    const Case cases[] = {
        { 4, true, true, true, true, DropMode::beforeItem },
        { 5, true, true, true, true, DropMode::ontoItem },
        { 14, true, true, true, true, DropMode::ontoItem },
        { 15, true, true, true, true, DropMode::afterItem },
        { 4, true, false, true, true, DropMode::ontoItem },
        { 9, false, true, true, true, DropMode::beforeItem }, // not onto: the row's halves insert
        { 10, false, true, true, true, DropMode::afterItem },
        { 10, false, true, false, true, DropMode::onColumn },
        { 10, false, true, false, false, DropMode::none },
        { -1, true, true, true, true, DropMode::onColumn },
        { -1, true, true, true, false, DropMode::none },
    };

    openThreeColumns();
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "pixel " << c.pixel << " onto " << c.ontoItems << " before " << c.before
                                         << " after " << c.after << " column " << c.onColumn);
        tree.ontoItems = c.ontoItems, tree.before = c.before, tree.after = c.after, tree.onColumn = c.onColumn;
        column (1).itemDragMove (dragAt (column (2), 50, c.pixel < 0 ? yInRow (7, 0) : yInRow (2, c.pixel)));
        EXPECT_EQ (column (1).getDropMode(), c.mode);
        EXPECT_EQ (column (1).getDropRow(), c.mode == DropMode::onColumn || c.mode == DropMode::none ? -1 : 2);
        EXPECT_EQ (column (1).isTimerRunning(), c.mode == DropMode::ontoItem);
        column (1).itemDragExit (dragAt (column (2), 0, 0));
        EXPECT_EQ (column (1).getDropMode(), DropMode::none);
    }
}

TEST_F (ColumnBrowserTest, DropsReachTheirHooksWithTheSourcesSelection)
{
    openThreeColumns();
    column (2).showRow (4);
    for (const auto& [pixel, expected] : { std::pair { 2, "1: before 3 from 2 rows 4" }, std::pair { 10, "1: onto 3 from 2 rows 4" },
                                           std::pair { 17, "1: after 3 from 2 rows 4" } })
    {
        column (1).itemDragEnter (dragAt (column (2), 50, yInRow (3, pixel)));
        column (1).itemDropped (dragAt (column (2), 50, yInRow (3, pixel)));
        EXPECT_EQ (tree.log.back(), expected);
        EXPECT_EQ (column (1).getDropMode(), DropMode::none);
    }

    // Drops from nothing but a list column of this browser are refused.
    ColumnBrowser other;
    TreeColumn stranger (other, tree, 2);
    juce::Label label;
    EXPECT_TRUE (column (1).isInterestedInDragSource (dragAt (column (2), 0, 0)));
    EXPECT_FALSE (column (1).isInterestedInDragSource (dragAt (stranger, 0, 0)));
    EXPECT_FALSE (column (1).isInterestedInDragSource ({ ColumnBrowser::ListColumn::dragDescription, &label, {} }));
    EXPECT_FALSE (column (1).isInterestedInDragSource ({ "Other", &column (2).getList(), {} }));
}

// The hover opens the item under a resting drag; the source column it closes
// is kept out of sight until the drop, which still reads its selection.
TEST_F (ColumnBrowserTest, ASourceClosedDuringItsDragIsKeptUntilTheDrop)
{
    openThreeColumns();
    auto& source = column (2);
    source.showRow (1);
    ASSERT_EQ (source.getList().getDragSourceDescription (source.getSelectedRows()), juce::var (ColumnBrowser::ListColumn::dragDescription));

    column (0).itemDragEnter (dragAt (source, 50, yInRow (4, 10)));
    ASSERT_EQ (column (0).getDropMode(), DropMode::ontoItem);
    EXPECT_EQ (column (0).getTimerInterval(), ColumnBrowser::ListColumn::hoverOpenDelayMs);
    column (0).timerCallback();

    const juce::Component::SafePointer<juce::Component> parked (&source);
    EXPECT_EQ (browser.getNumColumns(), 2);
    EXPECT_EQ (browser.getParkedColumn(), &source);
    EXPECT_FALSE (source.isVisible());
    EXPECT_EQ (column (0).getSelectedRows()[0], 4);
    EXPECT_EQ (tree.log.back(), "0: selected 4");

    column (0).itemDropped (dragAt (source, 50, yInRow (4, 10)));
    EXPECT_EQ (tree.log.back(), "0: onto 4 from 2 rows 1");
    EXPECT_EQ (parked, nullptr);
    EXPECT_EQ (browser.getParkedColumn(), nullptr);
    EXPECT_EQ (browser.getDragSourceColumn(), nullptr);
}

// A source that is gone by the time of the drop drops nothing (the sanitizer
// build checks that nothing of it is read).
TEST_F (ColumnBrowserTest, ADropFromADeletedSourceDoesNothing)
{
    openThreeColumns();
    const auto details = dragAt (column (2), 50, yInRow (1, 10));
    column (1).itemDragEnter (details);
    column (0).selectItem (0); // no drag began: the source closes for good
    ASSERT_EQ (browser.getNumColumns(), 2);
    EXPECT_EQ (details.sourceComponent, nullptr);
    column (1).itemDropped (details);
    EXPECT_EQ (tree.log, std::vector<std::string> { "0: selected 0" });
}

TEST_F (ColumnBrowserTest, ARenameCommitsTheEditedText)
{
    openThreeColumns();
    column (1).startRename (2);
    auto* item = dynamic_cast<ColumnBrowser::ListColumn::ItemComponent*> (column (1).getList().getComponentForRowNumber (2));
    auto& editor = toolkit_test::ref (toolkit_test::ref (item).getTextInput().getEditor());
    EXPECT_TRUE (editor.isVisible());
    editor.setText ("Renamed");
    editor.textEditorReturnKeyPressed (editor);
    EXPECT_EQ (tree.log.back(), "1: rename 2 Renamed");
}
