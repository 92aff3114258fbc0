// The editor of a module in a real X server, with the module loaded as a host
// loads it (through VSTPluginMain, by the command-line host's code):
//
//     editor_window_tests <module.so>
//
// The host makes its window, asks for the editor's rectangle, opens the editor
// in its window, idles it, finds our window among its window's children and
// the editor painted there, closes the editor and destroys its window (as
// hosts do), then does it all again in a new window, while another thread
// renders blocks. A host that never idles still gets its audio and its
// state. Not one X error may arise, on any connection of the process.
//
// With the product's module, a user then programs a pattern with the mouse
// (the X server's own pointer and keyboard, through XTest) and starts it; the
// window shows the steps set and the one playing. With PULSETTA_TEST_OUTPUT
// naming a folder, that picture is written there as "editor.png". A user also
// presses Play between the blocks of a script, as the host's transport stops.
// A host drags a knob 200 times: each drag's end reaches it within the idle
// calls after the release. Escape closes the options, the about and the
// preset browser window.
//
// ctest runs it under its own Xvfb (run-under-xvfb.sh). Without a display the
// test is skipped (exit code 77); a module without an editor fails it.
#include "EditorWindowFixture.h"

using namespace vst;
using namespace editor_window_testing;

TEST_F(EditorWindow, OpensInTheHostsWindowPaintsClosesAndReopensWhileBlocksRender)
{
    instance->resume(44100.0, 256);
    {
        RenderThread audio(*instance);
        const auto first = openPaintAndClose();
        const auto again = openPaintAndClose();
        std::cout << "effEditOpen took " << first.open.count() << " ms (shown after " << first.shown.count()
                  << " ms), again " << again.open.count() << " ms (shown after " << again.shown.count() << " ms)\n";
        EXPECT_GT(audio.blocks, 0);
    }
    instance->suspend();
    instance->close();
    instance.reset();
    module.reset();
    XSync(display, False);
    EXPECT_EQ(xErrors, 0) << firstXError;
}

// Headless hosts never idle the editor, and some hosts idle it rarely: with
// the editor open and no idle call at all, blocks still sound and the state
// still goes out and comes back.
TEST_F(EditorWindow, AudioAndStateNeedNoIdleCall)
{
    ERect* rect = nullptr;
    instance->dispatch(effEditGetRect, 0, 0, &rect);
    ASSERT_NE(rect, nullptr);
    hostWindow = makeHostWindow(rect->right, rect->bottom);
    ASSERT_EQ(instance->dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(hostWindow)), 1);
    instance->resume(44100.0, 256);

    std::vector<std::vector<float>> out(static_cast<size_t>(instance->effect()->numOutputs), std::vector<float>(256, 5.0f));
    std::vector<float*> outputs;
    for (auto& channel : out)
        outputs.push_back(channel.data());
    instance->sendEvents({ clihost::MidiEventIn { 0, { 0x99, 36, 127 } } });
    instance->process(nullptr, outputs.data(), 256);
    bool written = true, sounding = false;
    for (const auto& channel : out)
        for (const float sample : channel)
        {
            written = written && sample != 5.0f;
            sounding = sounding || sample != 0.0f;
        }
    EXPECT_TRUE(written && sounding);

    instance->setParameter(0, 0.25f);
    const auto chunk = instance->getChunk();
    EXPECT_FALSE(chunk.empty());
    instance->setParameter(0, 0.75f);
    instance->setChunk(chunk);
    EXPECT_FLOAT_EQ(instance->getParameter(0), 0.25f);
    EXPECT_EQ(instance->getChunk(), chunk);

    instance->suspend();
    closeAndDestroyWindow();
    EXPECT_EQ(xErrors, 0) << firstXError;
}

