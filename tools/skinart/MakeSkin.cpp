// Build tool: draws the built-in skin. Writes into the output folder the skin
// document ("skin.xml"), the background and every image strip as PNG, all
// drawn here from the layout table; with a third argument, also a preview of
// the whole panel as the editor will paint it.
//   pulsetta_make_skin <font folder> <output folder> [<preview.png>]
// The same sources give the same bytes on every run.

#include "tools/skinart/PanelArt.h"
#include "tools/skinart/SkinDocument.h"

#include <iostream>

namespace
{
constexpr int refused = 1; // exit code that stops the build

bool writePng (const juce::Image& image, const juce::File& file)
{
    juce::MemoryOutputStream bytes;
    juce::PNGImageFormat png;
    if (! png.writeImageToStream (image, bytes))
        return false;
    return file.replaceWithData (bytes.getData(), bytes.getDataSize());
}

int fail (const juce::String& what)
{
    std::cerr << "skin: " << what << std::endl;
    return refused;
}

int makeSkin (const juce::File& fontFolder, const juce::File& output, const juce::File& preview)
{
    using namespace skinart;

    Fonts fonts;
    if (! fonts.load (fontFolder))
        return fail ("DejaVuSans.ttf and DejaVuSans-Bold.ttf not readable in " + fontFolder.getFullPathName());
    if (! output.createDirectory())
        return fail ("cannot make " + output.getFullPathName());

    const auto strips = makeStrips();
    const auto layout = makeLayout (strips);

    std::map<juce::String, juce::Image> images;
    for (const auto& strip : strips)
    {
        images[strip.file] = renderStrip (strip, fonts);
        if (! writePng (images[strip.file], output.getChildFile (strip.file)))
            return fail ("cannot write " + strip.file);
    }

    const juce::String backgroundFile ("Background.png");
    const auto background = drawBackground (layout, fonts);
    if (! writePng (background, output.getChildFile (backgroundFile)))
        return fail ("cannot write " + backgroundFile);

    const auto document = makeSkinDocument (layout, backgroundFile);
    const auto text = document->toString();
    if (! output.getChildFile ("skin.xml").replaceWithText (text, false, false, "\n"))
        return fail ("cannot write skin.xml");

    if (preview != juce::File() && ! writePng (drawPreview (layout, background, images), preview))
        return fail ("cannot write " + preview.getFullPathName());
    return 0;
}
} // namespace

int main (int argc, char** argv)
{
    if (argc != 3 && argc != 4)
    {
        std::cerr << "usage: " << argv[0] << " <font folder> <output folder> [<preview.png>]" << std::endl;
        return 2;
    }

    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const int result = makeSkin (cwd.getChildFile (argv[1]), cwd.getChildFile (argv[2]),
                                 argc == 4 ? cwd.getChildFile (argv[3]) : juce::File());
    // Font and glyph caches live until JUCE's shutdown list is run.
    juce::DeletedAtShutdown::deleteAll();
    return result;
}
