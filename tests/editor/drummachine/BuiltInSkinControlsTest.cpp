// Every control of the built-in skin, as the product's editor builds it, does
// what its skin element says: a control with click actions fires each
// action's event (Ctrl, Shift and the right button as the action's type
// asks) and the event is carried out; a control with only a link moves or
// shows its parameter. The skin document itself is the table.
#include "DrumMachineEditorTestSupport.h"

#include "framework/core/ResourceLoader.h"
#include "framework/core/XmlTags.h"
#include "editor/presets/OldStylePresetBrowserWindow.h"
#include "editor/base/AboutWindow.h"
#include "toolkit/skin/GFXAnimation.h"
#include "toolkit/skin/GFXDisplay.h"
#include "toolkit/skin/GFXMultiStateButton.h"
#include "toolkit/skin/PatternNumberDisplay.h"

#include <functional>
#include <map>
#include <set>

namespace
{
struct Action
{
    juce::String type, event;
};

// One control of the skin document: its name, element, link and actions.
struct SkinControl
{
    juce::String name, tag, link;
    std::vector<Action> actions;
};

std::vector<SkinControl> readSkinControls()
{
    std::vector<SkinControl> controls;
    const auto document = juce::parseXML (getResourceAsString ("skin.xml"));
    const auto* list = findChildWithTag (findChildWithTag (document.get(), "Panel"), "controls");
    if (list == nullptr)
        return controls;

    for (const auto* element : list->getChildIterator())
    {
        SkinControl control { element->getStringAttribute ("name"), element->getTagName(), {}, {} };
        if (const auto* links = findChildWithTag (element, "links"))
            for (const auto* link : links->getChildIterator())
                if (link->getStringAttribute ("as") == "connectedTo")
                    control.link = link->getStringAttribute ("param");
        if (const auto* actions = findChildWithTag (element, "actions"))
            for (const auto* action : actions->getChildIterator())
                control.actions.push_back ({ action->getStringAttribute ("type"), action->getStringAttribute ("event") });
        controls.push_back (control);
    }
    return controls;
}

// What the host hears of the product's parameters, as the binding tells it.
struct HostCalls : HostReporter
{
    void reportParameterChange (int index, float) override { calls.emplace_back ('a', index); }
    void reportGestureBegin (int index) override { calls.emplace_back ('b', index); }
    void reportGestureEnd (int index) override { calls.emplace_back ('e', index); }

    // The parameters one user's action touched ("50 51"; "" for none), when
    // it reached the host as one gesture: each parameter written begun
    // before the first write and ended after the last, once. Otherwise every
    // call, as "not one gesture: b50 a50 ...".
    std::string touched() const
    {
        std::set<int> begun, written, ended;
        bool once = true;
        size_t i = 0;
        for (; i < calls.size() && calls[i].first == 'b'; ++i)
            once = begun.insert (calls[i].second).second && once;
        for (; i < calls.size() && calls[i].first == 'a'; ++i)
            written.insert (calls[i].second);
        for (; i < calls.size() && calls[i].first == 'e'; ++i)
            once = ended.insert (calls[i].second).second && once;

        std::string text;
        if (once && i == calls.size() && begun == written && ended == written)
        {
            for (const int index : written)
                text += (text.empty() ? "" : " ") + std::to_string (index);
            return text;
        }
        text = "not one gesture:";
        for (const auto& [kind, index] : calls)
            text += " " + std::string (1, kind) + std::to_string (index);
        return text;
    }

    std::vector<std::pair<char, int>> calls;
};

juce::ModifierKeys modifiersFor (const juce::String& actionType)
{
    using Keys = juce::ModifierKeys;
    const std::map<juce::String, int> modifiers { { "onClickWithCtrl", Keys::leftButtonModifier | Keys::ctrlModifier },
                                                  { "onClickWithShift", Keys::leftButtonModifier | Keys::shiftModifier },
                                                  { "onRightClick", Keys::rightButtonModifier } };
    const auto found = modifiers.find (actionType);
    return found != modifiers.end() ? found->second : Keys::leftButtonModifier;
}
} // namespace

