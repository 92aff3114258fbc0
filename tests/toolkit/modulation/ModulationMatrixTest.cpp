#include "support/MessageLoop.h"
#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/windows/TestDesktop.h"

#include "toolkit/modulation/ModulationMatrixComponent.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>

using toolkit_test::ref;

namespace
{
struct RouteLog : ModulationMatrixModel::Listener
{
    void modulationRoutesChanged (ModulationMatrixModel*) override { ++changes; }
    int changes = 0;
};

std::vector<int> toVector (const juce::Array<int>& array) { return { array.begin(), array.end() }; }
std::vector<int> toVector (const juce::SortedSet<int>& set) { return { set.begin(), set.end() }; }

// Routes: 0 Modulation > 7, 1 Velocity > 7, 2 none > 9, 3 Pitch Bend > none.
void fillModel (ModulationMatrixModel& model)
{
    for (int i = 0; i < 4; ++i)
        model.addRoute();
    model.setRoute (0, { 0, 7, 0.5f });
    model.setRoute (1, { 3, 7, -0.25f });
    model.setRoute (2, { -1, 9, 1.0f });
    model.setRoute (3, { 2, -1, 1.0f });
}
} // namespace

TEST (ModulationMatrixModel, NamesItsNineSourcesAndNothingElse)
{
    EXPECT_EQ (ModulationMatrixModel::getSourceName (0), "Modulation");
    EXPECT_EQ (ModulationMatrixModel::getSourceName (5), "Channel Pressure");
    EXPECT_EQ (ModulationMatrixModel::getSourceName (8), "Arpe Tie");
    EXPECT_EQ (ModulationMatrixModel::getSourceName (9), "");
    EXPECT_EQ (ModulationMatrixModel::getSourceName (-1), "");
}

// The lookups skip routes without a destination or a valid source, and
// follow every change, swaps included.
TEST (ModulationMatrixModel, LookupsFollowEveryChangeOfTheRoutes)
{
    ModulationMatrixModel model;
    RouteLog log;
    model.addListener (&log);
    fillModel (model);
    EXPECT_EQ (log.changes, 8);

    EXPECT_EQ (toVector (model.getRoutesOfSource (0)), std::vector<int> { 0 });
    EXPECT_EQ (toVector (model.getRoutesOfSource (2)), std::vector<int> {}) << "no destination";
    EXPECT_EQ (toVector (model.getDestinations (false)), std::vector<int> { 7 });
    EXPECT_EQ (toVector (model.getDestinations (true)), std::vector<int> { 7 }) << "Velocity is per note";
    EXPECT_EQ (toVector (model.getRoutesTo (7, true)), std::vector<int> { 1 });
    EXPECT_EQ (toVector (model.getRoutesTo (9, false)), std::vector<int> {}) << "no source";

    model.swapRoutes (0, 1);
    EXPECT_EQ (log.changes, 9);
    EXPECT_EQ (toVector (model.getRoutesTo (7, true)), std::vector<int> { 0 });
    EXPECT_EQ (toVector (model.getRoutesOfSource (0)), std::vector<int> { 1 });

    model.setRoute (1, { 0, 7, 0.75f }); // the amount alone
    model.setRoute (1, { 0, 7, 0.75f }); // no change
    EXPECT_EQ (log.changes, 10);
    EXPECT_EQ (model.getRoute (1).amount, 0.75f);

    model.removeRoute (0);
    EXPECT_EQ (toVector (model.getDestinations (true)), std::vector<int> {});
    EXPECT_EQ (toVector (model.getDestinationsOfSource (0)), std::vector<int> { 7 });

    // Indices out of range change nothing and tell nobody.
    model.removeRoute (3);
    model.removeRoute (-1);
    model.swapRoutes (0, 3);
    model.swapRoutes (-1, 0);
    model.setRoute (3, { 1, 1, 1.0f });
    EXPECT_EQ (log.changes, 11);
    EXPECT_EQ (model.getNumRoutes(), 3);
    EXPECT_EQ (model.getRoute (3), ModulationRoute());
    EXPECT_EQ (toVector (model.getRoutesOfSource (9)), std::vector<int> {});
}

