#include "framework/presets/PresetBank.h"

#include <gtest/gtest.h>

#include <numeric>

namespace
{
constexpr int numValues = 49;

// A bank with the given group sizes; preset i is named "P<i>".
struct BankWithGroups
{
    explicit BankWithGroups (std::vector<int> sizes)
    {
        std::vector<PresetGroup> groups;
        for (size_t g = 0; g < sizes.size(); ++g)
            groups.push_back ({ "G" + juce::String ((int) g), sizes[g] });

        EXPECT_TRUE (bank.setGroups (groups));

        for (int i = 0; i < PresetBank::numPresets; ++i)
            bank.setPresetName (i, "P" + juce::String (i));
    }

    int totalSize() const
    {
        int total = 0;
        for (int g = 0; g < bank.getNumGroups(); ++g)
            total += bank.getGroupSize (g);
        return total;
    }

    PresetBank bank { numValues };
};

TEST (PresetRecord, ClampsValuesAndIgnoresBadIndexesAndNonFiniteValues)
{
    PresetRecord record (numValues, 3);
    record.setValue (0, 0.25f);
    record.setValue (1, 7.0f);
    record.setValue (2, -1.0f);
    record.setValue (3, std::numeric_limits<float>::quiet_NaN());
    record.setValue (-1, 0.5f);
    record.setValue (numValues, 0.5f);

    EXPECT_FLOAT_EQ (record.getValue (0), 0.25f);
    EXPECT_FLOAT_EQ (record.getValue (1), 1.0f);
    EXPECT_FLOAT_EQ (record.getValue (2), 0.0f);
    EXPECT_FLOAT_EQ (record.getValue (3), 0.0f);
    EXPECT_FLOAT_EQ (record.getValue (-1), 0.0f);
    EXPECT_FLOAT_EQ (record.getValue (numValues), 0.0f);
    EXPECT_EQ (record.getSlot(), 3);
}

TEST (PresetBank, ResetNamesEveryPresetAndMakesOneGroup)
{
    PresetBank bank (numValues);
    PresetRecord defaults (numValues, -1);
    defaults.setValue (4, 0.75f);

    bank.reset (defaults);

    EXPECT_EQ (bank.getNumGroups(), 1);
    EXPECT_EQ (bank.getGroupName (0), "Not used");
    EXPECT_EQ (bank.getGroupSize (0), 128);
    EXPECT_EQ (bank.getPresetName (0), "Preset 0");
    EXPECT_EQ (bank.getPresetName (127), "Preset 127");
    EXPECT_FLOAT_EQ (bank.getPreset (127)->getValue (4), 0.75f);
}

TEST (PresetBank, QueriesAnswerNeutrallyOutsideTheBank)
{
    BankWithGroups b ({ 3, 125 });
    auto& bank = b.bank;

    EXPECT_EQ (bank.getPreset (-1), nullptr);
    EXPECT_EQ (bank.getPreset (128), nullptr);
    EXPECT_EQ (bank.getPresetName (-1), "");
    EXPECT_FALSE (bank.setPresetName (128, "x"));
    EXPECT_EQ (bank.getGroupName (2), "");
    EXPECT_EQ (bank.getGroupSize (-1), 0);
    EXPECT_EQ (bank.getFirstPresetOfGroup (2), -1);
    EXPECT_EQ (bank.getFirstPresetOfGroup (1), 3);
    EXPECT_EQ (bank.getLastPresetOfGroup (1), 127);
    EXPECT_EQ (bank.getGroupOfPreset (2), 0);
    EXPECT_EQ (bank.getGroupOfPreset (3), 1);
    EXPECT_EQ (bank.getGroupOfPreset (-1), -1);
    EXPECT_EQ (bank.getPresetIndexInGroup (0, 2), 2);
    EXPECT_EQ (bank.getPresetIndexInGroup (0, 3), -1);
    EXPECT_EQ (bank.getPresetIndexInGroup (0, -1), -1);
    EXPECT_EQ (bank.getPresetNameInGroup (1, 0), "P3");
}

TEST (PresetBank, GroupsMustCoverTheWholeBank)
{
    PresetBank bank (numValues);
    EXPECT_FALSE (bank.setGroups ({ { "A", 3 } }));
    EXPECT_FALSE (bank.setGroups ({ { "A", 130 }, { "B", -2 } }));
    EXPECT_TRUE (bank.setGroups ({ { "A", 0 }, { "B", 128 } }));
}

TEST (PresetBank, AddGroupInsertsBeforeAnExistingGroupOnly)
{
    BankWithGroups b ({ 15, 113 });
    EXPECT_TRUE (b.bank.addGroup (1));
    EXPECT_EQ (b.bank.getNumGroups(), 3);
    EXPECT_EQ (b.bank.getGroupName (1), "New Group");
    EXPECT_EQ (b.bank.getGroupSize (1), 0);
    EXPECT_EQ (b.bank.getGroupName (2), "G1");

    EXPECT_FALSE (b.bank.addGroup (3));
    EXPECT_FALSE (b.bank.addGroup (-1));
    EXPECT_EQ (b.bank.getNumGroups(), 3);
}

TEST (PresetBank, MovePresetWithinAGroupKeepsTheGroups)
{
    BankWithGroups b ({ 15, 113 });
    auto* moving = b.bank.getPreset (3);

    EXPECT_TRUE (b.bank.movePreset (3, 10, 0, 0));
    EXPECT_EQ (b.bank.indexOf (moving), 10);
    EXPECT_EQ (b.bank.getPresetName (3), "P4");
    EXPECT_EQ (b.bank.getGroupSize (0), 15);
}

TEST (PresetBank, MovePresetAcrossGroupsChangesBothSizes)
{
    BankWithGroups b ({ 15, 113 });
    EXPECT_TRUE (b.bank.movePreset (20, 15, 1, 0)); // to the end of the first group
    EXPECT_EQ (b.bank.getGroupSize (0), 16);
    EXPECT_EQ (b.bank.getGroupSize (1), 112);
    EXPECT_EQ (b.bank.getPresetName (15), "P20");
    EXPECT_EQ (b.totalSize(), 128);
}

TEST (PresetBank, MovePresetRefusesAPresetOutsideItsNamedGroup)
{
    BankWithGroups b ({ 15, 0, 113 });

    // Preset 20 lies in group 2, not group 0: a group size would go negative
    // if the move were taken at its word.
    EXPECT_FALSE (b.bank.movePreset (20, 21, 1, 2));
    EXPECT_FALSE (b.bank.movePreset (20, 5, 1, 0));
    // The destination must lie inside the destination group after the move.
    EXPECT_FALSE (b.bank.movePreset (3, 40, 0, 1));
    EXPECT_FALSE (b.bank.movePreset (3, 3, 0, 0));
    EXPECT_FALSE (b.bank.movePreset (-1, 3, 0, 0));
    EXPECT_FALSE (b.bank.movePreset (3, 128, 0, 0));
    EXPECT_FALSE (b.bank.movePreset (3, 4, 0, 3));

    EXPECT_EQ (b.bank.getGroupSize (0), 15);
    EXPECT_EQ (b.bank.getGroupSize (1), 0);
    EXPECT_EQ (b.bank.getGroupSize (2), 113);
    EXPECT_EQ (b.bank.getPresetName (20), "P20");

    // Into the empty group: its only place is position 14 once preset 3 left group 0.
    EXPECT_TRUE (b.bank.movePreset (3, 14, 0, 1));
    EXPECT_EQ (b.bank.getGroupSize (0), 14);
    EXPECT_EQ (b.bank.getGroupSize (1), 1);
    EXPECT_EQ (b.bank.getPresetNameInGroup (1, 0), "P3");
    EXPECT_EQ (b.totalSize(), 128);
}

TEST (PresetBank, MovePresetsToGroupKeepsTheirOrderAtTheEnd)
{
    BankWithGroups b ({ 5, 5, 118 });
    EXPECT_TRUE (b.bank.movePresetsToGroup (0, 2, { 3, 1, 3 }));

    EXPECT_EQ (b.bank.getGroupSize (0), 7);
    EXPECT_EQ (b.bank.getGroupSize (2), 116);
    EXPECT_EQ (b.bank.getPresetNameInGroup (0, 5), "P11");
    EXPECT_EQ (b.bank.getPresetNameInGroup (0, 6), "P13");
    EXPECT_EQ (b.bank.getPresetNameInGroup (1, 0), "P5");
    EXPECT_EQ (b.totalSize(), 128);

    EXPECT_FALSE (b.bank.movePresetsToGroup (0, 1, { 5 }));
    EXPECT_FALSE (b.bank.movePresetsToGroup (0, 1, { -1 }));
    EXPECT_FALSE (b.bank.movePresetsToGroup (1, 1, { 0 }));
    EXPECT_FALSE (b.bank.movePresetsToGroup (0, 1, {}));
    EXPECT_FALSE (b.bank.movePresetsToGroup (0, 3, { 0 }));
}

TEST (PresetBank, MoveGroupCarriesItsPresets)
{
    BankWithGroups b ({ 2, 3, 123 });
    EXPECT_TRUE (b.bank.moveGroup (1, 0));

    EXPECT_EQ (b.bank.getGroupName (0), "G1");
    EXPECT_EQ (b.bank.getGroupSize (0), 3);
    EXPECT_EQ (b.bank.getPresetName (0), "P2");
    EXPECT_EQ (b.bank.getPresetName (3), "P0");
    EXPECT_EQ (b.bank.getPresetName (5), "P5");

    EXPECT_TRUE (b.bank.moveGroup (0, 2));
    EXPECT_EQ (b.bank.getGroupName (2), "G1");
    EXPECT_EQ (b.bank.getPresetName (125), "P2");
    EXPECT_EQ (b.totalSize(), 128);

    EXPECT_FALSE (b.bank.moveGroup (0, 0));
    EXPECT_FALSE (b.bank.moveGroup (0, 3));
}
} // namespace
