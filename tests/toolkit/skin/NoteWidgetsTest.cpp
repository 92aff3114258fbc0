#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/skin/ImageMidiKeyboard.h"
#include "toolkit/skin/NoteDisplay.h"

#include <gtest/gtest.h>

using namespace widget_testing;

namespace
{
struct NoteWidgetsTest : ::testing::Test
{
    NoteWidgetsTest()
    {
        skin.images["notes.png"] = makeFrameStrip (9, 8, 12);
        skin.images["tones.png"] = makeFrameStrip (3, 6, 12);
        skin.images["octaves.png"] = makeFrameStrip (13, 8, 14);
        skin.images["key.png"] = makeFrameStrip (8, 10, 60);
    }

    // The frame each of the three cells shows, read at the cells' centres.
    static std::vector<int> cellFrames (NoteDisplay& display)
    {
        const auto image = paintImage (display);
        std::vector<int> frames;
        for (const auto cell : { NoteDisplay::notesCell, NoteDisplay::tonesCell, NoteDisplay::octavesCell })
            frames.push_back (frameAt (image, display.getCellBounds (cell).getCentreX(), display.getCellBounds (cell).getCentreY()));
        return frames;
    }

    TestSkin skin;
    Stage stage;
};

const char* const stripNoteDisplay = R"(<NoteDisplay name="Root"><links><link as="connectedTo" param="Pattern"/></links>
    <gfx><notes resource="notes.png"/><tones resource="tones.png"/><octaves resource="octaves.png"/></gfx><pos left="3" top="4"/></NoteDisplay>)";

// Three keys from note 60 up, each shaped by one neighbour on each side, at
// the keyboard's left edge and 10 pixels apart.
const char* const threeKeyKeyboard = R"(<MidiKeyboard name="Keys" firstKey="60" lastKey="62"><size width="30" height="60"/><pos left="100" top="50"/>
    <Keys>
      <Key left="1" right="1"><gfx resource="key.png" framesNum="8"/><size width="10" height="60"/><pos left="100" top="50"/></Key>
      <Key left="1" right="1"><gfx resource="key.png" framesNum="8"/><size width="10" height="60"/><pos left="110" top="50"/></Key>
      <Key left="1" right="1"><gfx resource="key.png" framesNum="8"/><size width="10" height="60"/><pos left="120" top="50"/></Key>
    </Keys></MidiKeyboard>)";

// Two keys 10 pixels wide, the first 10 pixels in from the keyboard's edge.
const char* const offsetKeyboard = R"(<MidiKeyboard firstKey="60" lastKey="61"><size width="40" height="60"/><pos left="100" top="50"/>
    <Keys>
      <Key left="1" right="1"><gfx resource="key.png" framesNum="8"/><pos left="110" top="50"/></Key>
      <Key left="1" right="1"><gfx resource="key.png" framesNum="8"/><pos left="125" top="50"/></Key>
    </Keys></MidiKeyboard>)";
} // namespace

TEST_F (NoteWidgetsTest, NoteDisplayShowsLetterSignAndOctaveInItsCells)
{
    const struct
    {
        int note;
        bool enabled, blinkDark;
        std::vector<int> frames;
    } cases[] = {
        { 61, true, false, { 1, 1, 6 } },   // C#5
        { 60, true, false, { 1, 2, 6 } },   // C-5
        { 0, true, false, { 1, 2, 1 } },    // C-0
        { 127, true, false, { 5, 2, 11 } }, // G-H: octave 10
        { -5, true, false, { 1, 2, 1 } },   // limited to 0
        { 300, true, false, { 5, 2, 11 } }, // limited to 127
        { 61, false, false, { 0, 0, 0 } },
        { 61, true, true, { 0, 0, 0 } },
    };

    for (const auto& c : cases)
    {
        NoteDisplay display;
        stage.add (display);
        EXPECT_TRUE (loadControl (display, stripNoteDisplay, skin).isEmpty());
        EXPECT_EQ (display.getBounds(), juce::Rectangle<int> (3, 4, 8 + 6 + 8, 14)) << "side by side, as high as the highest";

        display.setNote (c.note);
        display.setEnabled (c.enabled);
        if (c.blinkDark)
            makeBlinkDark (display);

        EXPECT_EQ (cellFrames (display), c.frames) << c.note;
    }
}