// The thumb keeps 8 pixels from each end; the level line runs from the
// centre by the source's level scaled by the amount.
TEST (ModulationSlider, DrawsItsTicksAndTheLevelTheAmountPassesOn)
{
    widget_testing::Stage stage;
    ModulationSlider slider;
    stage.add (slider);
    slider.setBounds (0, 0, 200, 30);
    EXPECT_EQ (slider.getLookAndFeel().getSliderThumbRadius (slider), 8);
    EXPECT_EQ (slider.getPositionOfValue (-1.0), 8.0f);
    EXPECT_EQ (slider.getPositionOfValue (1.0), 192.0f);

    slider.setValue (0.5, juce::dontSendNotification);
    slider.setLevel (1.0f);
    const auto image = widget_testing::paintImage (slider);

    EXPECT_EQ (image.getPixelAt (100, 20), juce::Colours::black) << "the tick at 0.0";
    EXPECT_EQ (image.getPixelAt (17, 24), juce::Colours::black) << "a minor tick";
    EXPECT_EQ (image.getPixelAt (120, 25), juce::Colour (0xffa90000)) << "the level line, to (0.5 x 1 x 184 + 200) / 2 = 146";
    EXPECT_NE (image.getPixelAt (160, 25), juce::Colour (0xffa90000));
}

TEST (ModulationMatrixRow, WritesTheAmountWithFourDecimalsAndASignAboveZero)
{
    EXPECT_EQ (ModulationMatrixComponent::Row::formatAmount (0.5), "+0.5000");
    EXPECT_EQ (ModulationMatrixComponent::Row::formatAmount (-0.25), "-0.2500");
    EXPECT_EQ (ModulationMatrixComponent::Row::formatAmount (0.0), "0.0000");
}

namespace
{
struct ModulationMatrixTest : ::testing::Test
{
    ModulationMatrixTest()
    {
        desktop.addAndMakeVisible (matrix);
        matrix.setBounds (0, 0, 600, 200);
        fillModel (model);
        matrix.setModel (&model);
    }

    ~ModulationMatrixTest() override { matrix.setModel (nullptr); }

    ModulationMatrixComponent::Row& row (int index) { return ref (matrix.getRow (index)); }

    toolkit_test::TestDesktop desktop { 700, 300 };
    ModulationMatrixModel model;
    ModulationMatrixComponent matrix;
};
} // namespace

TEST_F (ModulationMatrixTest, RowsShowTheModelsRoutesAndWriteTheirEdits)
{
    ASSERT_EQ (matrix.getNumRows(), 4);
    EXPECT_EQ (row (0).getShownRoute(), (ModulationRoute { 0, 7, 0.5f }));
    EXPECT_EQ (row (0).getSourceBox().getText(), "Modulation");
    EXPECT_EQ (row (1).getAmountText().getText(), "-0.2500");
    EXPECT_EQ (&row (1).getDestinationBox().getMenu(), &matrix.getDestinationMenu (3));
    EXPECT_EQ (&row (2).getDestinationBox().getMenu(), &matrix.getDestinationMenu (-1));
    EXPECT_EQ (row (3).getBounds(), juce::Rectangle<int> (0, 3 * 37, row (3).getWidth(), 37));

    row (2).getSourceBox().setSelectedId (4, true);
    EXPECT_EQ (model.getRoute (2), (ModulationRoute { 4, 9, 1.0f }));
    EXPECT_EQ (&row (2).getDestinationBox().getMenu(), &matrix.getDestinationMenu (4));

    row (2).getAmountSlider().setValue (-0.5, juce::sendNotificationSync);
    EXPECT_EQ (model.getRoute (2).amount, -0.5f);
    EXPECT_EQ (row (2).getAmountText().getText(), "-0.5000");
}

