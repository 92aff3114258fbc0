#include "toolkit/lookandfeel/ToolkitFonts.h"

#include "framework/core/ResourceLoader.h"

namespace toolkit
{
namespace
{
// The typefaces are made once per process and released when JUCE shuts down,
// never by a static destructor after it.
class EmbeddedTypefaces : private juce::DeletedAtShutdown
{
public:
    EmbeddedTypefaces()
        : regular (load ("DejaVuSans.ttf")),
          bold (load ("DejaVuSans-Bold.ttf"))
    {
    }

    ~EmbeddedTypefaces() override { clearSingletonInstance(); }

    const juce::Typeface::Ptr regular, bold;

    JUCE_DECLARE_SINGLETON_SINGLETHREADED_MINIMAL (EmbeddedTypefaces)

private:
    static juce::Typeface::Ptr load (const char* fileName)
    {
        const auto resource = findEmbeddedResource (fileName);
        jassert (resource); // the build embeds both files
        return resource ? juce::Typeface::createSystemTypefaceFor (resource.data, resource.size) : nullptr;
    }
};

JUCE_IMPLEMENT_SINGLETON (EmbeddedTypefaces)
} // namespace

juce::Typeface::Ptr getEmbeddedTypeface (bool bold)
{
    auto* typefaces = EmbeddedTypefaces::getInstance();
    return bold ? typefaces->bold : typefaces->regular;
}

juce::Typeface::Ptr getEmbeddedTypeface (const juce::Font& font)
{
    return getEmbeddedTypeface (font.isBold());
}

juce::Font makeFont (float height, bool bold)
{
    auto typeface = getEmbeddedTypeface (bold);
    return typeface != nullptr ? juce::Font (typeface).withHeight (height)
                               : juce::Font (height, bold ? juce::Font::bold : juce::Font::plain);
}
} // namespace toolkit
