// The product's editor as a host closes it, moves its window and changes
// its preset while the user is in the middle of something: a rename, a knob
// drag, a menu, a dialog. The module is loaded as a host loads it, its
// editor opened in a window of the host's on a real X server and driven with
// the server's own pointer and keyboard (XTest). Every test runs twice: with
// every call on one thread, as most hosts make them, and with the editor
// calls on a thread of the host's own while the instance, its state calls
// and its removal stay on the thread that made it, as Ardour makes them:
//
//     editor_life_tests <Pulsetta.so>
//
// No window of the plug-in outlives the editor (a host sends no idle call
// after closing it), and nothing typed or dragged is lost or undone.
//
// ctest runs it under its own Xvfb (run-under-xvfb.sh); without a display
// it is skipped (exit code 77).
#include "EditorWindowFixture.h"

#include <regex>

using namespace editor_window_testing;

namespace
{
// The preset browser window, as the editor shows it: centred in the part of
// the editor above the status bar, its preset column's rows 20 pixels high.
constexpr int browserWidth = 639, browserHeight = 350;
constexpr int statusBarHeight = 20;
constexpr int presetListLeft = 3 + 6 + 24 + 5 + 241 + 4; // border, margin, toolbar and gap, group column, list inset
constexpr int groupListLeft = 3 + 6 + 24 + 5 + 4;
constexpr int listTop = 31 + 6 + 4; // title bar, margin, list inset
constexpr int rowHeight = 20;

constexpr int bassDrumTune = 12; // the host parameter of BassDrumTuneKnob

// Where the host makes its editor calls.
enum class EditorCalls
{
    onTheInstancesThread,
    onAThreadOfTheirOwn
};

class EditorLife : public EditorWindow, public ::testing::WithParamInterface<EditorCalls>
{
protected:
    void SetUp() override
    {
        EditorWindow::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (GetParam() == EditorCalls::onAThreadOfTheirOwn)
            editorThread = std::make_unique<EditorCallThread>();
        ERect* rect = nullptr;
        ASSERT_NE(editorCall(effEditGetRect, &rect), 0) << "no editor rectangle on the thread the host asks on";
        controls = productControls();
        if (controls.empty())
            GTEST_SKIP() << "not the product's skin";
        openInNewWindow();
        ASSERT_NE(editorWindow, 0u);
    }

    void TearDown() override
    {
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        EditorWindow::TearDown();
    }

    // Sent to the server, seen by it, and handled by the editor's idle calls.
    void send(const std::function<void()>& events)
    {
        events();
        XSync(display, False);
        idleFor(std::chrono::milliseconds(30));
    }

    void pointerTo(int x, int y)
    {
        send([&] { XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime); });
    }
    void button(bool press)
    {
        send([&] { XTestFakeButtonEvent(display, 1, press ? True : False, CurrentTime); });
    }
    void clickAt(int x, int y)
    {
        pointerTo(x, y);
        button(true);
        button(false);
    }
    void doubleClickAt(int x, int y)
    {
        pointerTo(x, y);
        send([&] {
            for (const Bool press : { True, False, True, False })
                XTestFakeButtonEvent(display, 1, press, CurrentTime);
        });
    }