TEST_F (ModulationMatrixTest, ButtonsAddDeleteAndMoveRowsWithTheirRoutes)
{
    const auto click = [] (juce::Button& button, bool ctrl = false)
    {
        juce::ModifierKeys::currentModifiers = ctrl ? juce::ModifierKeys::ctrlModifier : 0;
        button.triggerClick();
        testing_support::runPendingMessages();
        juce::ModifierKeys::currentModifiers = 0;
    };

    click (matrix.getAddButton());
    EXPECT_EQ (matrix.getNumRows(), 5);
    EXPECT_EQ (model.getNumRoutes(), 5);

    matrix.selectRow (1);
    click (matrix.getDownButton(), true); // the route moves with the selection
    EXPECT_EQ (matrix.getSelectedRow(), 2);
    EXPECT_EQ (model.getRoute (2), (ModulationRoute { 3, 7, -0.25f }));
    EXPECT_EQ (row (2).getShownRoute(), model.getRoute (2));
    EXPECT_EQ (row (2).getIndex(), 2);

    click (matrix.getUpButton()); // the selection alone
    EXPECT_EQ (matrix.getSelectedRow(), 1);
    EXPECT_EQ (model.getRoute (2).source, 3);
    click (matrix.getUpButton());
    click (matrix.getUpButton()); // not above the first row
    EXPECT_EQ (matrix.getSelectedRow(), 0);

    click (matrix.getDeleteButton());
    EXPECT_EQ (model.getNumRoutes(), 4);
    EXPECT_EQ (model.getRoute (0), (ModulationRoute { -1, 9, 1.0f }));
    EXPECT_EQ (matrix.getSelectedRow(), 0) << "stays at its index";

    matrix.selectRow (3);
    click (matrix.getDeleteButton());
    EXPECT_EQ (matrix.getSelectedRow(), 2) << "the last row was deleted: the new last";

    matrix.mouseDown (widget_testing::mouseAt (matrix, { 3.0f, 190.0f }, { 3.0f, 190.0f }));
    EXPECT_EQ (matrix.getSelectedRow(), -1);
    click (matrix.getDeleteButton()); // nothing selected: nothing deleted
    EXPECT_EQ (model.getNumRoutes(), 3);
}

TEST_F (ModulationMatrixTest, ShowsSourceLevelsAndRebuildsForNewRoutes)
{
    std::array<float, ModulationMatrixModel::numSources> values {};
    values[0] = 0.5f;
    values[3] = 7.0f;
    model.setSourceValues (values);
    testing_support::runPendingMessages();
    EXPECT_EQ (row (0).getAmountSlider().getLevel(), 0.5f);
    EXPECT_EQ (row (1).getAmountSlider().getLevel(), 1.0f) << "clamped";
    EXPECT_EQ (row (2).getAmountSlider().getLevel(), 0.0f) << "no source";

    matrix.selectRow (1);
    model.replaceRoutes ({ ModulationRoute { 5, 1, 0.1f } });
    testing_support::runPendingMessages();
    ASSERT_EQ (matrix.getNumRows(), 1);
    EXPECT_EQ (row (0).getShownRoute(), (ModulationRoute { 5, 1, 0.1f }));
    EXPECT_EQ (matrix.getSelectedRow(), -1);
}

TEST_F (ModulationMatrixTest, PaintsTheSelectedRowAndStripes)
{
    widget_testing::clickCentre (row (2));
    EXPECT_EQ (matrix.getSelectedRow(), 2);

    const auto image = widget_testing::paintImage (matrix);
    const auto rowPixel = [&] (int index)
    {
        const auto at = matrix.getLocalPoint (&row (index), juce::Point<int> (2, 2));
        return image.getPixelAt (at.x, at.y);
    };
    EXPECT_EQ (rowPixel (0), juce::Colour (0xffc5c5c5));
    EXPECT_EQ (rowPixel (1), juce::Colour (0xffa3a3a3));
    EXPECT_EQ (rowPixel (2), juce::Colour (0xffd09b59));
    EXPECT_EQ (image.getPixelAt (0, 100), juce::Colours::black) << "the outline";
}

// An amount or a level that is not a number comes from a preset or a source
// gone wrong: taken as 0, the view's slider settles (a NaN re-posts its value
// for ever, all within one run of the message queue) and paints from numbers
// only (checked by the sanitizer build).
TEST_F (ModulationMatrixTest, AnAmountOrLevelThatIsNotANumberIsTakenAsZero)
{
    for (const float notANumber : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                                    -std::numeric_limits<float>::infinity() })
    {
        SCOPED_TRACE (notANumber);
        std::array<float, ModulationMatrixModel::numSources> levels {};
        levels.fill (notANumber);
        model.setSourceValues (levels);
        model.replaceRoutes ({ ModulationRoute { 0, 7, notANumber }, ModulationRoute { 3, 7, 0.5f } });
        model.setRoute (1, { 3, 7, notANumber });
        // Asserted: a NaN let through would hang the message loop below.
        ASSERT_EQ (model.getSourceValue (0), 0.0f);
        ASSERT_EQ (model.getRoute (0).amount, 0.0f);
        ASSERT_EQ (model.getRoute (1).amount, 0.0f);

        testing_support::runPendingMessages (1000);
        EXPECT_FALSE (juce::dispatchNextMessageOnSystemQueue (true)) << "the view settled";
        EXPECT_EQ (row (0).getAmountSlider().getValue(), 0.0);
        widget_testing::paintImage (matrix);
    }
}
