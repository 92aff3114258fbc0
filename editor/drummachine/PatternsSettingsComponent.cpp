#include "editor/drummachine/PatternsSettingsComponent.h"

#include "editor/drummachine/PatternFileTypes.h"

namespace
{
constexpr int groupGap = 10; // pixels between the two groups of separate stores

const char* const groupTitles[] = { "Default host patterns", "Default native patterns", "Default patterns" };
constexpr DrumMachineSeq::BankType bankTypes[] = { DrumMachineSeq::hostBank, DrumMachineSeq::nativeBank,
                                                   DrumMachineSeq::singleBank };
} // namespace

PatternsSettingsComponent::PatternsSettingsComponent (DrumMachine& drumMachine)
    : processor (drumMachine)
{
    const bool separate = hasSeparateStores();
    for (int store = 0; store < numStores; ++store)
    {
        auto& group = groups[(size_t) store];
        group = std::make_unique<DefaultResourcesRadioButtons> (groupTitles[store],
                                                                juce::StringArray { "Factory patterns", "Clear patterns", "User defined" });
        auto& path = group->getPathComponent();
        path.setChooserTitle (groupTitles[store]);
        if (auto* sequencer = processor.getSequencer())
            path.setFilePatterns (patternfiles::wildcardsOf (sequencer->getBankFileExtensions (bankTypes[store])));
        group->addListener (this);
        addChildComponent (*group);
        group->setVisible (separate == (store != singleStore));
    }
    updateFromProcessor();
}

PatternsSettingsComponent::~PatternsSettingsComponent()
{
    for (auto& group : groups)
        group->removeListener (this);
}

bool PatternsSettingsComponent::hasSeparateStores() const
{
    return processor.getSequencer() != nullptr && processor.getSequencer()->hasHostAndNativePatterns();
}

void PatternsSettingsComponent::updateFromProcessor()
{
    for (int store = 0; store < numStores; ++store)
    {
        const auto setting = processor.getPatternSource (settingOf ((Store) store));
        auto& group = *groups[(size_t) store];
        group.setSelectedIndex ((int) setting.source, false);
        group.getPathComponent().setPath (setting.file, false);
    }
}

void PatternsSettingsComponent::radioButtonsChanged (RadioButtons_V2* changed)
{
    for (int store = 0; store < numStores; ++store)
    {
        auto& group = *groups[(size_t) store];
        if (&group != changed || group.getSelectedIndex() < 0)
            continue;

        auto setting = processor.getPatternSource (settingOf ((Store) store));
        const auto& path = group.getPathComponent().getPath();
        if (path != setting.file)
        {
            // A bank file chosen is the user's choice of that bank.
            setting.file = path;
            group.setSelectedIndex ((int) DrumMachineSeq::PatternSource::userDefinedPatterns, false);
        }
        setting.source = (DrumMachineSeq::PatternSource) group.getSelectedIndex();
        processor.setPatternSource (settingOf ((Store) store), setting);
    }
}

//==== Layout ========================================================================

void PatternsSettingsComponent::lookAndFeelChanged()
{
    for (auto& group : groups)
        group->setButtonWidth (-1);
    resized();
}

void PatternsSettingsComponent::resized()
{
    // Each group is as wide as the page; its buttons keep their text's width,
    // leaving the rest of the line to the user's file beside the last one.
    int y = 0;
    for (auto& group : groups)
    {
        if (! group->isVisible())
            continue;
        group->setBounds (0, y, getWidth(), group->getHeight());
        y = group->getBottom() + groupGap;
    }
}
