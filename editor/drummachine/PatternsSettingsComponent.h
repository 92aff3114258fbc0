#pragma once

#include "drummachine/processor/DrumMachine.h"
#include "toolkit/widgets/DefaultResourcesRadioButtons.h"

#include <array>

// The options page "Patterns": where a new instance's patterns come from
// (the factory bank, empty patterns or a bank file of the user's). A
// sequencer with separate host and native stores has a choice for each;
// one with a single store, as this product's, shows only "Default
// patterns". The choice reaches the drum machine's settings at once.
// Message thread.
class PatternsSettingsComponent : public juce::Component,
                                  public RadioButtons_V2::Listener
{
public:
    // The groups, one per store the sequencer may keep.
    enum Store
    {
        hostStore = 0,   // "Default host patterns"
        nativeStore,     // "Default native patterns"
        singleStore,     // "Default patterns"
        numStores
    };

    explicit PatternsSettingsComponent (DrumMachine& processor);
    ~PatternsSettingsComponent() override;

    // Loads every control from the drum machine without telling anyone.
    void updateFromProcessor();

    // The group of a store, for the editor's and the tests' hands.
    DefaultResourcesRadioButtons& getGroup (Store store) { return *groups[(size_t) store]; }

    void resized() override;
    void lookAndFeelChanged() override;

    // Message thread: a choice or a new path (the group tells both).
    void radioButtonsChanged (RadioButtons_V2* group) override;

private:
    bool hasSeparateStores() const;
    // The drum machine's pattern source setting (0 or 1) a group edits.
    static int settingOf (Store store) noexcept { return store == nativeStore ? 1 : 0; }

    DrumMachine& processor;
    std::array<std::unique_ptr<DefaultResourcesRadioButtons>, numStores> groups;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (PatternsSettingsComponent)
};