class BuiltInSkinControls : public DrumMachineEditorTest
{
protected:
    BuiltInSkinControls()
    {
        // Write mode: every control of the pattern plates is live.
        product->handleEvent (3004);
        flush();
        product->setHostReporter (&host);
    }

    ~BuiltInSkinControls() override { product->setHostReporter (nullptr); }

    // A link-only control: the user moves it, or it shows its parameter.
    void checkLink (const SkinControl& skin, juce::Component& widget, Parameter& parameter)
    {
        const float before = parameter.getNormalised();
        if (skin.tag == "Knob" || skin.tag == "Switch" || skin.tag == "NumericDisplay")
        {
            // Up from a low value, down from a high one.
            const auto centre = widget.getLocalBounds().getCentre().toFloat();
            host.calls.clear();
            widget_testing::dragBy (widget, centre, { 0.0f, before < 0.5f ? -40.0f : 40.0f });
            flush();
            EXPECT_NE (parameter.getNormalised(), before) << "a drag moves it";
            EXPECT_EQ (host.touched().rfind ("not one gesture", 0), std::string::npos) << host.touched();
        }
        else if (auto* display = dynamic_cast<GFXDisplay*> (&widget))
        {
            // The edit as the display tells it when the user ends it (no
            // keyboard focus is granted without a display).
            display->setText ("Edited " + skin.name);
            editor().displayTextEdited (display);
            flush();
            EXPECT_EQ (parameters().toString (parameter.getId()), "Edited " + skin.name) << "an edit renames";
        }
        else if (auto* number = dynamic_cast<PatternNumberDisplay*> (&widget))
        {
            parameters().setInt (parameter.getId(), 13);
            flush();
            EXPECT_EQ (number->getValue(), 13) << "it shows the number";
        }
        else
        {
            // A lamp: lit by its parameter, dark again without it.
            auto frame = [&widget] {
                if (auto* lamp = dynamic_cast<GFXAnimation*> (&widget))
                    return lamp->getFrame();
                return toolkit_test::ref (dynamic_cast<GFXMultiStateButton*> (&widget)).getButtonStateIndex();
            };
            parameters().setNormalised (parameter.getId(), 1.0f);
            flush();
            EXPECT_EQ (frame(), 1) << "lit by its parameter";
            parameters().setNormalised (parameter.getId(), 0.0f);
            flush();
            EXPECT_EQ (frame(), 0);
        }
    }

    // A clickable control: each action's event is fired and carried out.
    void checkActions (const SkinControl& skin, juce::Component& widget, GUIController& controller)
    {
        widget_testing::ControllerLog log;
        controller.addListener (&log);
        for (const auto& action : skin.actions)
        {
            SCOPED_TRACE (action.type + " " + action.event);
            const int id = product->getEventsMap().getUid (action.event);
            log.log.clear();
            product->handledEvents.clear();
            host.calls.clear();
            widget_testing::clickCentre (widget, modifiersFor (action.type));
            flush();
            EXPECT_EQ (log.log, std::vector<std::string> { "event " + std::to_string (id) });
            if (programChanges.count (id) == 0)
            {
                EXPECT_EQ (host.touched().rfind ("not one gesture", 0), std::string::npos) << host.touched();
            }

            const auto effect = editorEffects.find (id);
            if (effect != editorEffects.end())
                EXPECT_TRUE (effect->second()) << "the editor carries it out";
            else
                EXPECT_EQ (product->handledEvents, std::vector<int> { id }) << "the processor carries it out";
        }
        controller.removeListener (&log);
    }

