#include "SkinPackages.h"

#include "editor/skin/SkinLoader.h"
#include "toolkit/binding/WidgetTestKit.h"

#include <filesystem>
#include <functional>
#include <utility>
#include <sys/stat.h>

using namespace skin_testing;

namespace
{
const juce::String validSkin = R"(<PluginEditor application="Pulsetta"><Panel name="MainPanel"><gfx resource="Back.png"/><controls>
  <Knob name="Level"><gfx resource="strips/Knob.png" framesNum="4"/><pos left="10" top="10"/>
    <links><link as="connectedTo" param="Bass Drum Level"/></links></Knob>
  <Button name="Options"><gfx resource="Push.png" framesNum="2"/><pos left="60" top="10"/>
    <actions><action type="onClick" event="Options"/></actions></Button>
</controls></Panel></PluginEditor>)";

Entries imagesOfValidSkin()
{
    using widget_testing::makeFrameStrip;
    return { { "Back.png", pngOf (makeFrameStrip (1, 120, 80)) },
             { "strips/Knob.png", pngOf (makeFrameStrip (4, 20, 20)) },
             { "Push.png", pngOf (makeFrameStrip (2, 30, 12)) } };
}

// The inner archive: the images of the valid skin and the description (none
// when empty).
juce::MemoryBlock innerOf (const juce::MemoryBlock& description, int compressionLevel = 0)
{
    auto entries = imagesOfValidSkin();
    if (description.getSize() > 0)
        entries.emplace_back ("skin.xml", description);
    return zipOf (entries, compressionLevel);
}

juce::MemoryBlock innerOf (const juce::String& description, int compressionLevel = 0)
{
    return innerOf (bytesOf (description), compressionLevel);
}

juce::MemoryBlock zeros (size_t size)
{
    return juce::MemoryBlock (size, true);
}

void resize (const juce::File& file, juce::int64 size)
{
    std::filesystem::resize_file (file.getFullPathName().toStdString(), (std::uintmax_t) size);
}

struct SkinLoaderTest : SkinFolderTest
{
    PanelBuild load (const juce::String& name) { return SkinLoader (processor, skinsFolder, name).createMainPanel(); }
    juce::File packageFile() const { return skinfiles::getSkinFile (skinsFolder, "Test"); }

    // "Test" holding the valid skin with this description.
    juce::File writeDescribed (const juce::String& description) const { return writeValidPackage (skinsFolder, "Test", innerOf (description)); }

    // "Test" holding the inner archive and, as its digest, the archive's MD5 edited.
    juce::File writeDigested (const std::function<juce::String (const juce::String&)>& edit, const juce::MemoryBlock& inner = innerOf (validSkin),
                              int compressionLevel = 0) const
    {
        const auto digest = bytesOf (edit (md5Of (inner)));
        return writePackage (skinsFolder, "Test", &digest, &inner, compressionLevel);
    }
};
} // namespace

