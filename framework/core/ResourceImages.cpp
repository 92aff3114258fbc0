#include "framework/core/ResourceImages.h"

#include "framework/core/ImageDecoder.h"
#include "framework/core/ResourceLoader.h"

juce::Image getResourceAsImage (const juce::String& fileName)
{
    const auto resource = findEmbeddedResource (fileName);

    if (! resource || resource.size == 0)
        return {};

    return imagedecoder::decode (resource.data, resource.size);
}
