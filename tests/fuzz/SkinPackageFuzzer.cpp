// libFuzzer targets for skin packages, files that come from anywhere. Each
// executable is this source with its input named by PULSETTA_FUZZ_SKIN_INPUT:
//  - "package": the whole package file;
//  - "archive": the inner archive, which the target wraps in a package whose
//    digest matches, so that the fuzzer works on the archive and its images
//    rather than on the MD5.
// The package goes into the skins folder and is read as the editor reads
// it: the skin loader opens it, builds the main panel from its "skin.xml"
// over its own images, and the panel that builds is painted. Then every file
// in the inner archive is decoded as an image. Besides what the sanitizers
// watch, a skin refused must say why, and an image decoded must be of the
// size its header states.
//
// PULSETTA_FUZZ_WRITE_SEED=<folder> writes the target's seeds into the folder
// and exits: packages (or inner archives) of a small skin on PNG, JPEG and
// progressive JPEG images, made as the skin loader's tests make theirs.
#include "editor/skin/SkinFiles.h"
#include "editor/skin/SkinLoader.h"
#include "framework/core/ImageHeader.h"
#include "framework/processor/BasePlugin.h"
#include "tests/editor/skin/SkinPackageBytes.h"
#include "tests/fuzz/FuzzedPanel.h"
#include "tests/support/TemporaryUserFolders.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

juce::AudioProcessor* createPluginFilter();

namespace
{
const bool inputIsArchive = std::strcmp (PULSETTA_FUZZ_SKIN_INPUT, "archive") == 0;
const juce::String skinName ("Fuzz");

struct Session : testing_support::TemporaryUserFolders
{
    Session() : TemporaryUserFolders ("pulsetta-fuzz-skin-package-")
    {
        product.reset (dynamic_cast<BasePlugin*> (createPluginFilter()));
        skinsFolder = skinfiles::getSkinsFolder (*product);
        skinsFolder.createDirectory();
        editor.setBounds (0, 0, 1024, 640);
    }

    juce::ScopedJuceInitialiser_GUI juce;
    std::unique_ptr<BasePlugin> product;
    juce::File skinsFolder;
    juce::Component editor; // what the panel is painted in
};

Session* session = nullptr;

using fuzzing::fail;

// The seeds' skin: a background, a knob strip and a button strip, each a
// few pixels, linked to the product's parameters and events.
juce::MemoryBlock seedArchive (const juce::MemoryBlock& background, const juce::MemoryBlock& knob, const juce::MemoryBlock& button)
{
    using namespace skin_testing;
    const auto description = R"(<PluginEditor application="Pulsetta"><Panel name="MainPanel"><gfx resource="Background"/><controls>
  <Knob name="Level"><gfx resource="Knob" framesNum="4"/><pos left="2" top="2"/><links><link as="connectedTo" param="Bass Drum Level"/></links></Knob>
  <Button name="Options"><gfx resource="Button" framesNum="2"/><pos left="14" top="2"/><actions><action type="onClick" event="Options"/></actions></Button>
</controls></Panel></PluginEditor>)";
    return zipOf ({ { "skin.xml", bytesOf (description) }, { "Background", background }, { "Knob", knob }, { "Button", button } });
}

bool writeSeeds (const juce::File& folder)
{
    using namespace skin_testing;
    juce::Image strip (juce::Image::ARGB, 8, 32, true); // four frames, the first transparent, the others ever less so
    {
        juce::Graphics g (strip);
        for (int frame = 1; frame < 4; ++frame)
        {
            g.setColour (juce::Colour ((juce::uint8) (frame * 60), 0, 0, (juce::uint8) (frame * 80)));
            g.fillRect (0, frame * 8, 8, 8);
        }
    }
    const auto picture = makeTestPicture (24, 16), button = makeTestPicture (6, 8);

    const std::pair<const char*, juce::MemoryBlock> seeds[] = {
        { "png", seedArchive (pngOf (picture), pngOf (strip), pngOf (button)) },
        { "jpeg", seedArchive (jpegOf (picture), progressiveJpegOf (strip), jpegOf (button)) },
    };

    bool written = folder.createDirectory();
    for (const auto& [name, archive] : seeds)
    {
        const auto bytes = inputIsArchive ? archive : validPackageOf (skinName, archive);
        written = written && folder.getChildFile (juce::String (name) + (inputIsArchive ? ".skin" : skinfiles::packageExtension)).replaceWithData (bytes.getData(), bytes.getSize());
    }
    return written;
}

void decodeEveryFile (const juce::File& packageFile)
{
    juce::String problem;
    const auto package = SkinPackage::open (packageFile, skinName, problem);

    if (package == nullptr)
        return;

    for (const auto& name : package->getEntryNames())
    {
        const auto image = package->readImage (name);

        if (! image.isValid())
            continue;

        juce::MemoryBlock bytes;
        imageheader::Size stated;

        if (! package->readEntry (name, bytes) || ! imageheader::readSize (bytes.getData(), bytes.getSize(), stated)
            || stated.width != image.getWidth() || stated.height != image.getHeight())
            fail ("an image decoded at another size than its header states");
    }
}
} // namespace

extern "C" int LLVMFuzzerInitialize (int*, char***)
{
    session = new Session(); // lives as long as the process: libFuzzer exits without unwinding

    if (const char* seeds = std::getenv ("PULSETTA_FUZZ_WRITE_SEED"))
    {
        const bool written = writeSeeds (juce::File (seeds));
        std::fprintf (stderr, "skin %s seeds in %s: %s\n", PULSETTA_FUZZ_SKIN_INPUT, seeds, written ? "written" : "FAILED");
        std::exit (written ? 0 : 1);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const juce::MemoryBlock input (data, size);
    const auto package = inputIsArchive ? skin_testing::validPackageOf (skinName, input) : input;
    const auto packageFile = skinfiles::getSkinFile (session->skinsFolder, skinName);

    if (! packageFile.replaceWithData (package.getData(), package.getSize()))
        fail ("the package could not be written");

    auto build = SkinLoader (*session->product, session->skinsFolder, skinName).createMainPanel();
    fuzzing::checkAndPaint (build, session->editor);
    decodeEveryFile (packageFile);
    return 0;
}