TEST_F (SkinLoaderTest, PackagesGiveThePanelOrNoneWithTheReason)
{
    using T = SkinLoaderTest;
    const struct
    {
        const char* what;
        std::function<void (T&)> make;
        bool valid;          // passes the package check
        bool builds;         // gives a panel
        const char* problem; // in the first problem; null: none
    } cases[] = {
        { "valid", [] (T& t) { t.writeDescribed (validSkin); }, true, true, nullptr },
        { "valid, deflated inside and out", [] (T& t) { writeValidPackage (t.skinsFolder, "Test", innerOf (validSkin, 9), 9); }, true, true, nullptr },
        { "upper-case digest", [] (T& t) { t.writeDigested ([] (auto& d) { return d.toUpperCase(); }); }, true, true, nullptr },
        { "digest with a trailing newline", [] (T& t) { t.writeDigested ([] (auto& d) { return d + "\n"; }); }, false, false,
          "\"Test.skin\" does not match its digest" },
        { "digest with a trailing space", [] (T& t) { t.writeDigested ([] (auto& d) { return d + " "; }); }, false, false, "does not match its digest" },
        { "digest of other bytes", [] (T& t) { t.writeDigested ([] (auto&) { return md5Of (innerOf (validSkin + " ")); }); }, false, false,
          "does not match its digest" },
        { "no digest entry", [] (T& t) { const auto inner = innerOf (validSkin); writePackage (t.skinsFolder, "Test", nullptr, &inner); }, false, false,
          "no entry \"Test.md5\"" },
        { "no inner skin entry", [] (T& t) { const auto digest = bytesOf (md5Of (innerOf (validSkin))); writePackage (t.skinsFolder, "Test", &digest, nullptr); },
          false, false, "no entry \"Test.skin\"" },
        { "entries named in another case", [] (T& t) {
              const auto inner = innerOf (validSkin);
              const auto archive = zipOf ({ { "test.md5", bytesOf (md5Of (inner)) }, { "test.skin", inner } });
              t.packageFile().replaceWithData (archive.getData(), archive.getSize()); }, false, false, "no entry \"Test.md5\"" },
        { "not a zip archive", [] (T& t) { t.packageFile().replaceWithText ("not a zip"); }, false, false, "not a zip archive" },
        { "cut short", [] (T& t) { const auto file = t.writeDescribed (validSkin); resize (file, file.getSize() / 2); }, false, false, "not a zip archive" },
        { "damaged inside the compressed skin entry", [] (T& t) {
              const auto file = writeValidPackage (t.skinsFolder, "Test", innerOf (validSkin), 9);
              juce::MemoryBlock bytes;
              file.loadFileAsData (bytes);
              for (size_t i = 200; i < 240; ++i)
                  bytes[i] = (char) ~bytes[i];
              file.replaceWithData (bytes.getData(), bytes.getSize()); }, false, false, "does not match its digest" },
        { "no package", [] (T&) {}, false, false, "no skin package \"Test\"" },
        { "a folder named like the package", [] (T& t) { t.packageFile().getChildFile ("Test.md5").create(); }, false, false, "no skin package \"Test\"" },
        { "a pipe named like the package", [] (T& t) { ASSERT_EQ (mkfifo (t.packageFile().getFullPathName().toRawUTF8(), 0600), 0); }, false, false,
          "no skin package \"Test\"" },
        { "for another application", [] (T& t) { t.writeDescribed (validSkin.replace ("\"Pulsetta\"", "\"Other\"")); }, true, false,
          "the skin is for \"Other\", not for \"Pulsetta\"" },
        { "no skin.xml", [] (T& t) { writeValidPackage (t.skinsFolder, "Test", innerOf (juce::MemoryBlock())); }, true, false, "skin \"Test\": no \"skin.xml\"" },
        { "skin.xml not XML", [] (T& t) { t.writeDescribed ("skin"); }, true, false, "\"skin.xml\" is not readable XML" },
        { "skin.xml not UTF-8", [] (T& t) {
              const unsigned char bytes[] = { '<', 'a', '/', '>', 0xf4 }; // a lead byte with nothing after it
              writeValidPackage (t.skinsFolder, "Test", innerOf (juce::MemoryBlock (bytes, sizeof (bytes)))); }, true, false, "\"skin.xml\" is not readable XML" },
        { "skin.xml nested 100 000 deep", [] (T& t) {
              t.writeDescribed (juce::String::repeatedString ("<a>", 100000) + juce::String::repeatedString ("</a>", 100000)); }, true, false,
          "\"skin.xml\" is not readable XML" },
        { "a processing instruction in skin.xml", [] (T& t) { t.writeDescribed (validSkin.replace ("<Panel", "<?x y?>text<Panel")); }, true, false,
          "\"skin.xml\" is not readable XML" },
        { "no MainPanel", [] (T& t) { t.writeDescribed (validSkin.replace ("MainPanel", "Other")); }, true, false, "the skin has no panel named \"MainPanel\"" },
        { "digest entry over its cap", [] (T& t) { t.writeDigested ([] (auto& d) { return d + juce::String::repeatedString ("0", 33); }); }, false, false,
          "\"Test.md5\" is longer than 64 bytes" },
        { "inner skin entry over its cap", [] (T& t) { t.writeDigested ([] (auto& d) { return d; }, zeros (SkinPackage::maxSkinBytes + 1), 1); }, false, false,
          "\"Test.skin\" is larger than 64 MB" },
        { "skin.xml over its cap", [] (T& t) { writeValidPackage (t.skinsFolder, "Test", innerOf (zeros (SkinPackage::maxEntryBytes + 1), 1)); }, true, false,
          "no \"skin.xml\" (or larger than 16 MB)" },
        { "package file over its cap", [] (T& t) { resize (t.writeDescribed (validSkin), SkinPackage::maxPackageBytes + 1); }, false, false,
          "larger than 80 MB" },
    };

    for (const auto& c : cases)
    {
        packageFile().deleteRecursively();
        c.make (*this);

        EXPECT_EQ (SkinLoader::isSkinValid (skinsFolder, "Test"), c.valid) << c.what;
        const auto built = load ("Test");
        EXPECT_EQ (built.panel != nullptr, c.builds) << c.what;
        const bool problemsAsExpected = c.problem == nullptr ? built.problems.isEmpty()
                                                             : built.problems.size() == 1 && built.problems[0].contains (c.problem);
        EXPECT_TRUE (problemsAsExpected) << c.what << ": " << built.problems.joinIntoString ("; ");

        if (built.panel != nullptr)
        {
            EXPECT_EQ (built.panel->getBounds(), juce::Rectangle<int> (120, 80)) << c.what;
            EXPECT_EQ (built.panel->getNumChildComponents(), 2) << c.what;
        }
    }
}

