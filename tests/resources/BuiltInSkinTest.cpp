// The built-in skin as the module embeds it, read against the product it is
// made for: a real Pulsetta supplies the parameters and events every control
// names, and the embedded images the strips every control draws.
#include "framework/core/ResourceImages.h"
#include "framework/core/ResourceLoader.h"
#include "framework/core/XmlTags.h"
#include "framework/processor/BasePlugin.h"
#include "support/TemporaryUserFolders.h"
#include "toolkit/skin/PanelFromXml.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <map>
#include <set>

juce::AudioProcessor* createPluginFilter();

namespace
{
// An image a control draws and the number of frames it cuts it into.
struct StripUse
{
    juce::String file;
    int frames;
};

int intOf (const juce::XmlElement* element, const char* attribute, int fallback)
{
    return element != nullptr ? element->getIntAttribute (attribute, fallback) : fallback;
}

// The entries of a control's list ("links", "actions", "digits").
std::vector<const juce::XmlElement*> entriesOf (const juce::XmlElement& control, const char* list)
{
    std::vector<const juce::XmlElement*> entries;
    if (const auto* parent = findChildWithTag (&control, list))
        for (const auto* entry : parent->getChildIterator())
            entries.push_back (entry);
    return entries;
}

// The skin as the editor reads it: the embedded images, the product's
// parameters and events.
class ProductSkin : public SkinContext
{
public:
    explicit ProductSkin (BasePlugin& p) : product (p) {}

