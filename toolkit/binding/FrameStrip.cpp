#include "toolkit/binding/FrameStrip.h"

#include <cmath>

namespace toolkit
{
int frameForValue (float normalised, int framesNum) noexcept
{
    if (framesNum <= 1 || ! (normalised > 0.0f))
        return 0;

    const float proportion = normalised < 1.0f ? normalised : 1.0f;
    const int frame = static_cast<int> (std::floor (static_cast<float> (framesNum - 1) * proportion + 0.5f));
    return frame < framesNum - 1 ? frame : framesNum - 1;
}

int clampFrameCount (int framesNum, int imageHeight) noexcept
{
    const int most = imageHeight > 1 ? imageHeight : 1;
    return framesNum < 1 ? 1 : (framesNum > most ? most : framesNum);
}

void drawFrame (juce::Graphics& g, const juce::Image& strip, int frameIndex, int frameWidth, int frameHeight)
{
    if (! strip.isValid() || frameWidth <= 0 || frameHeight <= 0)
        return;

    const int framesInStrip = strip.getHeight() / frameHeight;

    if (framesInStrip < 1)
        return;

    const int frame = frameIndex < 0 ? 0 : (frameIndex >= framesInStrip ? framesInStrip - 1 : frameIndex);

    // Whatever colour the caller drew with last, the frame is copied opaque.
    const juce::Graphics::ScopedSaveState saved (g);
    g.setOpacity (1.0f);
    g.setImageResamplingQuality (juce::Graphics::lowResamplingQuality);
    g.drawImage (strip, 0, 0, frameWidth, frameHeight, 0, frame * frameHeight, frameWidth, frameHeight);
}
} // namespace toolkit
