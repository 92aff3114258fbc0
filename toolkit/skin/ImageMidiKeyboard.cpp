#include "toolkit/skin/ImageMidiKeyboard.h"

#include "framework/core/XmlTags.h"
#include "toolkit/binding/FrameStrip.h"
#include "toolkit/binding/SkinXml.h"

namespace
{
bool isNote (int note) noexcept
{
    return note >= 0 && note < ImageMidiKeyboard::numNotes;
}
} // namespace

ImageMidiKeyboard::ImageMidiKeyboard (const juce::String& name, juce::MidiKeyboardState* sharedState)
    : juce::MidiKeyboardComponent (sharedState != nullptr ? *sharedState : ownState, horizontalKeyboard),
      keyboardState (sharedState != nullptr ? *sharedState : ownState)
{
    setName (name);
}

ImageMidiKeyboard::~ImageMidiKeyboard() = default;

void ImageMidiKeyboard::loadFromXml (const juce::XmlElement& element, SkinReader& reader)
{
    GUIController::loadFromXml (element, reader);

    if (! tagIs (&element, "MidiKeyboard"))
    {
        setBounds (getX(), getY(), 0, 0);
        return;
    }

    const auto position = toolkit::readPosition (element, reader).value_or (getPosition());
    const auto size = toolkit::readSize (element, reader).value_or (juce::Point<int>());

    if (element.hasAttribute ("firstKey") && element.hasAttribute ("lastKey"))
    {
        int first = reader.readInt (element, "firstKey", 0, toolkit::skinbounds::note);
        int last = reader.readInt (element, "lastKey", 127, toolkit::skinbounds::note);

        if (first > last)
        {
            reader.report ("firstKey is above lastKey: the two swapped");
            std::swap (first, last);
        }

        setAvailableRange (first, last);
    }

    if (auto* keysElement = findChildWithTag (&element, "Keys"))
        readKeys (*keysElement, reader, position);

    setBounds (position.x, position.y, size.x, size.y);
    repaint();
}

void ImageMidiKeyboard::readKeys (const juce::XmlElement& keysElement, SkinReader& reader, juce::Point<int> keyboardPosition)
{
    int note = getRangeStart();

    for (auto* keyElement : keysElement.getChildIterator())
    {
        if (! tagIs (keyElement, "Key"))
            continue;

        if (! isNote (note))
        {
            reader.report ("more keys than notes up to 127: the rest left out");
            return;
        }

        const SkinReader::ScopedPlace place (reader, *keyElement, note - getRangeStart() + 1);
        auto& key = keys[static_cast<size_t> (note)];
        key.left = reader.readInt (*keyElement, "left", 0, toolkit::skinbounds::keyNeighbours);
        key.right = reader.readInt (*keyElement, "right", 0, toolkit::skinbounds::keyNeighbours);
        const int framesForNeighbours = 2 << (key.left + key.right);

        if (auto* gfx = findChildWithTag (keyElement, "gfx"))
        {
            const auto resource = gfx->getStringAttribute ("resource");
            const auto picture = reader.findImage (resource);
            const int asked = reader.readInt (*gfx, "framesNum", 1, toolkit::skinbounds::frames);

            if (picture.isValid())
            {
                key.picture = picture;
                key.framesNum = reader.checkFrameCount (resource, picture, asked);
                key.half = key.framesNum / 2;
                key.bounds.setSize (picture.getWidth(), picture.getHeight() / key.framesNum);

                if (key.framesNum != framesForNeighbours)
                    reader.report ("image \"" + resource + "\" of " + juce::String (key.framesNum) + " frames for a key with "
                                   + juce::String (key.left + key.right) + " neighbours, which take " + juce::String (framesForNeighbours));
            }
        }

        if (const auto keySize = toolkit::readSize (*keyElement, reader))
            key.bounds.setSize (keySize->x, keySize->y);

        if (const auto keyPosition = toolkit::readPosition (*keyElement, reader))
            key.bounds.setPosition (*keyPosition - keyboardPosition);

        ++note;
    }
}

bool ImageMidiKeyboard::hasPicture (int note) const noexcept
{
    return isNote (note) && keys[static_cast<size_t> (note)].picture.isValid();
}

float ImageMidiKeyboard::pictureShift() const noexcept
{
    return hasPicture (getRangeStart()) ? static_cast<float> (keys[static_cast<size_t> (getRangeStart())].bounds.getX()) : 0.0f;
}

juce::MouseEvent ImageMidiKeyboard::onJuceKeys (const juce::MouseEvent& event) const
{
    return event.withNewPosition (event.position.translated (-pictureShift(), 0.0f));
}

