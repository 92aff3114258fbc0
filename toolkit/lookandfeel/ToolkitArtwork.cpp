#include "toolkit/lookandfeel/ToolkitArtwork.h"

namespace toolkit
{
namespace
{
constexpr juce::uint32 accentArgb = 0xFFFF6C00;

// Collects the black pieces of one icon drawn on a 24 x 24 grid; the
// drawable keeps the whole box, so icons of different shapes scale alike.
class IconBuilder
{
public:
    IconBuilder& fill (const char* svgPath)
    {
        pieces.add (juce::Drawable::parseSVGPath (svgPath));
        return *this;
    }

    IconBuilder& stroke (const char* svgPath, float width)
    {
        return outline (juce::Drawable::parseSVGPath (svgPath), width);
    }

    IconBuilder& disc (float centreX, float centreY, float radius)
    {
        pieces.add (circle (centreX, centreY, radius));
        return *this;
    }

    IconBuilder& ring (float centreX, float centreY, float radius, float width)
    {
        return outline (circle (centreX, centreY, radius), width);
    }

    std::unique_ptr<juce::Drawable> build (juce::Colour colour = juce::Colours::black) const
    {
        auto icon = std::make_unique<juce::DrawableComposite>();

        auto box = std::make_unique<juce::DrawablePath>();
        juce::Path boxPath;
        boxPath.addRectangle (0.0f, 0.0f, (float) iconBoxSize, (float) iconBoxSize);
        box->setPath (boxPath);
        box->setFill (juce::Colours::transparentBlack);
        icon->addAndMakeVisible (box.release());

        for (const auto& piece : pieces)
        {
            auto shape = std::make_unique<juce::DrawablePath>();
            shape->setPath (piece);
            shape->setFill (colour);
            icon->addAndMakeVisible (shape.release());
        }

        icon->resetContentAreaAndBoundingBoxToFitChildren();
        return icon;
    }

private:
    static juce::Path circle (float centreX, float centreY, float radius)
    {
        juce::Path path;
        path.addEllipse (centreX - radius, centreY - radius, 2.0f * radius, 2.0f * radius);
        return path;
    }

    IconBuilder& outline (const juce::Path& path, float width)
    {
        juce::Path stroked;
        juce::PathStrokeType (width, juce::PathStrokeType::curved, juce::PathStrokeType::rounded)
            .createStrokedPath (stroked, path);
        pieces.add (stroked);
        return *this;
    }

