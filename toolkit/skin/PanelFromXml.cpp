#include "toolkit/skin/PanelFromXml.h"

#include "framework/core/XmlTags.h"

namespace toolkit
{
PanelBuild createPanelFromXml (const juce::XmlElement& root, SkinContext& context, const juce::String& pluginName)
{
    PanelBuild build;

    if (! tagIs (&root, "PluginEditor"))
    {
        build.problems.add ("the skin's root is \"" + root.getTagName() + "\", not \"PluginEditor\"");
        return build;
    }

    const auto application = root.getStringAttribute ("application");

    if (! application.equalsIgnoreCase (pluginName))
    {
        build.problems.add ("the skin is for \"" + application + "\", not for \"" + pluginName + "\"");
        return build;
    }

    for (auto* element : root.getChildIterator())
    {
        if (! tagIs (element, "Panel") || ! element->getStringAttribute ("name").equalsIgnoreCase ("MainPanel"))
            continue;

        SkinReader reader (context);
        const SkinReader::ScopedPlace place (reader, *element);

        build.panel = std::make_unique<GFXPanel> ("MainEditorPanel");
        build.panel->loadFromXml (*element, reader);
        build.problems = reader.getProblems();
        return build;
    }

    build.problems.add ("the skin has no panel named \"MainPanel\"");
    return build;
}
} // namespace toolkit
