#pragma once

#include "toolkit/skin/GFXAnimation.h"

#include <array>
#include <memory>

// The current pattern in four image figures, in one of three modes:
//   note:          "P.", the note letter, "#" or blank, the octave (P.C#5)
//   numeric:       blank, tens, ones, blank
//   bank-and-slot: the bank, "-", the slot's tens and ones (2-01)
// Each mode keeps the value within its own range. The editor sets the mode.
// A disabled display is blank. Message thread.
//
// Element attributes: notePatternMin/Max (0, 127), numericPatternMin/Max
// (1, 16), bankAndSlotPatternMin/Max (1, 96), slotMax (slots per bank, 4 to
// 16, default 12). Children: pos, size (default 100 by 40) and one gfx with
// the strips firstDigit (12 frames: blank, 0-9, "P."), secondDigit (19: blank,
// 0-9, C D E F G A B, "-"), thirdDigit (13: blank, 0-9, "#", blank) and
// fourthDigit (11: blank, 0-9).
class PatternNumberDisplay : public GUIController, public juce::Component
{
public:
    // One figure: a strip frame, or without a strip the frame's text.
    class PatternNumberDisplayDigit : public GFXAnimation
    {
    public:
        explicit PatternNumberDisplayDigit (int framesNum);

    protected:
        void paintWithoutImage (juce::Graphics& g) override;

        // The text the shown frame stands for: figures for frames 1 to 10, blank for
        // frame 0; each digit adds its own.
        virtual juce::String getText (int shownFrame) const;
    };

    class PatternNumberDisplayFirstDigit : public PatternNumberDisplayDigit
    {
    public:
        PatternNumberDisplayFirstDigit() : PatternNumberDisplayDigit (12) {}

    protected:
        juce::String getText (int shownFrame) const override;
    };

    class PatternNumberDisplaySecondDigit : public PatternNumberDisplayDigit
    {
    public:
        PatternNumberDisplaySecondDigit() : PatternNumberDisplayDigit (19) {}

    protected:
        juce::String getText (int shownFrame) const override;
    };

    class PatternNumberDisplayThirdDigit : public PatternNumberDisplayDigit
    {
    public:
        PatternNumberDisplayThirdDigit() : PatternNumberDisplayDigit (13) {}

    protected:
        juce::String getText (int shownFrame) const override;
    };

    class PatternNumberDisplayFourthDigit : public PatternNumberDisplayDigit
    {
    public:
        PatternNumberDisplayFourthDigit() : PatternNumberDisplayDigit (11) {}
    };

    enum Mode
    {
        noteMode = 0,
        numericMode = 1,
        bankAndSlotMode = 2
    };

    explicit PatternNumberDisplay (const juce::String& name = {});
    ~PatternNumberDisplay() override;

    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    // Shows the pattern, kept within the mode's range.
    void setValue (int newValue);
    int getValue() const noexcept { return value; }

    // The editor changes the mode, then clamps the value and redraws.
    void setMode (int newMode) noexcept { mode = newMode; }
    int getMode() const noexcept { return mode; }
    void clampValueToRange();
    void updatePatternDigits();

    // The frame each figure shows (0 to 3); -1 before the skin gave strips.
    int getDigitFrame (int index) const noexcept;

    void enablementChanged() override;

private:
    juce::Range<int> getModeRange() const noexcept;

    int value = 0;
    int notePatternMin = 0, notePatternMax = 127;
    int numericPatternMin = 1, numericPatternMax = 16;
    int bankAndSlotPatternMin = 1, bankAndSlotPatternMax = 96;
    int slotMax = 12;
    int mode = noteMode;
    std::array<std::unique_ptr<PatternNumberDisplayDigit>, 4> digits;
};
