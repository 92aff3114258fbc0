#pragma once

#include "toolkit/binding/GUIController.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <optional>
#include <vector>

// One figure of a NumericDisplay, from an 11-frame strip: frame 0 blank,
// frames 1 to 10 the figures 0 to 9. It shows blank when hidden (a leading
// zero), disabled or in the dark phase of its own or its display's blink.
// Without a strip it writes the figure on white (grey for the fraction).
class NumericDisplayDigit : public juce::Component, public BlinkingComponent
{
public:
    static constexpr int framesNum = 11;

    // A null strip draws the plain look.
    NumericDisplayDigit (const juce::Image& strip, int width, int height, bool isIntegerPart);

    // Repaints only when the figure or the hidden flag changed.
    void show (int figure, bool shouldBeHidden);

    int getFigure() const noexcept { return figure; }
    bool isHidden() const noexcept { return hidden; }

    void paint (juce::Graphics& g) override;

protected:
    void blinkStateChanged() override { repaint(); }

private:
    const juce::Image image;
    const bool integerPart;
    int figure = 0;
    bool hidden = false;
};

// The minus sign of a NumericDisplay, from a 2-frame strip (none, minus).
class NumericDisplaySign : public juce::Component, public BlinkingComponent
{
public:
    static constexpr int framesNum = 2;

    NumericDisplaySign (const juce::Image& strip, int width, int height);

    // Repaints only when it changed.
    void setNegative (bool shouldBeNegative);
    bool isNegative() const noexcept { return negative; }

    void paint (juce::Graphics& g) override;

protected:
    void blinkStateChanged() override { repaint(); }

private:
    const juce::Image image;
    bool negative = false;
};

// A number shown in image figures (an output number 1 to 12, the tempo 30.0
// to 300.0), in its parameter's own units. Leading zeros are blank up to the
// ones figure. Dragging a figure up or down by 10 pixels steps the value by
// that figure's place value (always the second figure's with
// control="continous"), one gesture per drag. Message thread.
//
// Element attributes: digitsNum (1 to 9, default 1), firstDigitOrder (the
// place value of the first figure, a power of ten; default 10^(digitsNum-1)),
// minValue, maxValue (default 0), control. Children: size (the whole row of
// cells, for figures without images), sign > gfx resource, digits resource
// (one strip for all) or digits > gfx resource (one each), pos.
class NumericDisplay : public GUIController, public juce::Component
{
public:
    explicit NumericDisplay (const juce::String& name = {});
    ~NumericDisplay() override;

    void updateFromParameter (Parameter* parameter) override;
    void loadFromXml (const juce::XmlElement& element, SkinReader& reader) override;

    // Shows the value, clamped into minValue..maxValue; with notify, a new
    // value is also written to the bound parameter.
    void setDisplayValue (double newValue, bool notify);
    double getDisplayValue() const noexcept { return value; }

    int getNumDigits() const noexcept { return static_cast<int> (digits.size()); }
    const NumericDisplayDigit& getDigit (int index) const { return *digits[static_cast<size_t> (index)]; }
    const NumericDisplaySign* getSign() const noexcept { return sign.get(); }

    void paint (juce::Graphics& g) override;
    void mouseDown (const juce::MouseEvent& event) override;
    void mouseDrag (const juce::MouseEvent& event) override;
    void mouseUp (const juce::MouseEvent& event) override;

    static constexpr int maxDigits = 9;
    static constexpr int pixelsPerStep = 10;

protected:
    void blinkStateChanged() override { repaint(); }

private:
    void readFormat (const juce::XmlElement& element, SkinReader& reader);
    void buildSign (const juce::XmlElement& element, SkinReader& reader, int cellWidth, int cellHeight);
    void buildDigits (const juce::XmlElement& element, SkinReader& reader, int cellWidth, int cellHeight);
    void addCell (juce::Component& cell, int& x);

    int digitsNum = 1;
    int firstDigitExponent = 0; // firstDigitOrder = 10^firstDigitExponent
    double scale = 1.0;
    long long topDivisor = 1;
    int onesIndex = 0; // -1: the display has no ones figure
    double minValue = 0.0, maxValue = 0.0;
    double value = 0.0;
    bool continuous = false;

    std::unique_ptr<NumericDisplaySign> sign;
    std::vector<std::unique_ptr<NumericDisplayDigit>> digits;

    double dragStartValue = 0.0;
    double dragStep = 0.0;
    std::optional<ScopedGesture> gesture;
};