    juce::Image getImage (const juce::String& name) override { return getResourceAsImage (name); }
    Parameter* getParameterByName (const juce::String& name) override
    {
        return product.getParameterManager().getParameterByName (name);
    }
    int getEventId (const juce::String& name) override { return product.getEventsMap().getUid (name); }
    juce::String getEventDisplayName (int id) override { return product.getEventsMap().getDisplayName (id); }

private:
    BasePlugin& product;
};

class BuiltInSkin : public ::testing::Test,
                    protected testing_support::TemporaryUserFolders
{
protected:
    BuiltInSkin() : TemporaryUserFolders ("pulsetta-built-in-skin-resources-")
    {
        product.reset (dynamic_cast<BasePlugin*> (createPluginFilter()));
        document = juce::parseXML (getResourceAsString ("skin.xml"));
        panel = document != nullptr ? findChildWithTag (document.get(), "Panel") : nullptr;
        controls = findChildWithTag (panel, "controls");
    }

    std::vector<juce::XmlElement*> allControls() const
    {
        std::vector<juce::XmlElement*> all;
        if (controls != nullptr)
            for (auto* control : controls->getChildIterator())
                all.push_back (control);
        return all;
    }

    static juce::String nameOf (const juce::XmlElement& control) { return control.getStringAttribute ("name"); }

    // Every image the control names, with the frames its widget cuts it into.
    static std::vector<StripUse> stripsOf (const juce::XmlElement& control)
    {
        const auto* gfx = findChildWithTag (&control, "gfx");
        if (tagIs (&control, "MultiStateButton"))
        {
            const int states = juce::jmax (2, control.getIntAttribute ("states"));
            const bool threeD = control.getStringAttribute ("style") == "3D";
            return { { gfx != nullptr ? gfx->getStringAttribute ("resource") : juce::String(), threeD ? states * 2 : states } };
        }
        if (tagIs (&control, "NumericDisplay"))
        {
            std::vector<StripUse> digits;
            for (const auto* digit : entriesOf (control, "digits"))
                digits.push_back ({ digit->getStringAttribute ("resource"), 11 });
            return digits;
        }
        if (tagIs (&control, "PatternNumberDisplay"))
            return { { gfx->getStringAttribute ("firstDigit"), 12 },
                     { gfx->getStringAttribute ("secondDigit"), 19 },
                     { gfx->getStringAttribute ("thirdDigit"), 13 },
                     { gfx->getStringAttribute ("fourthDigit"), 11 } };
        if (tagIs (&control, "Display"))
            return { { gfx->getStringAttribute ("resource"), 2 * juce::jmax (1, gfx->getIntAttribute ("fontHeight")) } };
        return { { gfx != nullptr ? gfx->getStringAttribute ("resource") : juce::String(), intOf (gfx, "framesNum", 1) } };
    }

    // Where the control's widget will sit: its position with the size of one
    // frame; a row of digits for a numeric display; the size the element
    // gives for the pattern number and the character displays.
    static juce::Rectangle<int> boundsOf (const juce::XmlElement& control)
    {
        const auto* pos = findChildWithTag (&control, "pos");
        const juce::Rectangle<int> at (intOf (pos, "left", 0), intOf (pos, "top", 0), 0, 0);
        if (tagIs (&control, "PatternNumberDisplay") || tagIs (&control, "Display"))
        {
            const auto* size = findChildWithTag (&control, "size");
            return at.withSize (intOf (size, "width", 0), intOf (size, "height", 0));
        }
        juce::Rectangle<int> bounds = at;
        for (const auto& strip : stripsOf (control))
        {
            const auto image = getResourceAsImage (strip.file);
            bounds = bounds.withWidth (bounds.getWidth() + image.getWidth())
                         .withHeight (juce::jmax (bounds.getHeight(), image.getHeight() / strip.frames));
        }
        return bounds;
    }

    juce::ScopedJuceInitialiser_GUI juceInitialiser;
    std::unique_ptr<BasePlugin> product;
    std::unique_ptr<juce::XmlElement> document;
    juce::XmlElement* panel = nullptr;
    juce::XmlElement* controls = nullptr;
};

TEST_F (BuiltInSkin, IsTheProductsMainPanelOnItsBackground)
{
    ASSERT_NE (product, nullptr);
    ASSERT_TRUE (tagIs (document.get(), "PluginEditor"));
    EXPECT_TRUE (document->getStringAttribute ("application").equalsIgnoreCase (product->getPluginName()));
    ASSERT_NE (panel, nullptr);
    EXPECT_TRUE (panel->getStringAttribute ("name").equalsIgnoreCase ("MainPanel"));
    ASSERT_NE (controls, nullptr);

    const auto background = getResourceAsImage (findChildWithTag (panel, "gfx")->getStringAttribute ("resource"));
    ASSERT_TRUE (background.isValid());
    // The options window (800 x 600) opens inside the panel.
    EXPECT_GE (background.getWidth(), 800);
    EXPECT_GE (background.getHeight(), 600);
    EXPECT_TRUE (getResourceAsImage ("PluginLogo.png").isValid()) << "the editor draws it without a skin";
}

TEST_F (BuiltInSkin, EveryLinkNamesAParameterAndEveryActionAnEvent)
{
    const std::map<juce::String, std::set<juce::String>> actionTypes {
        { "Button", { "onClick", "onClickWithCtrl", "onRightClick" } },
        { "MultiStateButton", { "onClick", "onClickWithCtrl", "onClickWithShift", "onRightClick" } },
    };
    const auto& parameters = product->getParameterManager();
    const auto& events = product->getEventsMap();

    for (const auto* control : allControls())
    {
        const auto name = nameOf (*control);
        for (const auto* link : entriesOf (*control, "links"))
        {
            ASSERT_EQ (link->getStringAttribute ("as"), "connectedTo") << name;
            ASSERT_NE (parameters.getParameterByName (link->getStringAttribute ("param")), nullptr)
                << name << " links to an unknown parameter '" << link->getStringAttribute ("param") << "'";
        }
        for (const auto* action : entriesOf (*control, "actions"))
        {
            const auto types = actionTypes.find (control->getTagName());
            ASSERT_TRUE (types != actionTypes.end() && types->second.count (action->getStringAttribute ("type")) == 1)
                << name << ": a " << control->getTagName() << " takes no action '" << action->getStringAttribute ("type") << "'";
            ASSERT_NE (events.getUid (action->getStringAttribute ("event")), -1)
                << name << " raises an unknown event '" << action->getStringAttribute ("event") << "'";
        }
    }
}

TEST_F (BuiltInSkin, HoldsEveryControlTheEditorLooksUpUnderOneNameEach)
{
    std::map<juce::String, juce::String> required {
        { "MidiLearnButton", "MultiStateButton" }, { "MidiActivityLed", "Animation" },
        { "PresetNameDisplay", "Display" },        { "PatternNumberDisplay", "PatternNumberDisplay" },
        { "PatternNameDisplay", "Display" },       { "TempoDisplay", "NumericDisplay" },
        { "TempoKnob", "Knob" },                   { "ShuffleKnob", "Knob" },
        { "FlamKnob", "Knob" },                    { "PattRandModeButton", "MultiStateButton" },
        { "PattLengthButton", "MultiStateButton" }, { "PattPrevButton", "Button" },
        { "PattNextButton", "Button" },
    };
    const char* const tracks[] = { "BassDrum", "SnareDrum", "LowTom",    "MidTom", "HiTom", "RimShot",
                                   "HandClap", "ClosedHiHat", "OpenHiHat", "Crash", "Ride",  "Accent" };
    for (const juce::String track : tracks)
    {
        required[track + "LevelKnob"] = "Knob";
        required[track + "RandThresholdKnob"] = "Knob";
        required[track + "LevelModeLed"] = "Animation";
        if (track != "Accent")
        {
            required[track + "ActivityLed"] = "MultiStateButton";
            required[track + "SelectButton"] = "MultiStateButton";
        }
    }
    for (int step = 1; step <= 16; ++step)
        required["Step" + juce::String (step).paddedLeft ('0', 2) + "Button"] = "MultiStateButton";

    std::set<juce::String> names;
    for (const auto* control : allControls())
    {
        const auto name = nameOf (*control);
        ASSERT_TRUE (names.insert (name).second) << "two controls are named " << name;
        const auto wanted = required.find (name);
        if (wanted == required.end())
            continue;
        EXPECT_TRUE (control->getTagName().equalsIgnoreCase (wanted->second)) << name << " is a " << control->getTagName();
        if (name.startsWith ("Step"))
        {
            // Off, half lit and lit, each released and pressed: the playing
            // step shows its opposite.
            EXPECT_EQ (control->getStringAttribute ("style"), "3D") << name;
            EXPECT_EQ (control->getIntAttribute ("states"), 3) << name;
        }
        required.erase (wanted);
    }
    for (const auto& [name, tag] : required)
        ADD_FAILURE() << "no " << tag << " named " << name;
}

TEST_F (BuiltInSkin, EveryImageIsEmbeddedInWholeFramesAndEveryControlLiesOnThePanel)
{
    const juce::Rectangle<int> area (intOf (findChildWithTag (panel, "size"), "width", 0),
                                     intOf (findChildWithTag (panel, "size"), "height", 0));
    const auto background = getResourceAsImage ("Background.png");
    EXPECT_EQ (area, background.getBounds());

    for (const auto* control : allControls())
    {
        const auto name = nameOf (*control);
        for (const auto& strip : stripsOf (*control))
        {
            const auto image = getResourceAsImage (strip.file);
            ASSERT_TRUE (image.isValid()) << name << " draws a missing image '" << strip.file << "'";
            ASSERT_EQ (image.getHeight() % strip.frames, 0) << name << ": " << strip.file << " in " << strip.frames << " frames";
        }
        const auto bounds = boundsOf (*control);
        EXPECT_FALSE (bounds.isEmpty()) << name;
        EXPECT_TRUE (area.contains (bounds)) << name << " at " << bounds.toString() << " leaves the panel";
    }

    // The pattern number's four digits fill the display the element sizes.
    const auto* number = controls->getChildByAttribute ("name", "PatternNumberDisplay");
    ASSERT_NE (number, nullptr);
    int width = 0;
    for (const auto& digit : stripsOf (*number))
        width += getResourceAsImage (digit.file).getWidth();
    EXPECT_EQ (width, boundsOf (*number).getWidth());
}

TEST_F (BuiltInSkin, ReachesEverySoundParameterAndSequencerEventFromThePanel)
{
    std::set<juce::String> linked, raised;
    for (const auto* control : allControls())
    {
        for (const auto* link : entriesOf (*control, "links"))
            linked.insert (link->getStringAttribute ("param"));
        for (const auto* action : entriesOf (*control, "actions"))
            raised.insert (action->getStringAttribute ("event"));
    }

    // The host parameters (levels, sounds, main volume, mutes, solos,
    // randomiser thresholds) and the output numbers.
    const auto& parameters = product->getParameterManager();
    for (int index = 0; index <= 94; ++index)
        EXPECT_EQ (linked.count (parameters.getName (index)), 1u) << "no control for " << parameters.getName (index);

    // Host mode and note-off mode are set on the options page; Start/Stop
    // stands for Start and Stop.
    const auto& events = product->getEventsMap();
    const std::set<int> elsewhere { 3002, 3003, 3011, 3012 };
    for (int uid = 3000; uid <= 3081; ++uid)
        EXPECT_TRUE (elsewhere.count (uid) == 1 || raised.count (events.getName (uid)) == 1)
            << "no control raises " << events.getName (uid);
}

TEST_F (BuiltInSkin, BuildsWithTheToolkitsWidgetsWithoutAProblemAndPaints)
{
    ProductSkin context (*product);
    auto build = toolkit::createPanelFromXml (*document, context, product->getPluginName());
    ASSERT_NE (build.panel, nullptr);
    EXPECT_TRUE (build.problems.isEmpty()) << build.problems.joinIntoString ("\n");

    auto& panelComponent = *build.panel;
    EXPECT_EQ (panelComponent.getLocalBounds(), getResourceAsImage ("Background.png").getBounds());
    for (auto* child : panelComponent.getChildren())
        EXPECT_TRUE (panelComponent.getLocalBounds().contains (child->getBounds()))
            << child->getName() << " at " << child->getBounds().toString() << " leaves the panel";

    // Painted, the panel is more than its background: the controls show.
    const auto painted = panelComponent.createComponentSnapshot (panelComponent.getLocalBounds());
    const auto background = getResourceAsImage ("Background.png");
    int changed = 0;
    for (int y = 0; y < painted.getHeight(); y += 2)
        for (int x = 0; x < painted.getWidth(); x += 2)
            changed += painted.getPixelAt (x, y) != background.getPixelAt (x, y) ? 1 : 0;
    EXPECT_GT (changed, painted.getWidth() * painted.getHeight() / 4 / 20);

    // For a person to look at: the panel as the widgets paint it.
    if (const char* output = std::getenv ("PULSETTA_TEST_OUTPUT"))
    {
        juce::MemoryOutputStream png;
        if (juce::PNGImageFormat().writeImageToStream (painted, png))
            juce::File (output).getChildFile ("built-in-skin.png").replaceWithData (png.getData(), png.getDataSize());
    }
}
} // namespace
