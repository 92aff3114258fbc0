#include "toolkit/skin/SkinButtonXml.h"

#include "toolkit/binding/SkinXml.h"

namespace toolkit
{
void readClickTiming (juce::Button& button, const juce::XmlElement& element)
{
    const auto timing = element.getStringAttribute ("clickEvent", "onRelease");

    if (timing == "onRelease")
        button.setTriggeredOnMouseDown (false);
    else if (timing == "onPress")
        button.setTriggeredOnMouseDown (true);
}

void readRadioGroup (juce::Button& button, const juce::XmlElement& element, SkinReader& reader)
{
    const int group = reader.readInt (element, "radioGroupId", 0, skinbounds::radioGroup);

    if (group != button.getRadioGroupId())
        button.setRadioGroupId (group);
}
} // namespace toolkit
