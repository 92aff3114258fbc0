#pragma once

#include <juce_core/juce_core.h>
#include <juce_graphics/juce_graphics.h>

#include <memory>

// An installed skin package that opened and matched its digest. The package
// ("<name>.kyxskin") is a zip archive of two entries: "<name>.md5", the MD5
// of the other entry as 32 hex digits, and "<name>.skin", itself a zip
// archive holding "skin.xml" and the images it names.
//
// A package comes from anywhere, so every size is capped before it is read:
// the package file, the digest entry and the inner archive, which is read
// once into memory, hashed there and opened from there; so is each file in
// it, and an image is decoded by our own decoder, only when its header
// states a usable size.
// Nothing is ever written to disk. Message thread.
class SkinPackage
{
public:
    // Bytes, each the most that is read; one more and the part is refused.
    static constexpr juce::int64 maxPackageBytes = 80 * 1024 * 1024;
    static constexpr size_t maxDigestBytes = 64;
    static constexpr size_t maxSkinBytes = 64 * 1024 * 1024; // the inner archive, uncompressed
    static constexpr size_t maxEntryBytes = 16 * 1024 * 1024; // a file in it, uncompressed

    // The package for the skin name, when it opens and matches its digest;
    // otherwise null and why in problem.
    static std::unique_ptr<SkinPackage> open (const juce::File& packageFile, const juce::String& skinName, juce::String& problem);

    // True when the inner archive holds a file of exactly that name.
    bool hasEntry (const juce::String& entryName) const;

    // The names of the files in the inner archive, in its order.
    juce::StringArray getEntryNames() const;

    // The file of exactly that name in the inner archive; false (bytes
    // emptied) when it has none or it is larger than maxEntryBytes.
    bool readEntry (const juce::String& entryName, juce::MemoryBlock& bytes);

    // The image of exactly that file name, decoded (imagedecoder::decode); a
    // null image when the package has no such file, it is larger than
    // maxEntryBytes, or it is no PNG or JPEG that decodes whole at a size
    // within imageheader::maxPixels. hasEntry tells an absent file from one
    // that could not be read.
    juce::Image readImage (const juce::String& fileName);

private:
    SkinPackage() = default;

    juce::MemoryBlock skinBytes;          // the inner archive
    std::unique_ptr<juce::ZipFile> skin;  // reads skinBytes, so it goes first
};