// A musician's first minute: write mode, the pattern cleared (Ctrl+Clear), a
// beat set track by track with the select and step buttons, and Play. The
// step buttons then show the bass drum's steps, and the one playing stands
// out: the lit keys are the bass drum's four, but for one key.
TEST_F(EditorWindow, AUserProgramsAPatternAndWatchesItPlay)
{
    const auto controls = productControls();
    if (controls.empty())
        GTEST_SKIP() << "not the product's skin";
    instance->resume(44100.0, 256);
    openInNewWindow();
    ASSERT_NE(editorWindow, 0u);

    auto stepName = [](int step) { return "Step" + std::string(step < 10 ? "0" : "") + std::to_string(step) + "Button"; };
    auto clickSteps = [&](std::initializer_list<int> steps) {
        for (const int step : steps)
            click(controls, stepName(step));
    };
    click(controls, "WriteModeButton");
    click(controls, "ClearButton", true);
    click(controls, "ClosedHiHatSelectButton");
    clickSteps({ 1, 3, 5, 7, 9, 11, 13, 15 });
    click(controls, "SnareDrumSelectButton");
    clickSteps({ 5, 13 });
    click(controls, "BassDrumSelectButton");
    clickSteps({ 1, 5, 9, 13 });
    click(controls, "PlayButton");

    // The keys lit: a step the track plays shows half lit, the one playing
    // the other way round (dark when played, fully lit when not).
    auto litSteps = [&](const Picture& picture) {
        std::vector<int> brightness;
        for (int step = 1; step <= 16; ++step)
        {
            const auto& key = controls.at(stepName(step));
            brightness.push_back(picture.brightness(key.first + 22, key.second + 22));
        }
        const int darkest = *std::min_element(brightness.begin(), brightness.end());
        std::set<int> lit;
        for (int step = 0; step < 16; ++step)
            if (brightness[static_cast<size_t>(step)] > darkest + 90)
                lit.insert(step);
        return lit;
    };

    // The clock runs while blocks render; stopped in between, the light stays
    // where it was. The picture is taken once the light stands on a key of
    // its own (a step the bass drum does not play), which reads best.
    Picture picture;
    std::set<int> lit;
    for (int burst = 0; burst < 40 && lit.size() != 5; ++burst)
    {
        {
            RenderThread audio(*instance);
            idleFor(std::chrono::milliseconds(20 + 13 * (burst % 5)));
        }
        idleFor(std::chrono::milliseconds(100)); // painted, with the voices' lamps still lit
        picture = capture(display, hostWindow);
        ASSERT_GT(picture.width, 0);
        lit = litSteps(picture);
        std::set<int> differing;
        const std::set<int> bassDrum { 0, 4, 8, 12 };
        std::set_symmetric_difference(lit.begin(), lit.end(), bassDrum.begin(), bassDrum.end(), std::inserter(differing, differing.end()));
        // On a loaded machine the first bursts may render no block at all: no step has sounded yet.
        if (differing.empty())
            continue;
        ASSERT_EQ(differing.size(), 1u) << "the bass drum's steps, and the one playing shown the other way";
    }
    ASSERT_EQ(lit.size(), 5u) << "the light never stood on a key of its own";

    if (const char* folder = std::getenv("PULSETTA_TEST_OUTPUT"))
    {
        const auto path = std::string(folder) + "/editor.png";
        EXPECT_TRUE(testing_support::writePng(path, picture.width, picture.height, picture.rgb)) << path;
        std::cout << "wrote " << path << "\n";
    }

    closeAndDestroyWindow();
    instance->suspend();
    EXPECT_EQ(xErrors, 0) << firstXError;
}

// The host's transport runs the internal clock, and the user presses Play
// (Start/Stop) as the host stops. Pressed while the host plays, it is not
// carried out, even when the host has stopped by the next block: it never
// starts the clock again on its own. Pressed once the host has stopped, it does.
TEST_F(EditorWindow, PlayPressedWhileTheHostPlaysNeverStartsTheClockAfterTheHostStops)
{
    const auto controls = productControls();
    if (controls.empty())
        GTEST_SKIP() << "not the product's skin";
    constexpr double rate = 44100.0;
    constexpr int block = 256;
    instance->resume(rate, block);
    openInNewWindow();
    ASSERT_NE(editorWindow, 0u);

    constexpr int64_t stopFrame = 200 * block;
    const struct
    {
        int64_t pressedAfterBlockAt; // the first frame of the block after which Play is pressed
        bool plays;                  // whether the clock plays after the host's stop
    } cases[] = {
        { stopFrame - block, false },     // the host's last block: the next one has it stopped
        { stopFrame - 2 * block, false }, // the host plays on for a block after the press
        { stopFrame, true },              // the host's first stopped block
    };
    std::ostringstream script;
    script << "at 0 play\nat " << stopFrame << " stop\nend " << stopFrame + static_cast<int64_t>(2.1 * rate) << "\n";
    clihost::Script played;
    std::string error;
    ASSERT_TRUE(clihost::Script::parse(script.str(), rate, played, error)) << error;
    clihost::PlaySettings settings;
    settings.sampleRate = rate;
    settings.blockSize = block;
    settings.resume = false;

    for (const auto& c : cases)
    {
        int notesAfterTheStop = 0, notesBefore = 0;
        clihost::play(*instance, played, settings, [&](clihost::RenderedBlock& rendered) {
            for (const auto& sent : rendered.midi)
                if (sent.bytes.size() >= 3 && (sent.bytes[0] & 0xf0) == 0x90 && sent.bytes[2] > 0)
                    ++(sent.frame >= stopFrame ? notesAfterTheStop : notesBefore);
            if (rendered.start == c.pressedAfterBlockAt)
            {
                click(controls, "PlayButton");
                idleFor(std::chrono::milliseconds(100)); // the press reaches the processor before the next block
            }
            return true;
        });
        EXPECT_GT(notesBefore, 0) << "the host's transport ran the clock";
        EXPECT_EQ(notesAfterTheStop > 0, c.plays) << "pressed after the block at frame " << c.pressedAfterBlockAt << ", "
                                                  << notesAfterTheStop << " notes in the 2.1 s after the host stopped";
    }

    closeAndDestroyWindow();
    instance->suspend();
    EXPECT_EQ(xErrors, 0) << firstXError;
}

