#include "toolkit/skin/PatternNumberDisplay.h"

#include "framework/core/NoteNames.h"
#include "framework/core/XmlTags.h"
#include "toolkit/binding/SkinXml.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

namespace
{
constexpr int blankFrame = 0;

// The frame of figure f (0 to 9; a larger one shows 9).
int figureFrame (int figure) noexcept
{
    return juce::jlimit (0, 9, figure) + 1;
}

// The first digit's "P.", the second's letters C to B and "-", the third's "#".
constexpr int patternSignFrame = 11;
constexpr int firstLetterFrame = 11;
constexpr int dashFrame = 18;
constexpr int sharpFrame = 11;
constexpr int noSharpFrame = 12;
} // namespace

PatternNumberDisplay::PatternNumberDisplayDigit::PatternNumberDisplayDigit (int frames)
{
    setFramesNum (frames);
    setInterceptsMouseClicks (false, false);
}

void PatternNumberDisplay::PatternNumberDisplayDigit::paintWithoutImage (juce::Graphics& g)
{
    g.fillAll (juce::Colours::white);
    g.setColour (juce::Colours::black);
    g.setFont (toolkit::makeFont (static_cast<float> (juce::jmax (1, getHeight()))));
    g.drawFittedText (getText (getFrame()), getLocalBounds(), juce::Justification::centred, 1, 0.7f);
}

juce::String PatternNumberDisplay::PatternNumberDisplayDigit::getText (int shownFrame) const
{
    return shownFrame >= 1 && shownFrame <= 10 ? juce::String (shownFrame - 1) : juce::String();
}

juce::String PatternNumberDisplay::PatternNumberDisplayFirstDigit::getText (int shownFrame) const
{
    return shownFrame == patternSignFrame ? "P." : PatternNumberDisplayDigit::getText (shownFrame);
}

juce::String PatternNumberDisplay::PatternNumberDisplaySecondDigit::getText (int shownFrame) const
{
    if (shownFrame >= firstLetterFrame && shownFrame < firstLetterFrame + 7)
        return juce::String::charToString ("CDEFGAB"[shownFrame - firstLetterFrame]);

    return shownFrame == dashFrame ? "-" : PatternNumberDisplayDigit::getText (shownFrame);
}

juce::String PatternNumberDisplay::PatternNumberDisplayThirdDigit::getText (int shownFrame) const
{
    return shownFrame == sharpFrame ? "#" : PatternNumberDisplayDigit::getText (shownFrame);
}

PatternNumberDisplay::PatternNumberDisplay (const juce::String& name) : juce::Component (name)
{
}

PatternNumberDisplay::~PatternNumberDisplay() = default;

void PatternNumberDisplay::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setValue (parameter->getInt());
}

void PatternNumberDisplay::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    GUIController::loadFromXml (element, reader);

    if (! tagIs (&element, "PatternNumberDisplay"))
        return;

    using toolkit::skinbounds::patternNumber;
    notePatternMin = reader.readInt (element, "notePatternMin", notePatternMin, patternNumber);
    notePatternMax = reader.readInt (element, "notePatternMax", notePatternMax, patternNumber);
    numericPatternMin = reader.readInt (element, "numericPatternMin", numericPatternMin, patternNumber);
    numericPatternMax = reader.readInt (element, "numericPatternMax", numericPatternMax, patternNumber);
    bankAndSlotPatternMin = reader.readInt (element, "bankAndSlotPatternMin", bankAndSlotPatternMin, patternNumber);
    bankAndSlotPatternMax = reader.readInt (element, "bankAndSlotPatternMax", bankAndSlotPatternMax, patternNumber);
    slotMax = reader.readInt (element, "slotMax", slotMax, toolkit::skinbounds::slots);
    setValue (value);

    const auto position = toolkit::readPosition (element, reader).value_or (juce::Point<int>());
    const auto size = toolkit::readSize (element, reader).value_or (juce::Point<int> (100, 40));

    if (auto* gfx = findChildWithTag (&element, "gfx"))
    {
        removeAllChildren();
        digits = { std::make_unique<PatternNumberDisplayFirstDigit>(), std::make_unique<PatternNumberDisplaySecondDigit>(),
                   std::make_unique<PatternNumberDisplayThirdDigit>(), std::make_unique<PatternNumberDisplayFourthDigit>() };
        const char* const attributes[] = { "firstDigit", "secondDigit", "thirdDigit", "fourthDigit" };
        int x = 0;

        for (size_t i = 0; i < digits.size(); ++i)
        {
            auto& digit = *digits[i];
            const auto resource = gfx->getStringAttribute (attributes[i]);
            const auto strip = reader.findImage (resource);

            if (strip.isValid())
                digit.setImage (strip, reader.checkFrameCount (resource, strip, digit.getFramesNum()));
            else
                digit.setSize (size.x / 4, size.y);

            digit.setTopLeftPosition (x, 0);
            addAndMakeVisible (digit);
            x += digit.getWidth();
        }
    }

    setBounds (position.x, position.y, size.x, size.y);
    updatePatternDigits();
}

juce::Range<int> PatternNumberDisplay::getModeRange() const noexcept
{
    if (mode == numericMode)
        return { numericPatternMin, numericPatternMax };

    if (mode == bankAndSlotMode)
        return { bankAndSlotPatternMin, bankAndSlotPatternMax };

    return { notePatternMin, notePatternMax };
}

void PatternNumberDisplay::setValue (int newValue)
{
    const auto range = getModeRange();
    newValue = newValue > range.getEnd() ? range.getEnd() : newValue;
    newValue = newValue < range.getStart() ? range.getStart() : newValue;

    if (newValue == value)
        return;

    value = newValue;
    updatePatternDigits();
}

void PatternNumberDisplay::clampValueToRange()
{
    const auto range = getModeRange();
    value = value > range.getEnd() ? range.getEnd() : value;
    value = value < range.getStart() ? range.getStart() : value;
}

void PatternNumberDisplay::updatePatternDigits()
{
    if (digits[0] == nullptr)
        return;

    std::array<int, 4> frames { blankFrame, blankFrame, blankFrame, blankFrame };

    if (isEnabled())
    {
        if (mode == numericMode)
        {
            const int n = juce::jmax (0, value);
            frames = { blankFrame, figureFrame (n / 10), figureFrame (n % 10), blankFrame };
        }
        else if (mode == bankAndSlotMode)
        {
            const int n = juce::jmax (1, value);
            const int slot = (n - 1) % slotMax + 1;
            frames = { figureFrame ((n - 1) / slotMax + 1), dashFrame, figureFrame (slot / 10), figureFrame (slot % 10) };
        }
        else
        {
            // Octave 10 (notes 120 to 127) has no figure on the octave strip:
            // it stays blank rather than show a wrong octave.
            const int n = juce::jmax (0, value);
            const int octave = n / 12;
            frames = { patternSignFrame, firstLetterFrame + whiteKeyIndex (n),
                       isWhiteKey (n) ? noSharpFrame : sharpFrame, octave <= 9 ? figureFrame (octave) : blankFrame };
        }
    }

    for (size_t i = 0; i < digits.size(); ++i)
        digits[i]->setFrame (frames[i]);
}

int PatternNumberDisplay::getDigitFrame (int index) const noexcept
{
    if (index < 0 || index >= static_cast<int> (digits.size()) || digits[static_cast<size_t> (index)] == nullptr)
        return -1;

    return digits[static_cast<size_t> (index)]->getFrame();
}

void PatternNumberDisplay::enablementChanged()
{
    updatePatternDigits();
}
