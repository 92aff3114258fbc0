#include "framework/presets/XmlFiles.h"

#include "framework/core/XmlGuard.h"

namespace xmlfiles
{
std::unique_ptr<juce::XmlElement> readDocument (const juce::File& file)
{
    return xmlguard::parseFile (file);
}

std::unique_ptr<juce::XmlElement> parseDocument (const juce::String& text)
{
    return xmlguard::parse (text);
}

void writeDocument (const juce::XmlElement& element, juce::OutputStream& out)
{
    juce::XmlElement::TextFormat format;
    format.customEncoding = "UTF-8";
    element.writeTo (out, format);
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

        writeDocument (element, out);
        out.flush();

        if (out.getStatus().failed())
            return false;
    }

    return temporary.overwriteTargetFileWithTemporary();
}
} // namespace xmlfiles