    // Keys typed where the server's keyboard focus is; capitals with Shift held.
    void type(const std::string& text)
    {
        const KeyCode shift = XKeysymToKeycode(display, XK_Shift_L);
        send([&] {
            for (const char c : text)
            {
                const bool capital = std::isupper(static_cast<unsigned char>(c)) != 0;
                const std::string letter(1, static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
                const KeySym symbol = c == '\n'     ? XK_Return
                                      : c == '\x1b' ? XK_Escape
                                      : c == ' '    ? XK_space
                                                    : XStringToKeysym(letter.c_str());
                const KeyCode key = XKeysymToKeycode(display, symbol);
                if (capital)
                    XTestFakeKeyEvent(display, shift, True, CurrentTime);
                XTestFakeKeyEvent(display, key, True, CurrentTime);
                XTestFakeKeyEvent(display, key, False, CurrentTime);
                if (capital)
                    XTestFakeKeyEvent(display, shift, False, CurrentTime);
            }
        });
    }

    // The windows on the screen that are neither the host's nor the root's:
    // windows of the plug-in of their own (there is no window manager).
    std::vector<Window> pluginWindowsShown()
    {
        std::vector<Window> shown;
        for (const Window window : childrenOf(display, DefaultRootWindow(display)))
        {
            XWindowAttributes attributes {};
            if (window != hostWindow && XGetWindowAttributes(display, window, &attributes) != 0
                && attributes.map_state == IsViewable)
                shown.push_back(window);
        }
        return shown;
    }

    // The top-left corner of the preset browser window on the screen (the
    // host's window stands at the origin).
    std::pair<int, int> browserOrigin()
    {
        ERect* rect = nullptr;
        editorCall(effEditGetRect, &rect);
        const int contentHeight = rect->bottom - statusBarHeight;
        return { rect->right / 2 - browserWidth / 2, contentHeight / 2 - browserHeight / 2 };
    }
    std::pair<int, int> presetRow(int row)
    {
        const auto [x, y] = browserOrigin();
        return { x + presetListLeft + 60, y + listTop + row * rowHeight + rowHeight / 2 };
    }

    void openPresetBrowser() { click(controls, "PresetBrowseButton"); }

    // Ctrl+click on the pattern arrow opens the save menu below it; its first
    // item, the save dialog, a window of its own.
    void openSaveDialog()
    {
        constexpr int arrowHeight = 20, menuInset = 4, itemHeight = 16;
        const auto [x, y] = controls.at("PattNextButton");
        click(controls, "PattNextButton", true);
        clickAt(x + 20, y + arrowHeight + menuInset + itemHeight / 2);
        idleFor(std::chrono::milliseconds(200));
        EXPECT_EQ(pluginWindowsShown().size(), 1u) << "the dialog";
    }

    // Double-clicks a preset of the shown group and waits for its name to float, open for typing.
    Window startRenaming(int row)
    {
        const auto [x, y] = presetRow(row);
        clickAt(x, y); // chosen: the current preset
        doubleClickAt(x, y);
        std::vector<Window> shown;
        for (int round = 0; round < 100 && shown.empty(); ++round)
        {
            idleFor(std::chrono::milliseconds(10));
            shown = pluginWindowsShown();
        }
        EXPECT_EQ(shown.size(), 1u) << "the rename's field floats over the row";
        return shown.empty() ? 0 : shown.front();
    }

    // Every preset's name, in bank order, from the state chunk.
    std::vector<std::string> presetNames()
    {
        const auto chunk = instance->getChunk();
        const std::string text(chunk.begin(), chunk.end());
        static const std::regex preset("<Preset [^>]*name=\"([^\"]*)\"");
        std::vector<std::string> names;
        for (std::sregex_iterator at(text.begin(), text.end(), preset), end; at != end; ++at)
            names.push_back((*at)[1]);
        return names;
    }

    // What the host heard of a parameter since the last look.
    std::vector<clihost::ParameterReport> reportsOf(int index)
    {
        std::vector<clihost::ParameterReport> found;
        for (const auto& report : instance->parameterReports)
            if (report.index == index)
                found.push_back(report);
        instance->parameterReports.clear();
        return found;
    }

    std::map<std::string, std::pair<int, int>> controls;
};
} // namespace

// Typed into a preset's name, the text shows, dark on the row's light grey,
// in the field that floats over the row (it was black on black).
TEST_P(EditorLife, ARenamesTypedTextShowsOnTheRowsColour)
{
    openPresetBrowser();
    const Window field = startRenaming(3);
    ASSERT_NE(field, 0u);
    type("WWWWWW");
    const auto picture = capture(display, field);
    ASSERT_FALSE(picture.rgb.empty());
    int light = 0, dark = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
        {
            const int brightness = picture.brightness(x, y);
            light += brightness > 3 * 0x90 ? 1 : 0; // the selected row's grey, 0xADADAD
            dark += brightness < 3 * 0x40 ? 1 : 0;  // the text
        }
    if (const char* folder = std::getenv("PULSETTA_TEST_OUTPUT"))
        testing_support::writePng(std::string(folder) + "/rename-field.png", picture.width, picture.height, picture.rgb);
    const int all = picture.width * picture.height;
    EXPECT_GT(light, all / 2) << "the field shows the row beneath it";
    EXPECT_GT(dark, 60) << "the text's pixels";
    EXPECT_LT(dark, all / 4);
    type("\n");
    EXPECT_EQ(presetNames()[3], "WWWWWW");
}

