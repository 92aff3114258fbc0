#include "toolkit/skin/NumericDisplay.h"

#include "framework/core/TextNumbers.h"
#include "framework/core/XmlTags.h"
#include "toolkit/binding/FrameStrip.h"
#include "toolkit/binding/SkinXml.h"
#include "toolkit/lookandfeel/ToolkitFonts.h"

#include <cmath>

namespace
{
long long powerOfTen (int exponent) noexcept
{
    long long power = 1;

    for (int i = 0; i < exponent; ++i)
        power *= 10;

    return power;
}

// A cell shows its dark look in the dark phase of its own blink or of the
// display's.
bool isCellBlinkDark (const juce::Component& cell, const BlinkingComponent& own)
{
    if (own.isBlinkDark())
        return true;

    const auto* display = dynamic_cast<const BlinkingComponent*> (cell.getParentComponent());
    return display != nullptr && display->isBlinkDark();
}

// The strip's frame size for a cell, or the plain cell size without a strip.
juce::Point<int> cellSize (const juce::Image& strip, int frames, int cellWidth, int cellHeight)
{
    if (strip.isValid())
        return { strip.getWidth(), strip.getHeight() / frames };

    return { cellWidth, cellHeight };
}
} // namespace

NumericDisplayDigit::NumericDisplayDigit (const juce::Image& strip, int width, int height, bool isIntegerPart)
    : image (strip), integerPart (isIntegerPart)
{
    setSize (width, height);
    setInterceptsMouseClicks (false, false);
}

void NumericDisplayDigit::show (int newFigure, bool shouldBeHidden)
{
    if (newFigure == figure && shouldBeHidden == hidden)
        return;

    figure = newFigure;
    hidden = shouldBeHidden;
    repaint();
}

void NumericDisplayDigit::paint (juce::Graphics& g)
{
    if (image.isValid())
    {
        const bool blank = hidden || ! isEnabled() || isCellBlinkDark (*this, *this);
        toolkit::drawFrame (g, image, blank ? 0 : figure + 1, getWidth(), getHeight());
        return;
    }

    if (! isEnabled())
    {
        g.fillAll (juce::Colours::black);
        return;
    }

    g.fillAll (juce::Colour::greyLevel (integerPart ? 1.0f : 0.8f));

    if (! hidden)
    {
        g.setColour (juce::Colours::black);
        g.setFont (toolkit::makeFont (static_cast<float> (juce::jmax (1, getHeight()))));
        g.drawText (juce::String (figure), getLocalBounds(), juce::Justification::centred, false);
    }
}

NumericDisplaySign::NumericDisplaySign (const juce::Image& strip, int width, int height) : image (strip)
{
    setSize (width, height);
    setInterceptsMouseClicks (false, false);
}

void NumericDisplaySign::setNegative (bool shouldBeNegative)
{
    if (shouldBeNegative == negative)
        return;

    negative = shouldBeNegative;
    repaint();
}

void NumericDisplaySign::paint (juce::Graphics& g)
{
    const bool showMinus = negative && isEnabled() && ! isCellBlinkDark (*this, *this);

    if (image.isValid())
    {
        toolkit::drawFrame (g, image, showMinus ? 1 : 0, getWidth(), getHeight());
        return;
    }

    g.fillAll (juce::Colours::white);

    if (showMinus)
    {
        g.setColour (juce::Colours::black);
        g.setFont (toolkit::makeFont (static_cast<float> (juce::jmax (1, getHeight()))));
        g.drawText ("-", getLocalBounds(), juce::Justification::centred, false);
    }
}

NumericDisplay::NumericDisplay (const juce::String& name) : juce::Component (name)
{
}

NumericDisplay::~NumericDisplay() = default;

void NumericDisplay::updateFromParameter (Parameter* parameter)
{
    if (parameter != nullptr)
        setDisplayValue (parameter->getValue(), false);
}

void NumericDisplay::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    GUIController::loadFromXml (element, reader);

    if (! tagIs (&element, "NumericDisplay"))
        return;

    removeAllChildren();
    sign.reset();
    digits.clear();

    readFormat (element, reader);

    const int cells = digitsNum + (minValue < 0.0 ? 1 : 0);
    const auto size = toolkit::readSize (element, reader).value_or (juce::Point<int>());
    const int cellWidth = size.x / cells;
    const int cellHeight = size.y;

    if (minValue < 0.0)
        buildSign (element, reader, cellWidth, cellHeight);

    buildDigits (element, reader, cellWidth, cellHeight);

    int width = 0, height = 0;

    for (auto* cell : getChildren())
    {
        width += cell->getWidth();
        height = juce::jmax (height, cell->getHeight());
    }

    const auto position = toolkit::readPosition (element, reader).value_or (juce::Point<int>());
    setBounds (position.x, position.y, width, height);

    value = minValue;
    setDisplayValue (minValue, false);
}

