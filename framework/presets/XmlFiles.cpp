#include "framework/presets/XmlFiles.h"

namespace xmlfiles
{
std::unique_ptr<juce::XmlElement> readDocument (const juce::File& file)
{
    if (! file.existsAsFile())
        return nullptr;

    juce::FileInputStream stream (file);

    if (! stream.openedOk())
        return nullptr;

    return parseDocument (stream.readEntireStreamAsString());
}

std::unique_ptr<juce::XmlElement> parseDocument (const juce::String& text)
{
    if (text.isEmpty())
        return nullptr;

    return juce::XmlDocument::parse (text);
}

bool writeDocument (const juce::XmlElement& element, const juce::File& file)
{
    if (file.getFullPathName().isEmpty() || file.isDirectory())
        return false;

    if (! file.getParentDirectory().createDirectory())
        return false;

    juce::TemporaryFile temporary (file, juce::TemporaryFile::useHiddenFile);

    {
        juce::FileOutputStream out (temporary.getFile());

        if (! out.openedOk())
            return false;

        juce::XmlElement::TextFormat format;
        format.customEncoding = "UTF-8";
        element.writeTo (out, format);
        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    return temporary.overwriteTargetFileWithTemporary();
}
} // namespace xmlfiles
