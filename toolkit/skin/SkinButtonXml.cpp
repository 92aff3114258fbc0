#include "toolkit/skin/SkinButtonXml.h"

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

void readRadioGroup (juce::Button& button, const juce::XmlElement& element)
{
    const int group = element.getIntAttribute ("radioGroupId");

    if (group != button.getRadioGroupId())
        button.setRadioGroupId (group);
}
} // namespace toolkit