    // The clicks that put another program's values in place: the host hears
    // them as a program change, not as a touch of each parameter.
    const std::set<int> programChanges { BasePlugin::selectPreviousPresetCommand, BasePlugin::selectNextPresetCommand,
                                         BasePlugin::pasteCopiedPresetCommand };

    HostCalls host;

    // What the events the editor keeps for itself do.
    std::map<int, std::function<bool()>> editorEffects {
        { BasePlugin::optionsCommand, [this] { return editor().getOptionsWindow().isVisible(); } },
        { BasePlugin::aboutCommand, [this] { return editor().getAboutWindow().isVisible(); } },
        { BasePlugin::selectPreviousPresetCommand, [this] { return product->getCurrentPreset() == 0; } }, // no wrap
        { BasePlugin::selectNextPresetCommand, [this] { return product->getCurrentPreset() == 1; } },
        { BasePlugin::browsePresetsCommand, [this] { return editor().getPresetBrowser().isVisible(); } },
        { BasePlugin::copyCurrentPresetCommand, [this] { return product->isClipboardFilled(); } },
        { BasePlugin::pasteCopiedPresetCommand, [this] { return product->getPresetName (product->getCurrentPreset()).endsWith ("_copy"); } },
        { BasePlugin::storeCurrentPresetCommand, [this] { return product->handledEvents.empty(); } },
        { BasePlugin::toggleMidiLearnCommand, [this] { return product->getMidiControl().isLearnModeOn(); } },
        { 3028, [this] { return editor().getLoadMenu().isShown(); } },
        { 3029, [this] { return editor().getSaveMenu().isShown(); } },
    };
};

TEST_F (BuiltInSkinControls, EveryControlDoesWhatItsLinkAndActionsSay)
{
    const auto skin = readSkinControls();
    ASSERT_GT (skin.size(), 150u);

    // Links first, while the sequencer is as the fixture set it; then the
    // clicks, which switch modes as they go.
    for (const bool clicking : { false, true })
        for (const auto& control : skin)
        {
            SCOPED_TRACE (control.tag + " " + control.name);
            auto* widget = BasePluginEditor::findControlByName (editor().getMainPanel(), control.name);
            auto* controller = dynamic_cast<GUIController*> (widget);
            ASSERT_NE (controller, nullptr) << "built";
            auto* parameter = parameters().getParameterByName (control.link);
            EXPECT_EQ (controller->getBoundParameter(), parameter) << "bound to its link";

            if (clicking && ! control.actions.empty())
            {
                checkActions (control, *widget, *controller);
            }
            else if (! clicking && control.actions.empty() && parameter != nullptr)
            {
                checkLink (control, *widget, *parameter);
            }
            else if (! clicking && control.actions.empty())
            {
                EXPECT_EQ (control.name, "MidiActivityLed") << "a control that does nothing";
            }
        }
}

// Mutes, solos and their inverses: each click is one touch, for the host, of
// exactly the parameters it changes (Mute 50-60, Solo 61-71).
TEST_F (BuiltInSkinControls, EachMuteOrSoloClickIsOneGestureOnWhatItChanges)
{
    const struct
    {
        const char* button;
        bool inverse;
        const char* touched;
    } clicks[] = {
        { "BassDrumMuteButton", false, "50" },                                // on
        { "SnareDrumMuteButton", true, "50 51" },                             // the snare alone on
        { "SnareDrumMuteButton", true, "50 51 52 53 54 55 56 57 58 59 60" }, // every other on
        { "BassDrumMuteButton", false, "50" },                                // off
        { "CrashSoloButton", false, "70" },
        { "BassDrumSoloButton", true, "61 70" },
        { "BassDrumSoloButton", false, "61" },
    };

    for (const auto& c : clicks)
    {
        host.calls.clear();
        click (c.button, c.inverse ? ctrlClick() : juce::ModifierKeys::leftButtonModifier);
        EXPECT_EQ (host.touched(), c.touched) << c.button << (c.inverse ? " with Ctrl" : "");
    }
}