void ImageMidiKeyboard::mouseMove (const juce::MouseEvent& event) { juce::MidiKeyboardComponent::mouseMove (onJuceKeys (event)); }
void ImageMidiKeyboard::mouseDrag (const juce::MouseEvent& event) { juce::MidiKeyboardComponent::mouseDrag (onJuceKeys (event)); }
void ImageMidiKeyboard::mouseDown (const juce::MouseEvent& event) { juce::MidiKeyboardComponent::mouseDown (onJuceKeys (event)); }
void ImageMidiKeyboard::mouseUp (const juce::MouseEvent& event) { juce::MidiKeyboardComponent::mouseUp (onJuceKeys (event)); }
void ImageMidiKeyboard::mouseEnter (const juce::MouseEvent& event) { juce::MidiKeyboardComponent::mouseEnter (onJuceKeys (event)); }
void ImageMidiKeyboard::mouseExit (const juce::MouseEvent& event) { juce::MidiKeyboardComponent::mouseExit (onJuceKeys (event)); }

int ImageMidiKeyboard::getKeyFrame (int note) const noexcept
{
    return hasPicture (note) ? keys[static_cast<size_t> (note)].frame : -1;
}

bool ImageMidiKeyboard::isKeyDown (int note) const noexcept
{
    return isNote (note) && keys[static_cast<size_t> (note)].down;
}

void ImageMidiKeyboard::setKeyDown (int note, bool down)
{
    if (! isNote (note) || keys[static_cast<size_t> (note)].down == down)
        return;

    keys[static_cast<size_t> (note)].down = down;

    // Every offered key whose picture shows this note repaints when its
    // frame changed.
    const int lowest = juce::jmax (getRangeStart(), note - toolkit::skinbounds::keyNeighbours.highest);
    const int highest = juce::jmin (getRangeEnd(), note + toolkit::skinbounds::keyNeighbours.highest);

    for (int k = lowest; k <= highest; ++k)
    {
        auto& key = keys[static_cast<size_t> (k)];

        if (! key.picture.isValid() || note < k - key.left || note > k + key.right)
            continue;

        const int frame = pictureFrame (k, key.left, key.right, key.half, [this] (int n) { return isKeyDown (n); });

        if (frame != key.frame)
        {
            key.frame = frame;
            repaint (juce::Rectangle<int> (juce::roundToInt (getKeyStartPosition (k) + pictureShift()), key.bounds.getY(),
                                           key.bounds.getWidth(), key.bounds.getHeight()));
        }
    }
}

void ImageMidiKeyboard::timerCallback()
{
    for (int note = getRangeStart(); note <= getRangeEnd(); ++note)
        setKeyDown (note, keyboardState.isNoteOnForChannels (getMidiChannelsToDisplay(), note));

    juce::MidiKeyboardComponent::timerCallback();
}

juce::Range<float> ImageMidiKeyboard::getKeyPosition (int midiNoteNumber, float width) const
{
    if (! hasPicture (midiNoteNumber))
        return juce::MidiKeyboardComponent::getKeyPosition (midiNoteNumber, width);

    const auto& bounds = keys[static_cast<size_t> (midiNoteNumber)].bounds;
    return { static_cast<float> (bounds.getX()), static_cast<float> (bounds.getRight()) };
}

void ImageMidiKeyboard::drawPicture (int note, juce::Graphics& g, juce::Rectangle<float> area)
{
    // At the key's x (less any scroll of the JUCE keyboard) and y.
    const auto& key = keys[static_cast<size_t> (note)];
    const juce::Graphics::ScopedSaveState saved (g);
    g.setOrigin ({ juce::roundToInt (area.getX() + pictureShift()), key.bounds.getY() });
    toolkit::drawFrame (g, key.picture, key.frame, key.bounds.getWidth(), key.bounds.getHeight());
}

void ImageMidiKeyboard::drawWhiteNote (int midiNoteNumber, juce::Graphics& g, juce::Rectangle<float> area, bool isDown,
                                       bool isOver, juce::Colour lineColour, juce::Colour textColour)
{
    if (hasPicture (midiNoteNumber))
        drawPicture (midiNoteNumber, g, area);
    else
        juce::MidiKeyboardComponent::drawWhiteNote (midiNoteNumber, g, area, isDown, isOver, lineColour, textColour);
}

void ImageMidiKeyboard::drawBlackNote (int midiNoteNumber, juce::Graphics& g, juce::Rectangle<float> area, bool isDown,
                                       bool isOver, juce::Colour noteFillColour)
{
    if (hasPicture (midiNoteNumber))
        drawPicture (midiNoteNumber, g, area);
    else
        juce::MidiKeyboardComponent::drawBlackNote (midiNoteNumber, g, area, isDown, isOver, noteFillColour);
}

bool ImageMidiKeyboard::mouseDownOnKey (int midiNoteNumber, const juce::MouseEvent&)
{
    setKeyDown (midiNoteNumber, true);
    return true;
}

bool ImageMidiKeyboard::mouseDraggedToKey (int midiNoteNumber, const juce::MouseEvent&)
{
    setKeyDown (midiNoteNumber, true);
    return true;
}