TEST_F (NoteWidgetsTest, NoteDisplayWithoutStripsWritesTheNoteInThirdsOfItsSize)
{
    NoteDisplay display;
    stage.add (display);
    loadControl (display, R"(<NoteDisplay><size width="60" height="20"/></NoteDisplay>)", skin);
    display.setNote (61);

    EXPECT_EQ (display.getCellBounds (NoteDisplay::octavesCell), juce::Rectangle<int> (40, 0, 20, 20));
    const auto image = paintImage (display);
    for (const auto cell : { NoteDisplay::notesCell, NoteDisplay::tonesCell, NoteDisplay::octavesCell })
    {
        int dark = 0;
        const auto area = display.getCellBounds (cell);
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                dark += image.getPixelAt (x, y).getBrightness() < 0.5f ? 1 : 0;
        EXPECT_GT (dark, 5) << "C, # and 5 are written in black: cell " << cell;
    }
}

// Each whole 20 pixels up raises the note by one, written to the parameter in
// one gesture; the note stays within 0..127.
TEST_F (NoteWidgetsTest, DraggingANoteDisplayStepsTheNoteInOneGesture)
{
    const struct
    {
        int start;
        float dy;
        int note;
        std::vector<std::string> host;
    } cases[] = {
        { 60, -45.0f, 62, { "begin", "set 62.000", "end" } },
        { 60, 19.0f, 60, { "begin", "end" } },
        { 60, 2000.0f, 0, { "begin", "set 0.000", "end" } },
        { 126, -100.0f, 127, { "begin", "set 127.000", "end" } },
    };

    for (const auto& c : cases)
    {
        NoteDisplay display;
        stage.add (display);
        loadControl (display, stripNoteDisplay, skin);
        skin.parameter ("Pattern").setInt (c.start, true);
        testing_support::runPendingMessages();
        HostLog host (skin.parameter ("Pattern"));
        ControllerLog editor;
        display.addListener (&editor);

        dragBy (display, { 5.0f, 5.0f }, { 0.0f, c.dy });

        EXPECT_EQ (display.getNote(), c.note) << c.dy;
        EXPECT_EQ (skin.parameter ("Pattern").getInt(), c.note) << c.dy;
        EXPECT_EQ (host.log, c.host) << c.dy;
        EXPECT_EQ (editor.log.size(), c.host.size()) << c.dy;
    }
}

TEST (ImageMidiKeyboard, APictureFrameReadsTheNeighboursHighestFirstThenTheKey)
{
    const struct
    {
        int left, right;
        std::vector<int> down; // among notes 58 to 62
        int frame;             // of key 60
    } cases[] = {
        { 1, 1, {}, 0 },
        { 1, 1, { 60, 59 }, 5 }, // down with its lower neighbour: 1 + 4
        { 1, 1, { 61 }, 2 },
        { 1, 1, { 60, 61, 59 }, 7 },
        { 2, 0, { 58 }, 1 },
        { 0, 2, { 61 }, 1 },
        { 0, 2, { 62 }, 2 },
        { 0, 0, { 60, 61 }, 1 },
    };

    for (const auto& c : cases)
    {
        const int half = 1 << (c.left + c.right);
        const auto isDown = [&c] (int note) { return std::find (c.down.begin(), c.down.end(), note) != c.down.end(); };
        EXPECT_EQ (ImageMidiKeyboard::pictureFrame (60, c.left, c.right, half, isDown), c.frame) << c.left << " " << c.right;
    }

    EXPECT_EQ (ImageMidiKeyboard::pictureFrame (127, 0, 4, 16, [] (int note) { return note > 127; }), 0) << "no notes above 127";
    EXPECT_EQ (ImageMidiKeyboard::pictureFrame (0, 4, 0, 16, [] (int note) { return note < 0; }), 0) << "nor below 0";
}

// The keys follow the keyboard state on the JUCE keyboard's timer, each
// picture showing its own state and its neighbours'.
TEST_F (NoteWidgetsTest, KeyPicturesFollowTheKeyboardStateAndTheirNeighbours)
{
    juce::MidiKeyboardState state;
    ImageMidiKeyboard keyboard ("Keys", &state);
    stage.add (keyboard);
    EXPECT_TRUE (loadControl (keyboard, threeKeyKeyboard, skin).isEmpty());
    EXPECT_EQ (keyboard.getRangeStart(), 60);
    EXPECT_EQ (keyboard.getRangeEnd(), 62);

    state.noteOn (1, 60, 1.0f);
    state.noteOn (1, 61, 1.0f);
    keyboard.timerCallback();

    // 60: down, 61 down above; 61: down, 60 below; 62: up, 61 below.
    const auto image = paintImage (keyboard);
    EXPECT_EQ ((std::vector<int> { frameAt (image, 5, 50), frameAt (image, 15, 50), frameAt (image, 25, 50) }), (std::vector<int> { 6, 5, 1 }));

    state.allNotesOff (1);
    keyboard.timerCallback();
    EXPECT_EQ (keyboard.getKeyFrame (61), 0);
    EXPECT_EQ (keyboard.getKeyFrame (59), -1) << "not offered";
    EXPECT_EQ (keyboard.getKeyFrame (128), -1);
}

