#pragma once

#include "toolkit/binding/GUIController.h"
#include "toolkit/skin/JuceKeyboard.h"

#include <array>

namespace toolkit_detail
{
// The keyboard state of a keyboard that was given none: a base, so that it
// exists before the JUCE keyboard that refers to it.
struct OwnKeyboardState
{
    juce::MidiKeyboardState ownState;
};
} // namespace toolkit_detail

// JUCE's on-screen keyboard playing the processor's keyboard state, whose keys
// the skin may draw from pictures. A key's picture shows the key and the
// pressed state of its neighbours (their shadows, say): for a key with left
// neighbours below it and right neighbours above it taken into account, the
// picture holds 2^(left + right) frames with the key up, then as many with it
// down, and frame bits + (down ? half : 0) is drawn, where bits reads the
// neighbours from the highest to the lowest, each a bit (1: down). A key
// without a picture is drawn and placed as JUCE draws it. Message thread.
//
//   <MidiKeyboard name="Keys" firstKey="48" lastKey="72">
//     <size width="400" height="60"/><pos left="10" top="300"/>
//     <Keys>
//       <Key left="0" right="1"><gfx resource="KeyC.png" framesNum="4"/>
//         <size width="16" height="60"/><pos left="10" top="300"/></Key>
//       ... one Key per note from firstKey upward
//     </Keys>
//   </MidiKeyboard>
// firstKey and lastKey (used when both are given) set the keys offered;
// left and right are 0 to 4; a key's pos is in the panel's coordinates, as
// the keyboard's own pos.
class ImageMidiKeyboard : public GUIController, private toolkit_detail::OwnKeyboardState, public juce::MidiKeyboardComponent
{
public:
    // The keyboard plays the state given (the processor's), or one of its
    // own when given none.
    ImageMidiKeyboard (const juce::String& name, juce::MidiKeyboardState* sharedState);
    ~ImageMidiKeyboard() override;

    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    juce::MidiKeyboardState& getKeyboardState() noexcept { return keyboardState; }

    // A key's picture frame as last chosen, or -1 for a note outside 0..127
    // or a key without a picture.
    int getKeyFrame (int note) const noexcept;
    bool isKeyDown (int note) const noexcept;

    // The frame of a key's picture: bits from the down states of the
    // neighbours right (highest first) down to left, plus half when the key
    // is down. isDown answers for any note; notes outside 0..127 are up.
    template <typename IsDown>
    static int pictureFrame (int note, int left, int right, int half, IsDown&& isDown)
    {
        int bits = 0;

        for (int j = note + right; j > note; --j)
            bits = bits * 2 + (j <= 127 && isDown (j) ? 1 : 0);

        for (int j = note - 1; j >= note - left; --j)
            bits = bits * 2 + (j >= 0 && isDown (j) ? 1 : 0);

        return bits + (isDown (note) ? half : 0);
    }

    // Message thread, from the JUCE keyboard's timer: brings the keys in
    // step with the keyboard state (a key is down while the state has its
    // note on for the channels shown), then lets JUCE do its own work.
    void timerCallback() override;

    // Message thread: the mouse, told to the JUCE keyboard where it measures
    // its keys (see pictureShift).
    void mouseMove (const juce::MouseEvent& event) override;
    void mouseDrag (const juce::MouseEvent& event) override;
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;
    void mouseEnter (const juce::MouseEvent& event) override;
    void mouseExit (const juce::MouseEvent& event) override;

    static constexpr int numNotes = 128;

protected:
    juce::Range<float> getKeyPosition (int midiNoteNumber, float width) const override;
    void drawWhiteNote (int midiNoteNumber, juce::Graphics& g, juce::Rectangle<float> area, bool isDown, bool isOver,
                        juce::Colour lineColour, juce::Colour textColour) override;
    void drawBlackNote (int midiNoteNumber, juce::Graphics& g, juce::Rectangle<float> area, bool isDown, bool isOver,
                        juce::Colour noteFillColour) override;
    bool mouseDownOnKey (int midiNoteNumber, const juce::MouseEvent& event) override;
    bool mouseDraggedToKey (int midiNoteNumber, const juce::MouseEvent& event) override;

private:
    struct Key
    {
        bool down = false;
        juce::Image picture;
        int framesNum = 1, half = 0;
        int frame = 0;
        juce::Rectangle<int> bounds; // x and width along the keyboard, y and height across it
        int left = 0, right = 0;
    };

    bool hasPicture (int note) const noexcept;
    // JUCE measures every key from the first key offered: a first key
    // pictured away from the keyboard's edge would pull every key left by
    // its x. The shift (pixels) puts the keys back where the skin put them.
    float pictureShift() const noexcept;
    juce::MouseEvent onJuceKeys (const juce::MouseEvent& event) const;
    void readKeys (const juce::XmlElement& keysElement, SkinReader& reader, juce::Point<int> keyboardPosition);
    void setKeyDown (int note, bool down);
    void drawPicture (int note, juce::Graphics& g, juce::Rectangle<float> area);

    juce::MidiKeyboardState& keyboardState;
    std::array<Key, numNotes> keys;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (ImageMidiKeyboard)
};