    juce::Array<juce::Path> pieces;
};

bool describeIcon (int iconId, IconBuilder& icon)
{
    switch (iconId)
    {
        case 0: // new document
            icon.stroke ("M6 3 H14 L19 8 V21 H6 Z", 1.8f).stroke ("M14 3 V8 H19", 1.5f);
            return true;
        case 1: // copy
            icon.stroke ("M9 8 H19 V21 H9 Z", 1.8f).stroke ("M5 17 V3 H15", 1.8f);
            return true;
        case 2: // cut
            icon.ring (7.0f, 17.5f, 3.0f, 1.8f).ring (17.0f, 17.5f, 3.0f, 1.8f)
                .stroke ("M9 15 L17 3 M15 15 L7 3", 1.8f);
            return true;
        case 3: // paste
            icon.stroke ("M6 5 H18 V21 H6 Z", 1.8f).fill ("M9 3 H15 V7.5 H9 Z")
                .stroke ("M9 12 H15 M9 16 H15", 1.5f);
            return true;
        case 4: // delete
            icon.stroke ("M6 6 L18 18 M18 6 L6 18", 2.6f);
            return true;
        case 5: // down
            icon.fill ("M12 20.5 L4.5 12 H9.5 V3.5 H14.5 V12 H19.5 Z");
            return true;
        case 6: // up
            icon.fill ("M12 3.5 L19.5 12 H14.5 V20.5 H9.5 V12 H4.5 Z");
            return true;
        case 7: // left
            icon.fill ("M3.5 12 L12 4.5 V9.5 H20.5 V14.5 H12 V19.5 Z");
            return true;
        case 8: // right
            icon.fill ("M20.5 12 L12 19.5 V14.5 H3.5 V9.5 H12 V4.5 Z");
            return true;
        case 13: // add
            icon.stroke ("M12 5 V19 M5 12 H19", 3.0f);
            return true;
        case 14: // remove
            icon.stroke ("M5 12 H19", 3.0f);
            return true;
        case 15: // open folder
            icon.stroke ("M3 6 H9 L11 8 H19 V10 M3 6 V19 H18 L21 10 H6.5 L3 19", 1.7f);
            return true;
        case 16: // save
            icon.stroke ("M4 4 H17 L20 7 V20 H4 Z", 1.8f).fill ("M8 4 H15 V9 H8 Z")
                .stroke ("M7.5 13.5 H16.5 V20 H7.5 Z", 1.5f);
            return true;
        case 18: // play
            icon.fill ("M7.5 4.5 L19.5 12 L7.5 19.5 Z");
            return true;
        case 19: // stop
            icon.fill ("M6 6 H18 V18 H6 Z");
            return true;
        case 20: // search
            icon.ring (10.0f, 10.0f, 6.0f, 2.0f).stroke ("M14.5 14.5 L20 20", 3.0f);
            return true;
        case 21: // settings
            icon.stroke ("M4 7 H20 M4 17 H20", 1.6f).disc (9.0f, 7.0f, 2.6f).disc (15.0f, 17.0f, 2.6f);
            return true;
        case 24: // record
            icon.disc (12.0f, 12.0f, 7.0f);
            return true;
        case 25: // speaker
            icon.fill ("M3.5 9 H7.5 L12.5 4.5 V19.5 L7.5 15 H3.5 Z")
                .stroke ("M15.5 9 Q17.5 12 15.5 15 M18 6.5 Q21.5 12 18 17.5", 1.6f);
            return true;
        case 26: // tag
            icon.stroke ("M3.5 3.5 H11 L20.5 13 L13 20.5 L3.5 11 Z", 1.8f).disc (7.8f, 7.8f, 1.6f);
            return true;
        case 27: // user
            icon.disc (12.0f, 8.0f, 4.2f).fill ("M4 21 Q4 13.5 12 13.5 Q20 13.5 20 21 Z");
            return true;
        case 28: // info
            icon.ring (12.0f, 12.0f, 9.0f, 1.8f).disc (12.0f, 7.5f, 1.4f).stroke ("M12 11 V17", 2.4f);
            return true;
        default:
            return false;
    }
}

juce::Image renderIcon (const juce::Drawable& icon, juce::Colour colour)
{
    juce::Image image (juce::Image::ARGB, iconBoxSize, iconBoxSize, true);
    juce::Graphics g (image);
    auto copy = icon.createCopy();
    copy->replaceColour (juce::Colours::black, colour);
    copy->drawAt (g, 0.0f, 0.0f, 1.0f);
    return image;
}

// Pieces of the flat window button: a rounded body cut into its caps and
// middle. Only their sizes reach the button; they are drawn here all the
// same so that the set is a real picture of the button.
juce::Image buttonPiece (int width, int height, int capWidth, int part, juce::Colour face)
{
    juce::Image image (juce::Image::ARGB, width, height, true);
    juce::Graphics g (image);
    const float bodyWidth = (float) (2 * capWidth + 2);
    const float offset = part == 0 ? 0.0f : part == 1 ? -(float) capWidth : -(float) (capWidth + 2);
    const auto body = juce::Rectangle<float> (offset, 0.0f, bodyWidth, (float) height).reduced (0.5f);
    g.setColour (face);
    g.fillRoundedRectangle (body, 3.0f);
    g.setColour (juce::Colour (0xFFA0A0A0));
    g.drawRoundedRectangle (body, 3.0f, 1.0f);
    return image;
}

TextButtonEx::Images makeWindowButtonImages (int capWidth, int height)
{
    const juce::Colour up (0xFFE0E0E0), down (accentArgb), disabled (0xFFB0B0B0);
    return { buttonPiece (capWidth, height, capWidth, 0, up),
             buttonPiece (2, height, capWidth, 1, up),
             buttonPiece (capWidth, height, capWidth, 2, up),
             buttonPiece (capWidth, height, capWidth, 0, down),
             buttonPiece (2, height, capWidth, 1, down),
             buttonPiece (capWidth, height, capWidth, 2, down),
             buttonPiece (2, height, capWidth, 1, disabled) };
}
} // namespace

std::unique_ptr<juce::Drawable> getToolbarIcon (int iconId)
{
    IconBuilder icon;
    return describeIcon (iconId, icon) ? icon.build() : nullptr;
}

bool hasIconImages (int iconId)
{
    return (iconId >= 0 && iconId <= 8) || (iconId >= 13 && iconId <= 16) || (iconId >= 18 && iconId <= 21);
}

juce::Image getIconImage (int iconId, int style, bool highlighted)
{
    if (! hasIconImages (iconId))
        return {};

    const bool light = style == 2;
    const auto cacheKey = (juce::int64) 0x1C0A0000 + iconId * 4 + (light ? 2 : 0) + (highlighted ? 1 : 0);
    auto image = juce::ImageCache::getFromHashCode (cacheKey);

    if (! image.isValid())
    {
        const juce::Colour normal = light ? juce::Colour (0xFFF0F0F0) : juce::Colour (0xFF3C3C3C);
        image = renderIcon (*getToolbarIcon (iconId), highlighted ? juce::Colour (accentArgb) : normal);
        juce::ImageCache::addImageToCache (image, cacheKey);
    }

    return image;
}

std::optional<TextButtonEx::Images> getWindowButtonImages (int style)
{
    // The button's face is inset 4 pixels from top and bottom: these heights
    // leave the text room.
    if (style == 0 || style == 1)
        return makeWindowButtonImages (12, 24);

    if (style == 2)
        return makeWindowButtonImages (14, 28);

    return std::nullopt;
}

std::unique_ptr<juce::Drawable> createCloseButtonDrawing()
{
    return IconBuilder()
        .ring (12.0f, 12.0f, 9.0f, 1.6f)
        .stroke ("M8.5 8.5 L15.5 15.5 M15.5 8.5 L8.5 15.5", 2.2f)
        .build();
}

void setCloseButtonDrawings (juce::DrawableButton& closeButton)
{
    auto normal = createCloseButtonDrawing();
    normal->replaceColour (juce::Colours::black, juce::Colours::white);
    auto over = createCloseButtonDrawing();
    over->replaceColour (juce::Colours::black, juce::Colour (accentArgb));
    closeButton.setImages (normal.get(), over.get(), over.get());
}

std::unique_ptr<juce::Drawable> createWindowTitleIcon()
{
    auto icon = std::make_unique<juce::DrawableComposite>();

    auto badge = std::make_unique<juce::DrawablePath>();
    juce::Path badgePath;
    badgePath.addRoundedRectangle (1.0f, 1.0f, 22.0f, 22.0f, 5.0f);
    badge->setPath (badgePath);
    badge->setFill (juce::Colour (accentArgb));
    icon->addAndMakeVisible (badge.release());

    // A pulse: a flat line with one beat.
    auto pulse = std::make_unique<juce::DrawablePath>();
    juce::Path pulsePath;
    juce::PathStrokeType (2.0f, juce::PathStrokeType::curved, juce::PathStrokeType::rounded)
        .createStrokedPath (pulsePath, juce::Drawable::parseSVGPath ("M4 13 H8 L10 8 L13.5 18 L16 10.5 L17.5 13 H20"));
    pulse->setPath (pulsePath);
    pulse->setFill (juce::Colours::white);
    icon->addAndMakeVisible (pulse.release());

    icon->resetContentAreaAndBoundingBoxToFitChildren();
    return icon;
}
} // namespace toolkit