TEST_F (SkinLoaderTest, APackageDrawsOnlyOnItsOwnImages)
{
    // "Background.png" is the built-in skin's; the package lacks it.
    auto entries = imagesOfValidSkin();
    entries.emplace_back ("skin.xml", bytesOf (R"(<PluginEditor application="Pulsetta"><Panel name="MainPanel">
        <gfx resource="Background.png"/><size width="120" height="80"/><controls>
        <Knob name="Level"><gfx resource="strips/Knob.png" framesNum="4"/><pos left="10" top="10"/></Knob>
        </controls></Panel></PluginEditor>)"));
    writeValidPackage (skinsFolder, "Test", zipOf (entries));

    const auto built = load ("Test");
    ASSERT_NE (built.panel, nullptr);
    EXPECT_EQ (built.problems, juce::StringArray ({ "Panel \"MainPanel\": no image \"Background.png\"" }));

    widget_testing::Stage stage;
    stage.add (*built.panel);
    const auto painted = widget_testing::paintImage (*built.panel);
    EXPECT_EQ (widget_testing::frameAt (painted, 20, 20), 0) << "the knob draws from the package's strip";
    EXPECT_EQ (painted.getPixelAt (100, 70), juce::Colour::greyLevel (0.9f)) << "no built-in background";
}

namespace
{
juce::uint32 bigEndian32At (const juce::MemoryBlock& bytes, size_t pos)
{
    return juce::ByteOrder::bigEndianInt (static_cast<const char*> (bytes.getData()) + pos);
}

juce::MemoryBlock bigEndian32Of (juce::uint32 value)
{
    const char bytes[] = { (char) (value >> 24), (char) (value >> 16), (char) (value >> 8), (char) value };
    return { bytes, sizeof (bytes) };
}

juce::MemoryBlock sliceOf (const juce::MemoryBlock& bytes, size_t start, size_t end)
{
    return { static_cast<const char*> (bytes.getData()) + start, end - start };
}

// Where the PNG's first chunk of that type starts (its length field).
size_t pngChunk (const juce::MemoryBlock& png, const char* type)
{
    size_t pos = 8;
    while (pos + 8 <= png.getSize() && sliceOf (png, pos + 4, pos + 8) != bytesOf (type))
        pos += 12 + bigEndian32At (png, pos);
    EXPECT_LT (pos, png.getSize()) << "no " << type;
    return pos;
}

// The PNG with the data of its first chunk of that type edited; the chunk's
// length and checksum made right for the new data.
juce::MemoryBlock withPngChunkEdited (const juce::MemoryBlock& png, const char* type, const std::function<void (juce::MemoryBlock&)>& edit)
{
    const auto start = pngChunk (png, type);
    const auto end = start + 12 + bigEndian32At (png, start);
    auto data = sliceOf (png, start + 8, end - 4);
    edit (data);
    auto typeAndData = bytesOf (type);
    typeAndData.append (data.getData(), data.getSize());
    juce::MemoryBlock edited = sliceOf (png, 0, start);
    for (const auto& part : { bigEndian32Of ((juce::uint32) data.getSize()), typeAndData,
                              bigEndian32Of ((juce::uint32) crc32 (0, static_cast<const Bytef*> (typeAndData.getData()), (uInt) typeAndData.getSize())),
                              sliceOf (png, end, png.getSize()) })
        edited.append (part.getData(), part.getSize());
    return edited;
}

// Where the JPEG's first segment of that marker starts (its 0xff).
size_t jpegSegment (const juce::MemoryBlock& jpeg, int marker)
{
    size_t pos = 2;
    while (pos + 4 <= jpeg.getSize() && (juce::uint8) jpeg[pos + 1] != marker)
        pos += 2 + juce::ByteOrder::bigEndianShort (static_cast<const char*> (jpeg.getData()) + pos + 2);
    EXPECT_LT (pos, jpeg.getSize()) << "no marker " << marker;
    return pos;
}

// The JPEG cut halfway through the coded data after its first scan header.
juce::MemoryBlock cutInItsScans (const juce::MemoryBlock& jpeg)
{
    const auto scan = jpegSegment (jpeg, 0xda);
    const auto data = scan + 2 + juce::ByteOrder::bigEndianShort (static_cast<const char*> (jpeg.getData()) + scan + 2);
    return sliceOf (jpeg, 0, data + (jpeg.getSize() - data) / 2);
}
} // namespace

// An image in a package that passes its check, damaged in each way a
// decoder meets: the skin is refused, naming the image, never built without
// it (nor does the host go down).
TEST_F (SkinLoaderTest, AnImageThatDoesNotDecodeRefusesTheSkinNamingIt)
{
    const auto picture = makeTestPicture (16, 16);
    const auto png = pngOf (picture), jpeg = jpegOf (picture), progressive = progressiveJpegOf (picture);

    const struct
    {
        const char* what;
        juce::MemoryBlock image;
        bool decodes;
    } cases[] = {
        { "a sound 1 x 1 PNG", pngOf (makeTestPicture (1, 1)), true },
        { "a sound 1 x 1 JPEG", jpegOf (makeTestPicture (1, 1)), true },
        { "a sound progressive JPEG", progressive, true },
        { "a PNG whose image data fails its CRC", [&] { auto damaged = png; damaged[pngChunk (png, "IEND") - 1] ^= 1; return damaged; }(), false }, // the last byte of IDAT
        { "a PNG whose image data ends early", withPngChunkEdited (png, "IDAT", [] (auto& data) { data.setSize (data.getSize() / 2); }), false },
        { "a PNG whose image data is no zlib stream, under a right CRC",
          withPngChunkEdited (png, "IDAT", [] (auto& data) { data[2] = (char) 0xff; }), false }, // a block of type 3, which deflate lacks
        { "a PNG cut inside its header chunk", sliceOf (png, 0, 30), false },
        { "a PNG stating a million pixels square", pngStating (1000000, 1000000), false },
        { "a JPEG whose Huffman table gives every code one bit", [&] {
              auto damaged = jpeg;
              const auto counts = jpegSegment (jpeg, 0xc4) + 5; // after the marker, the length and the table's class and number
              int codes = 0;
              for (size_t i = 0; i < 16; ++i)
                  codes += (juce::uint8) std::exchange (damaged[counts + i], 0);
              damaged[counts] = (char) codes;
              return damaged; }(), false },
        { "a JPEG whose scan is cut short", cutInItsScans (jpeg), false },
        { "a progressive JPEG cut short", cutInItsScans (progressive), false },
    };

    for (const auto& c : cases)
    {
        auto entries = imagesOfValidSkin();
        entries.emplace_back ("Probe.png", c.image);
        entries.emplace_back ("skin.xml", bytesOf (validSkin.replace ("</controls>", R"(<Animation name="Probe"><gfx resource="Probe.png"/></Animation></controls>)")));
        writeValidPackage (skinsFolder, "Test", zipOf (entries));

        const auto built = load ("Test");
        EXPECT_EQ (built.panel != nullptr, c.decodes) << c.what;
        EXPECT_EQ (built.problems, c.decodes ? juce::StringArray() : juce::StringArray ("Skin 'Test': image 'Probe.png' could not be read.")) << c.what;
    }
}

TEST_F (SkinLoaderTest, ANameNeverReachesAFileOutsideTheSkinsFolder)
{
    // Valid packages everywhere a name could lead.
    for (const auto& place : { skinsFolder.getParentDirectory(), skinsFolder.getChildFile ("sub") })
        writeValidPackage (place, "Outside", innerOf (validSkin));
    const auto absolute = skinsFolder.getParentDirectory().getChildFile ("Outside").getFullPathName();

    for (const auto& name : { juce::String ("../Outside"), juce::String (".."), juce::String ("sub/Outside"),
                              juce::String ("sub\\Outside"), absolute, juce::String ("~/Outside"), juce::String ("~root"),
                              juce::String ("a..b"), juce::String() })
    {
        EXPECT_EQ (skinfiles::getSkinFile (skinsFolder, name), juce::File()) << name;
        EXPECT_FALSE (SkinLoader::isSkinValid (skinsFolder, name)) << name;
        if (name.isNotEmpty())
        {
            EXPECT_EQ (load (name).panel, nullptr) << name;
        }
    }

    EXPECT_EQ (skinfiles::getSkinFile (skinsFolder, "My Skin 1.2"), skinsFolder.getChildFile ("My Skin 1.2.kyxskin"));
}
