#include "editor/skin/SkinPackage.h"

#include "framework/core/ImageDecoder.h"

#include <juce_cryptography/juce_cryptography.h>

#include <filesystem>

namespace
{
// Reads the stream to its end; false when it holds more than maxBytes, in
// which case no more than maxBytes + 1 bytes were read.
bool readAtMost (juce::InputStream& stream, size_t maxBytes, juce::MemoryBlock& bytes)
{
    bytes.reset();
    juce::MemoryOutputStream out (bytes, false);
    out.writeFromInputStream (stream, (juce::int64) maxBytes + 1);
    out.flush();
    return out.getDataSize() <= maxBytes;
}

// An entry of exactly that name read whole; false when it is absent or
// larger than maxBytes. tooLarge tells the two apart.
bool readZipEntry (juce::ZipFile& zip, const juce::String& name, size_t maxBytes, juce::MemoryBlock& bytes, bool& tooLarge)
{
    bytes.reset();
    tooLarge = false;
    const int index = zip.getIndexOfFileName (name, false);

    if (index < 0)
        return false;

    const std::unique_ptr<juce::InputStream> stream (zip.createStreamForEntry (index));

    if (stream == nullptr)
        return false;

    if (! readAtMost (*stream, maxBytes, bytes))
    {
        bytes.reset();
        tooLarge = true;
        return false;
    }

    return true;
}

// The digest entry's whole text equals the hex digits, case aside: the
// digits and nothing else, not even a line break. Compared as bytes, since
// the entry may hold anything.
bool matchesDigest (const juce::MemoryBlock& stated, const juce::String& hexDigits)
{
    if (stated.getSize() != (size_t) hexDigits.length())
        return false;

    for (int i = 0; i < hexDigits.length(); ++i)
        if (juce::CharacterFunctions::toLowerCase ((juce::juce_wchar) (unsigned char) stated[i]) != hexDigits[i])
            return false;

    return true;
}

// A regular file: a folder, a device or a pipe named like a package is none.
bool isRegularFile (const juce::File& file)
{
    std::error_code error;
    return std::filesystem::is_regular_file (file.getFullPathName().toStdString(), error);
}
} // namespace

std::unique_ptr<SkinPackage> SkinPackage::open (const juce::File& packageFile, const juce::String& skinName, juce::String& problem)
{
    const auto place = "skin package \"" + packageFile.getFullPathName() + "\": ";

    if (packageFile == juce::File() || ! isRegularFile (packageFile))
    {
        problem = "no skin package \"" + skinName + "\"" + (packageFile == juce::File() ? juce::String() : " at \"" + packageFile.getFullPathName() + "\"");
        return nullptr;
    }

    if (packageFile.getSize() > maxPackageBytes)
    {
        problem = place + "larger than " + juce::String (maxPackageBytes / (1024 * 1024)) + " MB";
        return nullptr;
    }

    juce::ZipFile outer (packageFile);

    if (outer.getNumEntries() == 0)
    {
        problem = place + "not a zip archive";
        return nullptr;
    }

    const auto digestName = skinName + ".md5";
    const auto skinEntryName = skinName + ".skin";
    juce::MemoryBlock digest;
    bool tooLarge = false;

    if (! readZipEntry (outer, digestName, maxDigestBytes, digest, tooLarge))
    {
        problem = place + (tooLarge ? "\"" + digestName + "\" is longer than " + juce::String (maxDigestBytes) + " bytes"
                                    : "no entry \"" + digestName + "\"");
        return nullptr;
    }

    std::unique_ptr<SkinPackage> package (new SkinPackage());

    if (! readZipEntry (outer, skinEntryName, maxSkinBytes, package->skinBytes, tooLarge))
    {
        problem = place + (tooLarge ? "\"" + skinEntryName + "\" is larger than " + juce::String ((juce::int64) maxSkinBytes / (1024 * 1024)) + " MB"
                                    : "no entry \"" + skinEntryName + "\"");
        return nullptr;
    }

    static const char nothing = 0; // an empty block has no data to point at
    const auto* skinData = package->skinBytes.isEmpty() ? &nothing : package->skinBytes.getData();

    if (! matchesDigest (digest, juce::MD5 (skinData, package->skinBytes.getSize()).toHexString()))
    {
        problem = place + "\"" + skinEntryName + "\" does not match its digest";
        return nullptr;
    }

    package->skin = std::make_unique<juce::ZipFile> (new juce::MemoryInputStream (package->skinBytes, false), true);
    return package;
}

bool SkinPackage::hasEntry (const juce::String& entryName) const
{
    return skin->getIndexOfFileName (entryName, false) >= 0;
}

juce::StringArray SkinPackage::getEntryNames() const
{
    juce::StringArray names;

    for (int i = 0; i < skin->getNumEntries(); ++i)
        names.add (skin->getEntry (i)->filename);

    return names;
}

bool SkinPackage::readEntry (const juce::String& entryName, juce::MemoryBlock& bytes)
{
    bool tooLarge = false;
    return readZipEntry (*skin, entryName, maxEntryBytes, bytes, tooLarge);
}

juce::Image SkinPackage::readImage (const juce::String& fileName)
{
    juce::MemoryBlock bytes;

    if (! readEntry (fileName, bytes))
        return {};

    return imagedecoder::decode (bytes.getData(), bytes.getSize());
}
