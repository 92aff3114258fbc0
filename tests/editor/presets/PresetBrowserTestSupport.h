#pragma once

#include "support/MessageLoop.h"
#include "support/TemporaryUserFolders.h"
#include "toolkit/widgets/ScriptedFileDialogs.h"
#include "toolkit/windows/ShownAlerts.h"

#include "drummachine/product/Pulsetta.h"
#include "editor/presets/OldStylePresetBrowserColumns.h"
#include "editor/presets/OldStylePresetBrowserWindow.h"
#include "toolkit/browser/ListColumnRows.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// A real Pulsetta (its factory bank: 15 presets in the first group, 113 in
// "Not used") with the preset browser window shown over a desktop whose file
// dialogs the test answers. The user's folders are a fresh temporary folder.
class PresetBrowserTest : public ::testing::Test,
                          protected testing_support::TemporaryUserFolders
{
protected:
    using Action = OldStylePresetBrowserWindow::Action;
    using DropMode = ColumnBrowser::ListColumn::DropMode;

    PresetBrowserTest() : TemporaryUserFolders ("pulsetta-preset-browser-")
    {
        desktop.setSize (800, 500);
        product = makeProduct();
    }

    ~PresetBrowserTest() override
    {
        window.reset();
        product.reset();
    }

    static std::unique_ptr<Pulsetta> makeProduct()
    {
        return std::unique_ptr<Pulsetta> (static_cast<Pulsetta*> (BasePlugin::startUp (std::make_unique<Pulsetta>())));
    }

    // Makes the window, as the editor does, and shows it.
    OldStylePresetBrowserWindow& open()
    {
        window = std::make_unique<OldStylePresetBrowserWindow> (*product);
        desktop.addChildComponent (*window);
        window->show();
        testing_support::runPendingMessages(); // what the processor told before
        return *window;
    }

    void click (Action action)
    {
        window->buttonClicked (&window->getButton (action));
        testing_support::runPendingMessages();
    }

    OldStylePresetsBrowser& browser() { return window->getBrowser(); }
    OldStylePresetsBrowser::GroupListColumn& groups() { return toolkit_test::ref (browser().getGroupColumn()); }
    OldStylePresetsBrowser::PresetListColumn& presets() { return toolkit_test::ref (browser().getPresetColumn()); }

    // The rows a column has selected, in order.
    static std::vector<int> selected (OldStylePresetsBrowser::CommonColumn& column) { return column.getSelectedRowList(); }

    // A drop of the source's selected rows at a pixel of a row of the
    // target (the list stands at (4, 4) in its column), as a drag ends.
    static void drop (ColumnBrowser::ListColumn& source, ColumnBrowser::ListColumn& target, int row, int pixel)
    {
        const juce::DragAndDropTarget::SourceDetails details (ColumnBrowser::ListColumn::dragDescription, &source.getList(),
                                                              { 50, 4 + row * ColumnBrowser::ListColumn::List::rowHeight + pixel });
        target.itemDragEnter (details);
        target.itemDropped (details);
        testing_support::runPendingMessages();
    }

    // Every preset's name in bank order, and each group as name and size.
    std::vector<juce::String> bankOrder (BasePluginOldStyle& bank) const
    {
        std::vector<juce::String> order;
        for (int g = 0; g < bank.getNumGroups(); ++g)
            order.push_back ("[" + bank.getGroupName (g) + " " + juce::String (bank.getGroupSize (g)) + "]");
        for (int i = 0; i < PresetBank::numPresets; ++i)
            order.push_back (bank.getPresetName (i));
        return order;
    }

    // The alert shown over the desktop, or null.
    Kyx::AlertWindow* shownAlert() { return toolkit_test::findShownAlert (desktop); }

    // Clicks the shown alert's button of this text.
    void answer (const juce::String& buttonText) { toolkit_test::answerShownAlert (desktop, buttonText); }

    juce::ScopedJuceInitialiser_GUI juce;
    toolkit_test::DialogDesktop desktop;
    std::unique_ptr<Pulsetta> product;
    std::unique_ptr<OldStylePresetBrowserWindow> window;
};