// A host drags a knob as a user does (press, eight small steps, release) and
// then only idles the editor: the drag's end reaches the host within those
// idle calls, with no further mouse or window traffic to carry it. The knob
// repaints at each step, so a repaint is in flight when the release comes,
// which is when the editor's window connection reads the release early.
TEST_F(EditorWindow, EveryKnobDragEndsWithinTheIdleCallsAfterItsRelease)
{
    if (!showsTheProductsSkin())
        GTEST_SKIP() << "not the product's skin";
    const auto knob = readControlPositions(PULSETTA_SKIN_XML).at("MainVolumeKnob");
    const int centreX = knob.first + 26, centreY = knob.second + 26; // a 52-pixel knob
    openInNewWindow();
    ASSERT_NE(editorWindow, 0u);

    const auto endEdits = [this] {
        return std::count_if(instance->parameterReports.begin(), instance->parameterReports.end(),
                             [](const clihost::ParameterReport& report) { return report.opcode == audioMasterEndEdit; });
    };
    // Sent and seen by the server before the next idle call, as a user's input is.
    const auto send = [this](auto&& event) {
        event();
        XSync(display, False);
    };
    const auto idleAsAHost = [this] { // every 10 ms
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        instance->idle();
    };

    constexpr int drags = 200, idleCallsAfterRelease = 5;
    int late = 0, mostCallsNeeded = 0;
    for (int drag = 0; drag < drags; ++drag)
    {
        const int step = drag % 2 == 0 ? -4 : 4; // up, then down again: the value stays inside its range
        send([&] { XTestFakeMotionEvent(display, DefaultScreen(display), centreX, centreY, CurrentTime); });
        send([&] { XTestFakeButtonEvent(display, 1, True, CurrentTime); });
        instance->idle();
        for (int move = 1; move <= 8; ++move)
        {
            send([&] { XTestFakeMotionEvent(display, DefaultScreen(display), centreX, centreY + move * step, CurrentTime); });
            instance->idle(); // the knob turns and is painted
        }
        send([&] { XTestFakeButtonEvent(display, 1, False, CurrentTime); });
        int calls = 0;
        while (calls < idleCallsAfterRelease && endEdits() != drag + 1)
        {
            idleAsAHost();
            ++calls;
        }
        if (endEdits() == drag + 1)
        {
            mostCallsNeeded = std::max(mostCallsNeeded, calls);
            continue;
        }
        ++late;
        // The next mouse traffic brings it, as a user's next move would.
        for (int round = 0; round < 100 && endEdits() != drag + 1; ++round)
        {
            send([&] { XTestFakeMotionEvent(display, DefaultScreen(display), 0, 0, CurrentTime); });
            idleAsAHost();
        }
        ASSERT_EQ(endEdits(), drag + 1) << "drag " << drag << " never ended";
    }
    std::cout << late << " of " << drags << " drags ended only at the next mouse traffic; the others within "
              << mostCallsNeeded << " idle calls of their release\n";
    EXPECT_EQ(late, 0);

    closeAndDestroyWindow();
    EXPECT_EQ(xErrors, 0) << firstXError;
}

// Escape closes the options window, the about box and the preset browser,
// as the user sees it: the part of the editor they cover shows again as it was.
TEST_F(EditorWindow, EscapeClosesTheOptionsTheAboutAndTheBrowserWindow)
{
    if (!showsTheProductsSkin())
        GTEST_SKIP() << "not the product's skin";
    const auto controls = readControlPositions(PULSETTA_SKIN_XML);
    openInNewWindow();
    ASSERT_NE(editorWindow, 0u);
    // Inside every window, above the blinking pattern name.
    const auto coveredPart = [this] {
        const auto picture = capture(display, hostWindow);
        std::vector<int> pixels;
        for (int y = 100; y < 380 && !picture.rgb.empty(); ++y)
            for (int x = 200; x < 800; ++x)
                pixels.push_back(picture.brightness(x, y));
        return pixels;
    };
    // The pointer rests where no control lights up under it.
    const auto restThePointer = [this] {
        XTestFakeMotionEvent(display, DefaultScreen(display), 2, 2, CurrentTime);
        XSync(display, False);
        idleFor(std::chrono::milliseconds(100));
    };
    restThePointer();
    const auto before = coveredPart();

    for (const auto* button : { "OptionsButton", "AboutButton", "PresetBrowseButton" })
    {
        click(controls, button);
        restThePointer();
        EXPECT_TRUE(coveredPart() != before) << button << " opened its window";
        const KeyCode escape = XKeysymToKeycode(display, XK_Escape);
        XTestFakeKeyEvent(display, escape, True, CurrentTime);
        XTestFakeKeyEvent(display, escape, False, CurrentTime);
        restThePointer();
        EXPECT_TRUE(coveredPart() == before) << "Escape closed the window of " << button;
    }

    closeAndDestroyWindow();
    EXPECT_EQ(xErrors, 0) << firstXError;
}
int main(int argc, char** argv)
{
    return runTests(argc, argv);
}