// The pictures place the keys JUCE's keyboard plays from the mouse (with no
// display JUCE finds no key under a synthesised mouse, so the press on the key
// is made as JUCE makes it); a pressed key shows down at once.
TEST_F (NoteWidgetsTest, AKeyPressedShowsDownAtOnceAndThenFollowsTheState)
{
    struct Keyboard : ImageMidiKeyboard
    {
        using ImageMidiKeyboard::ImageMidiKeyboard;
        using ImageMidiKeyboard::mouseDownOnKey;
    };

    juce::MidiKeyboardState state;
    Keyboard keyboard ("Keys", &state);
    stage.add (keyboard);
    loadControl (keyboard, threeKeyKeyboard, skin);
    EXPECT_EQ (keyboard.getRectangleForKey (62), juce::Rectangle<float> (20.0f, 0.0f, 10.0f, 60.0f));

    const juce::Point<float> onKey62 (25.0f, 55.0f);
    EXPECT_TRUE (keyboard.mouseDownOnKey (62, mouseAt (keyboard, onKey62, onKey62))) << "JUCE plays the note";
    EXPECT_EQ (keyboard.getKeyFrame (62), 4) << "down, its neighbours up";

    keyboard.timerCallback();
    EXPECT_EQ (keyboard.getKeyFrame (62), 0) << "the state never had the note on";
}

// A keyboard at 100 whose first key is pictured at 110, not at its edge:
// each picture is drawn where the skin put it (the mouse finds them there:
// the keyboard test in a real X server).
TEST_F (NoteWidgetsTest, KeyPicturesAreDrawnAtTheirRecordedPlaces)
{
    ImageMidiKeyboard keyboard ("Keys", nullptr);
    stage.add (keyboard);
    EXPECT_TRUE (loadControl (keyboard, offsetKeyboard, skin).isEmpty());

    const auto image = paintImage (keyboard);
    for (const int x : { 10, 19, 25, 34 })
        EXPECT_EQ (frameAt (image, x, 30), 0) << "a picture at " << x;
    for (const int x : { 5, 22 })
        EXPECT_EQ (frameAt (image, x, 30), -1) << "no picture at " << x;
}

TEST_F (NoteWidgetsTest, FaultyKeyboardElementsAreNotedAndStillBuild)
{
    const struct
    {
        const char* xml;
        int rangeStart, rangeEnd;
        const char* problem;
    } cases[] = {
        { R"(<MidiKeyboard firstKey="70" lastKey="50"/>)", 50, 70, "firstKey is above lastKey: the two swapped" },
        { R"(<MidiKeyboard firstKey="126"><Keys><Key/><Key/><Key/></Keys></MidiKeyboard>)", 0, 127, nullptr },
        { R"(<MidiKeyboard firstKey="126" lastKey="127"><Keys><Key/><Key/><Key/></Keys></MidiKeyboard>)", 126, 127,
          "more keys than notes up to 127: the rest left out" },
        { R"(<MidiKeyboard><Keys><Key left="1"><gfx resource="key.png" framesNum="8"/></Key></Keys></MidiKeyboard>)", 0, 127,
          "image \"key.png\" of 8 frames for a key with 1 neighbours, which take 4" },
    };

    for (const auto& c : cases)
    {
        ImageMidiKeyboard keyboard ("Keys", nullptr);
        stage.add (keyboard);
        const auto problems = loadControl (keyboard, c.xml, skin);
        paintImage (keyboard);

        EXPECT_EQ (keyboard.getRangeStart(), c.rangeStart) << c.xml;
        EXPECT_EQ (keyboard.getRangeEnd(), c.rangeEnd) << c.xml;
        EXPECT_EQ (problems.isEmpty() ? juce::String() : problems[0].fromFirstOccurrenceOf (": ", false, false),
                   juce::String (c.problem)) << c.xml;
    }
}