void NumericDisplay::readFormat (const juce::XmlElement& element, SkinReader& reader)
{
    static_assert (toolkit::skinbounds::digits.highest <= maxDigits);
    digitsNum = reader.readInt (element, "digitsNum", 1, toolkit::skinbounds::digits);

    // The first figure's place value must be a power of ten.
    const double order = reader.readDecimal (element, "firstDigitOrder", 0.0, toolkit::skinbounds::placeValue);
    const double exponent = order > 0.0 ? std::log10 (order) : 0.0;
    const bool isPowerOfTen = order > 0.0 && std::abs (exponent - std::round (exponent)) < 1.0e-9;
    firstDigitExponent = isPowerOfTen ? static_cast<int> (std::lround (exponent)) : digitsNum - 1;

    if (! isPowerOfTen && element.hasAttribute ("firstDigitOrder"))
        reader.report ("firstDigitOrder " + element.getStringAttribute ("firstDigitOrder") + " is no power of ten: "
                       + juce::String (powerOfTen (digitsNum - 1)) + " taken");

    scale = std::pow (10.0, digitsNum - firstDigitExponent - 1);
    topDivisor = powerOfTen (digitsNum - 1);
    onesIndex = firstDigitExponent >= 0 && firstDigitExponent < digitsNum ? firstDigitExponent : -1;

    minValue = reader.readDecimal (element, "minValue", 0.0, toolkit::skinbounds::displayValue);
    maxValue = reader.readDecimal (element, "maxValue", 0.0, toolkit::skinbounds::displayValue);

    if (minValue > maxValue)
    {
        reader.report ("minValue is above maxValue: the two swapped");
        std::swap (minValue, maxValue);
    }

    continuous = element.getStringAttribute ("control") == "continous";
}

void NumericDisplay::buildSign (const juce::XmlElement& element, SkinReader& reader, int cellWidth, int cellHeight)
{
    juce::Image strip;

    if (auto* gfx = findChildWithTag (findChildWithTag (&element, "sign"), "gfx"))
    {
        const auto resource = gfx->getStringAttribute ("resource");
        strip = reader.findImage (resource);

        if (strip.isValid())
            reader.checkFrameCount (resource, strip, NumericDisplaySign::framesNum);
    }

    const auto size = cellSize (strip, NumericDisplaySign::framesNum, cellWidth, cellHeight);
    sign = std::make_unique<NumericDisplaySign> (strip, size.x, size.y);
    int x = 0;
    addCell (*sign, x);
}

void NumericDisplay::buildDigits (const juce::XmlElement& element, SkinReader& reader, int cellWidth, int cellHeight)
{
    juce::Array<juce::Image> strips;
    juce::StringArray resources;
    auto* digitsElement = findChildWithTag (&element, "digits");

    if (digitsElement != nullptr && digitsElement->hasAttribute ("resource"))
    {
        for (int i = 0; i < digitsNum; ++i)
            resources.add (digitsElement->getStringAttribute ("resource"));
    }
    else if (digitsElement != nullptr)
    {
        for (auto* gfx : digitsElement->getChildIterator())
            if (tagIs (gfx, "gfx") && resources.size() < digitsNum)
                resources.add (gfx->getStringAttribute ("resource"));

        if (resources.size() != digitsNum)
            reader.report (juce::String (resources.size()) + " digit images for " + juce::String (digitsNum)
                           + " digits: the others drawn plain");
    }

    for (int i = 0; i < resources.size(); ++i)
    {
        // One strip shared by every figure is looked up and checked once.
        const int first = resources.indexOf (resources[i]);
        auto strip = first < i ? strips[first] : reader.findImage (resources[i]);

        if (strip.isValid() && first == i)
            reader.checkFrameCount (resources[i], strip, NumericDisplayDigit::framesNum);

        strips.add (strip);
    }

    int x = sign != nullptr ? sign->getRight() : 0;

    for (int i = 0; i < digitsNum; ++i)
    {
        const auto strip = strips[i];
        const auto size = cellSize (strip, NumericDisplayDigit::framesNum, cellWidth, cellHeight);
        const bool integerPart = firstDigitExponent - i >= 0;
        digits.push_back (std::make_unique<NumericDisplayDigit> (strip, size.x, size.y, integerPart));
        addCell (*digits.back(), x);
    }
}

void NumericDisplay::addCell (juce::Component& cell, int& x)
{
    cell.setTopLeftPosition (x, 0);
    addAndMakeVisible (cell);
    x += cell.getWidth();
}

void NumericDisplay::setDisplayValue (double newValue, bool notify)
{
    newValue = finiteOr (newValue, minValue);

    if (newValue < minValue)
        newValue = minValue;
    else if (newValue > maxValue)
        newValue = maxValue;

    if (newValue != value)
    {
        value = newValue;

        if (notify)
            writeValue (static_cast<float> (value));
    }

    // A value with more figures than the display shows all nines.
    const double capacity = static_cast<double> (topDivisor) * 10.0 - 1.0;
    long long rest = std::llround (juce::jmin (std::abs (value) * scale, capacity));
    long long divisor = topDivisor;
    bool shown = false;

    for (int i = 0; i < static_cast<int> (digits.size()); ++i)
    {
        const int figure = static_cast<int> (rest / divisor);
        shown = shown || figure != 0 || i == onesIndex;
        digits[static_cast<size_t> (i)]->show (figure, ! shown);
        rest -= figure * divisor;
        divisor /= 10;
    }

    if (sign != nullptr)
        sign->setNegative (value < 0.0);
}

void NumericDisplay::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
}

void NumericDisplay::mouseDown (const juce::MouseEvent& event)
{
    gesture.emplace (*this);
    dragStartValue = value;

    const int width = juce::jmax (1, getWidth());
    const int cell = continuous ? 1 : juce::jlimit (0, digitsNum - 1, event.x * digitsNum / width);
    dragStep = std::pow (10.0, firstDigitExponent - cell);
}

void NumericDisplay::mouseDrag (const juce::MouseEvent& event)
{
    if (! gesture.has_value())
        return;

    const int distance = juce::roundToInt (event.position.y - event.mouseDownPosition.y);
    const int steps = distance / pixelsPerStep;
    setDisplayValue (dragStartValue - steps * dragStep, true);
}

void NumericDisplay::mouseUp (const juce::MouseEvent&)
{
    gesture.reset();
}
