#pragma once

#include "toolkit/binding/WidgetTestKit.h"
#include "toolkit/lookandfeel/DefaultLookAndFeel.h"
#include "toolkit/windows/ModalComponent.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <stdexcept>

namespace toolkit_test
{
// Stands in for the editor: a sized component under the toolkit's look and
// feel on which modal components are shown. With no display, components are
// only ever tested under such a root.
class TestDesktop : public juce::Component,
                    public ModalComponent::Desktop
{
public:
    explicit TestDesktop (int width = 400, int height = 300)
    {
        setLookAndFeel (&lookAndFeel);
        setSize (width, height);
    }

    ~TestDesktop() override { setLookAndFeel (nullptr); }

    juce::Rectangle<int> getModalArea() override { return modalArea.isEmpty() ? getLocalBounds() : modalArea; }

    // Everything shown on this desktop, as a person would see it.
    juce::Image snapshot() { return createComponentSnapshot (getLocalBounds(), true, 1.0f); }

    DefaultLookAndFeel lookAndFeel;
    juce::Rectangle<int> modalArea;
};

// The object a pointer that must not be null points to; a null one fails
// the test (GoogleTest reports the exception) instead of crashing it.
template <typename Type>
Type& ref (Type* pointer)
{
    if (pointer == nullptr)
        throw std::logic_error ("unexpected null pointer");

    return *pointer;
}

// The colour at a point of an image, as 0xAARRGGBB.
inline juce::uint32 pixelAt (const juce::Image& image, int x, int y)
{
    return image.getPixelAt (x, y).getARGB();
}

// A component painted on its own into an image of its size, over a colour.
inline juce::Image paintOver (juce::Component& component, juce::Colour background = juce::Colours::white)
{
    auto image = widget_testing::paintImage (component);
    juce::Image opaque (juce::Image::ARGB, image.getWidth(), image.getHeight(), true);
    juce::Graphics g (opaque);
    g.fillAll (background);
    g.drawImageAt (image, 0, 0);
    return opaque;
}
} // namespace toolkit_test
