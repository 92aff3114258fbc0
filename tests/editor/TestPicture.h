#pragma once

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>

#include <cstdlib>

namespace editor_testing
{
// Writes what a test drew as a PNG named fileName, for a person to look at,
// into the folder PULSETTA_TEST_OUTPUT names (ctest names one); nothing
// without it.
inline void writeTestPicture (const juce::Image& image, const juce::String& fileName)
{
    const char* folder = std::getenv ("PULSETTA_TEST_OUTPUT");
    if (folder == nullptr || *folder == '\0')
        return;

    const auto file = juce::File (folder).getChildFile (fileName);
    juce::MemoryOutputStream png;
    EXPECT_TRUE (juce::PNGImageFormat().writeImageToStream (image, png) && file.getParentDirectory().createDirectory()
                 && file.replaceWithData (png.getData(), png.getDataSize()))
        << file.getFullPathName();
}
} // namespace editor_testing
