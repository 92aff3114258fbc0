#include "editor/drummachine/PatternFileTypes.h"

namespace patternfiles
{
juce::String wildcardsOf (const juce::String& extensions)
{
    juce::StringArray wildcards;
    for (const auto& extension : juce::StringArray::fromTokens (extensions, ";", {}))
        if (extension.trim().isNotEmpty())
            wildcards.add ("*" + extension.trim());
    return wildcards.joinIntoString (";");
}
} // namespace patternfiles