// The host closes the editor during a rename, keeping its window or
// destroying it, and sends no idle call: by the time effEditClose returns
// the field is gone from the screen and what was typed is the preset's name.
// Keys typed afterwards reach nothing, nor does Return after a reopening.
TEST_P(EditorLife, ClosingTheEditorEndsARenameCommittedAndLeavesNoWindow)
{
    for (const bool destroyHostWindow : { false, true })
    {
        SCOPED_TRACE(destroyHostWindow ? "host window destroyed" : "host window kept");
        openPresetBrowser();
        startRenaming(3);
        type("Orphan");
        EXPECT_EQ(editorCall(effEditClose), 0);
        XSync(display, False);
        EXPECT_TRUE(pluginWindowsShown().empty());
        EXPECT_TRUE(childrenOf(display, hostWindow).empty());
        EXPECT_EQ(presetNames()[3], "Orphan");

        if (destroyHostWindow)
        {
            XDestroyWindow(display, hostWindow);
            XSync(display, False);
        }
        type("Zz\n");
        if (destroyHostWindow)
            openInNewWindow();
        else
            EXPECT_EQ(editorCall(effEditOpen, reinterpret_cast<void*>(hostWindow)), 1);
        idleFor(std::chrono::milliseconds(100));
        type("\n");
        EXPECT_EQ(presetNames()[3], "Orphan");
        EXPECT_TRUE(pluginWindowsShown().empty());
    }
    EXPECT_EQ(xErrors, 0) << firstXError;
}

// The host's window moves (as a window manager moves it) during a rename:
// the field, which cannot follow, ends the rename, committed.
TEST_P(EditorLife, MovingTheHostsWindowEndsARenameCommitted)
{
    openPresetBrowser();
    startRenaming(3);
    type("Moved");
    XMoveWindow(display, hostWindow, 40, 30);
    XSync(display, False);
    idleFor(std::chrono::milliseconds(300));
    EXPECT_TRUE(pluginWindowsShown().empty());
    EXPECT_EQ(presetNames()[3], "Moved");
}

// A MIDI program change from the host to a preset of another group while a
// preset of the first group is renamed: the browser moves to that group, and
// the preset the rename began on carries the typed name.
TEST_P(EditorLife, AProgramChangeToAnotherGroupCommitsTheRenameToItsPreset)
{
    constexpr int presetOfTheSecondGroup = 20;
    instance->resume(44100.0, 256);
    openPresetBrowser();
    startRenaming(3);
    type("Kept");

    std::vector<std::vector<float>> out(static_cast<size_t>(instance->effect()->numOutputs), std::vector<float>(256));
    std::vector<float*> outputs;
    for (auto& channel : out)
        outputs.push_back(channel.data());
    instance->sendEvents({ clihost::MidiEventIn { 0, { 0xC0, presetOfTheSecondGroup } } });
    instance->process(nullptr, outputs.data(), 256); // received
    instance->process(nullptr, outputs.data(), 256); // applied
    idleFor(std::chrono::milliseconds(200));

    char name[64] = {}; // more than the 24 characters a program name may have
    instance->dispatch(effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "Preset 20") << "the program changed";
    const auto names = presetNames();
    EXPECT_EQ(names[3], "Kept");
    EXPECT_EQ(std::count(names.begin(), names.end(), "Kept"), 1);
    EXPECT_TRUE(pluginWindowsShown().empty());
    instance->suspend();
}

// A drag of BD TUNE cut short by the host closing the editor, the button
// still held: the host hears the drag's end by the time the close returns,
// the value reached stays, and a later press on the knob that does not move
// writes nothing (it took up the old drag and wrote its starting value).
TEST_P(EditorLife, ClosingTheEditorEndsAKnobDragKeepingItsValue)
{
    const auto knob = controls.at("BassDrumTuneKnob");
    const int x = knob.first + 15, y = knob.second + 15; // a 30-pixel knob
    const float before = instance->getParameter(bassDrumTune);
    reportsOf(bassDrumTune);

    pointerTo(x, y);
    button(true);
    for (int step = 1; step <= 8; ++step)
        pointerTo(x, y - 4 * step);
    const float reached = instance->getParameter(bassDrumTune);
    EXPECT_GT(reached, before);
    auto reports = reportsOf(bassDrumTune);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front().opcode, audioMasterBeginEdit);

    EXPECT_EQ(editorCall(effEditClose), 0);
    reports = reportsOf(bassDrumTune);
    EXPECT_EQ(reports.size(), 1u) << "one report: the drag's end";
    EXPECT_TRUE(!reports.empty() && reports.front().opcode == audioMasterEndEdit);

    button(false);
    XDestroyWindow(display, hostWindow);
    openInNewWindow();
    pointerTo(x, y);
    button(true);
    button(false);
    idleFor(std::chrono::milliseconds(50));
    EXPECT_EQ(instance->getParameter(bassDrumTune), reached);
    for (const auto& report : reportsOf(bassDrumTune))
        EXPECT_NE(report.opcode, audioMasterAutomate) << "a press without movement wrote " << report.value;
}

// Whatever is open when the host closes the editor, no window of the
// plug-in stays on the screen once effEditClose returns, and nothing comes
// back with the next opening: a save dialog has closed as a cancel, a drag
// dropped nothing. (A rename is the test above.) A click beside the dialog
// brings it forward and writes nothing to the host's output (JUCE's alert
// sound would write a bell character there).
TEST_P(EditorLife, ClosingTheEditorLeavesNoWindowWhateverWasOpen)
{
    const struct
    {
        const char* what;
        std::function<void()> open;
    } cases[] = {
        { "a menu", [&] { click(controls, "PattNextButton", true); } },
        { "a save dialog", [&] {
             openSaveDialog();
             ::testing::internal::CaptureStdout();
             clickAt(100, 500);
             EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
         } },
        { "the options", [&] { click(controls, "OptionsButton"); } },
        { "the preset browser", [&] { openPresetBrowser(); } },
        { "a preset dragged", [&] {
             openPresetBrowser();
             const auto [x, y] = presetRow(2);
             pointerTo(x, y);
             button(true);
             pointerTo(x + 8, y);
             pointerTo(x + 8, y + 2 * rowHeight);
             EXPECT_EQ(pluginWindowsShown().size(), 1u) << "the dragged row's picture";
         } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const auto names = presetNames();
        c.open();
        EXPECT_EQ(editorCall(effEditClose), 0);
        XSync(display, False);
        EXPECT_TRUE(pluginWindowsShown().empty());
        EXPECT_TRUE(childrenOf(display, hostWindow).empty());
        EXPECT_EQ(presetNames(), names) << "nothing saved, dropped or renamed";
        button(false);
        XDestroyWindow(display, hostWindow);
        openInNewWindow();
        idleFor(std::chrono::milliseconds(100));
        EXPECT_TRUE(pluginWindowsShown().empty());

        // The next case begins on a fresh instance, with no window of the editor's shown.
        closeAndDestroyWindow();
        std::string error;
        instance = clihost::PluginInstance::create(*module, {}, error);
        ASSERT_NE(instance, nullptr) << error;
        openInNewWindow();
    }
    EXPECT_EQ(xErrors, 0) << firstXError;
}

// A drag of BD TUNE while the host plays, let go: the host hears one gesture
// around the values it writes. A host that makes its editor calls on a
// thread of their own hears them from its audio thread (Ardour dies writing
// automation on its editor thread), the others where the editor runs.
TEST_P(EditorLife, AKnobDragAutomatesInsideOneGesture)
{
    const auto knob = controls.at("BassDrumTuneKnob");
    const int x = knob.first + 15, y = knob.second + 15;
    const float before = instance->getParameter(bassDrumTune);
    instance->resume(44100.0, 256);
    reportsOf(bassDrumTune);
    std::thread::id audioThread;
    {
        const RenderThread audio(*instance);
        audioThread = audio.id();
        pointerTo(x, y);
        button(true);
        for (int step = 1; step <= 6; ++step)
            pointerTo(x, y - 4 * step);
        button(false);
        idleFor(std::chrono::milliseconds(20));
    }

    const auto reports = reportsOf(bassDrumTune);
    const auto expectedThread =
        GetParam() == EditorCalls::onAThreadOfTheirOwn ? audioThread : std::this_thread::get_id();
    for (const auto& report : reports)
        EXPECT_EQ(report.thread, expectedThread);
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(reports.back().opcode, audioMasterEndEdit);
    for (size_t i = 1; i + 1 < reports.size(); ++i)
        EXPECT_EQ(reports[i].opcode, audioMasterAutomate) << i;
    EXPECT_GT(reports[reports.size() - 2].value, before);
    EXPECT_EQ(reports[reports.size() - 2].value, instance->getParameter(bassDrumTune));
    instance->suspend();
}

// State chunks set and taken on the instance's thread, over and over, while
// the host's own thread idles the open editor and the audio thread plays:
// nothing hangs, every chunk taken is whole, and the preset browser shows
// whichever bank was set last.
TEST_P(EditorLife, StateCallsWhileTheEditorIdlesAndPlaysElsewhere)
{
    if (GetParam() != EditorCalls::onAThreadOfTheirOwn)
        GTEST_SKIP() << "needs a second host thread";
    instance->resume(44100.0, 256);
    openPresetBrowser();
    const auto chunk = instance->getChunk();
    const std::string original(chunk.begin(), chunk.end());
    // Of the same length: the chunk's frame states the length of its text.
    const auto name = presetNames()[3];
    const auto swappedName = ("Swapped" + std::string(name.size(), 'x')).substr(0, name.size());
    const std::string renamed = std::regex_replace(original, std::regex("name=\"" + name + "\""),
                                                   "name=\"" + swappedName + "\"");
    ASSERT_NE(renamed, original);
    const std::vector<uint8_t> chunks[] = { chunk, { renamed.begin(), renamed.end() } };

    const auto [left, top] = browserOrigin();
    const auto browserNow = [&, left = left, top = top] {
        const auto whole = capture(display, editorWindow);
        std::vector<uint8_t> part;
        for (int y = top; y < top + browserHeight; ++y)
            part.insert(part.end(), whole.rgb.begin() + 3 * (y * whole.width + left),
                        whole.rgb.begin() + 3 * (y * whole.width + left + browserWidth));
        return part;
    };
    // The browser's picture once it has settled: the same twice, 100 ms apart (a slow build takes longer).
    const auto browser = [&] {
        idleFor(std::chrono::milliseconds(150));
        auto last = browserNow();
        for (int round = 0; round < 30; ++round)
        {
            idleFor(std::chrono::milliseconds(100));
            auto now = browserNow();
            if (std::exchange(last, now) == now)
                break;
        }
        return last;
    };

    {
        const RenderThread audio(*instance);
        editorThread->idleContinuously(instance.get());
        for (int round = 0; round < 200; ++round)
        {
            instance->setChunk(chunks[round % 2]);
            const auto taken = instance->getChunk();
            const std::string text(taken.begin(), taken.end());
            ASSERT_EQ(text.find(swappedName) != std::string::npos, round % 2 == 1) << round;
            ASSERT_EQ(text.substr(text.size() - 16), original.substr(original.size() - 16)) << round;
        }
        editorThread->idleContinuously(nullptr);
    }
    instance->setChunk(chunks[1]);
    const auto swapped = browser();
    instance->setChunk(chunks[0]);
    const auto restored = browser();
    instance->setChunk(chunks[1]);
    EXPECT_EQ(browser(), swapped);
    EXPECT_NE(swapped, restored);
    EXPECT_EQ(presetNames()[3], swappedName);
    instance->suspend();
}

// A second instance made on the instance's thread once the first one's
// editor is open: its editor opens and paints too, and goes on working
// once the first instance has closed its editor and gone, Ardour's way
// (effEditClose on the editor thread, then effClose on the instance's).
TEST_P(EditorLife, TwoInstancesEachWithItsEditor)
{
    auto first = std::move(instance);
    const Window firstHostWindow = hostWindow;
    std::string error;
    instance = clihost::PluginInstance::create(*module, {}, error);
    ASSERT_NE(instance, nullptr) << error;
    openInNewWindow();
    ASSERT_NE(editorWindow, firstHostWindow);

    onEditorThread([&] { EXPECT_EQ(first->dispatch(effEditClose), 0); });
    XDestroyWindow(display, firstHostWindow);
    first.reset();

    const auto before = capture(display, editorWindow).rgb;
    instance->setParameter(bassDrumTune, instance->getParameter(bassDrumTune) > 0.5f ? 0.0f : 1.0f);
    idleFor(std::chrono::milliseconds(200));
    EXPECT_NE(capture(display, editorWindow).rgb, before) << "the knob turned on the screen";
    EXPECT_EQ(xErrors, 0) << firstXError;
}

// The host hides its window without a word to the plug-in (Ardour's close
// button only unmaps its plug-in window) and shows it again later: hidden,
// nothing of the editor's stays on the screen (a dialog closes as a cancel,
// a menu closes, a rename ends committed); shown again, the editor paints.
TEST_P(EditorLife, HidingTheHostsWindowEndsWhatIsOpenAndShowingItPaintsTheEditor)
{
    const struct
    {
        const char* what;
        std::function<void()> open;
        const char* presetName; // the fourth preset's name afterwards, when it changes
    } cases[] = {
        { "a save dialog", [&] { openSaveDialog(); }, nullptr },
        { "a menu", [&] { click(controls, "PattNextButton", true); }, nullptr },
        { "a rename", [&] {
             openPresetBrowser();
             startRenaming(3);
             type("Hidden");
         }, "Hidden" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        auto names = presetNames();
        c.open();
        XUnmapWindow(display, hostWindow);
        XSync(display, False);
        idleFor(std::chrono::milliseconds(100));
        EXPECT_TRUE(pluginWindowsShown().empty());
        if (c.presetName != nullptr)
            names[3] = c.presetName;
        EXPECT_EQ(presetNames(), names);

        XMapWindow(display, hostWindow);
        XSync(display, False);
        Painted painted;
        for (int round = 0; round < 50 && painted.colours < 2; ++round)
        {
            idleFor(std::chrono::milliseconds(10));
            painted = readPixels(display, editorWindow, hostBackground);
        }
        EXPECT_GE(painted.colours, 2) << "the editor painted again";
        EXPECT_TRUE(pluginWindowsShown().empty());
        type("\x1b"); // the browser, if open, closes for the next case
    }
    EXPECT_EQ(xErrors, 0) << firstXError;
}

// The host's keyboard stays the host's (Space, Home, Ctrl+S) while the user
// clicks knobs and the panel; the editor takes it only while it has a use
// for it, a text being edited or a window that Escape closes, and gives it
// back when that ends. Escape closes Options whatever was clicked before.
TEST_P(EditorLife, TheEditorHoldsTheKeyboardOnlyWhileItHasAUseForIt)
{
    // Whether the host's window has the keyboard, once the editor has handled
    // what came: asked again over up to a second of idle calls until it is
    // as expected (a slow build takes a few).
    const auto hostHasTheKeyboard = [&](bool expected) {
        const auto hostHasIt = [&] {
            Window window = 0;
            int revert = 0;
            XGetInputFocus(display, &window, &revert);
            return window == hostWindow;
        };
        for (int round = 0; round < 50 && hostHasIt() != expected; ++round)
            idleFor(std::chrono::milliseconds(20));
        return hostHasIt();
    };
    XSetInputFocus(display, hostWindow, RevertToParent, CurrentTime);
    XSync(display, False);

    click(controls, "BassDrumTuneKnob");
    EXPECT_TRUE(hostHasTheKeyboard(true)) << "after a knob";
    clickAt(300, 30);
    EXPECT_TRUE(hostHasTheKeyboard(true)) << "after the panel's background";

    click(controls, "OptionsButton");
    EXPECT_FALSE(hostHasTheKeyboard(false)) << "Options open";
    type("\x1b");
    EXPECT_TRUE(hostHasTheKeyboard(true)) << "Options closed by Escape";

    openPresetBrowser();
    EXPECT_FALSE(hostHasTheKeyboard(false)) << "the browser open";
    startRenaming(3);
    type("A B\n");
    EXPECT_EQ(presetNames()[3], "A B");
    EXPECT_FALSE(hostHasTheKeyboard(false)) << "the browser still open";
    type("\x1b");
    EXPECT_TRUE(hostHasTheKeyboard(true)) << "the browser closed by Escape";
}

std::string nameOf(const ::testing::TestParamInfo<EditorCalls>& calls)
{
    return calls.param == EditorCalls::onTheInstancesThread ? "OneThread" : "EditorThread";
}

INSTANTIATE_TEST_SUITE_P(HostThreads, EditorLife,
                         ::testing::Values(EditorCalls::onTheInstancesThread, EditorCalls::onAThreadOfTheirOwn),
                         nameOf);

int main(int argc, char** argv)
{
    return runTests(argc, argv);
}
