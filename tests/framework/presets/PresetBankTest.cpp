#include "framework/presets/PresetBank.h"

#include <gtest/gtest.h>

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

    std::vector<int> sizes() const
    {
        std::vector<int> result;
        for (int g = 0; g < bank.getNumGroups(); ++g)
            result.push_back (bank.getGroupSize (g));
        return result;
    }

    PresetBank bank { numValues };
};

TEST (PresetRecord, ClampsValuesAndIgnoresBadIndexesAndNonFiniteValues)
{
    PresetRecord record (numValues, 3);
    const std::pair<int, float> writes[] = { { 0, 0.25f }, { 1, 7.0f }, { 2, -1.0f }, { 3, std::numeric_limits<float>::quiet_NaN() },
                                             { -1, 0.5f }, { numValues, 0.5f } };
    const float expected[] = { 0.25f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f };
    for (size_t i = 0; i < std::size (writes); ++i)
    {
        record.setValue (writes[i].first, writes[i].second);
        EXPECT_FLOAT_EQ (record.getValue (writes[i].first), expected[i]) << writes[i].first;
    }
}

TEST (PresetBank, ResetGroupsAndQueriesOutsideTheBank)
{
    PresetBank bank (numValues);
    PresetRecord defaults (numValues, -1);
    defaults.setValue (4, 0.75f);
    bank.reset (defaults);
    EXPECT_EQ (bank.getNumGroups(), 1);
    EXPECT_EQ (bank.getGroupName (0), "Not used");
    EXPECT_EQ (bank.getPresetName (127), "Preset 127");
    EXPECT_FLOAT_EQ (bank.getPreset (127)->getValue (4), 0.75f);

    // Groups must cover the whole bank.
    EXPECT_FALSE (bank.setGroups ({ { "A", 3 } }));
    EXPECT_FALSE (bank.setGroups ({ { "A", 130 }, { "B", -2 } }));
    EXPECT_TRUE (bank.setGroups ({ { "A", 3 }, { "B", 125 } }));

    EXPECT_EQ (bank.getPreset (-1), nullptr);
    EXPECT_EQ (bank.getPreset (128), nullptr);
    EXPECT_EQ (bank.getPresetName (-1), "");
    EXPECT_FALSE (bank.setPresetName (128, "x"));
    EXPECT_EQ (bank.getGroupName (2), "");
    EXPECT_EQ (bank.getGroupSize (-1), 0);
    EXPECT_EQ (bank.getFirstPresetOfGroup (2), -1);
    EXPECT_EQ (bank.getLastPresetOfGroup (1), 127);
    EXPECT_EQ (bank.getGroupOfPreset (3), 1);
    EXPECT_EQ (bank.getGroupOfPreset (-1), -1);
    EXPECT_EQ (bank.getPresetIndexInGroup (0, 3), -1);
    EXPECT_EQ (bank.getPresetIndexInGroup (0, -1), -1);

    EXPECT_TRUE (bank.addGroup (1));
    EXPECT_EQ (bank.getGroupName (1), "New Group");
    EXPECT_EQ (bank.getGroupSize (1), 0);
    EXPECT_FALSE (bank.addGroup (3));
    EXPECT_FALSE (bank.addGroup (-1));
    EXPECT_EQ (bank.getNumGroups(), 3);
}

TEST (PresetBank, MovePresetWithinAndAcrossGroups)
{
    BankWithGroups b ({ 15, 113 });
    auto* moving = b.bank.getPreset (3);
    EXPECT_TRUE (b.bank.movePreset (3, 10, 0, 0));
    EXPECT_EQ (b.bank.indexOf (moving), 10);
    EXPECT_EQ (b.bank.getPresetName (3), "P4");

    EXPECT_TRUE (b.bank.movePreset (20, 15, 1, 0)); // to the end of the first group
    EXPECT_EQ (b.sizes(), (std::vector<int> { 16, 112 }));
    EXPECT_EQ (b.bank.getPresetName (15), "P20");
}

TEST (PresetBank, MovePresetRefusesAPresetOutsideItsNamedGroup)
{
    BankWithGroups b ({ 15, 0, 113 });

    // Preset 20 lies in group 2, not group 0: a group size would go negative
    // if the move were taken at its word. The destination must lie inside
    // the destination group after the move.
    const int refused[][4] = { { 20, 21, 1, 2 }, { 20, 5, 1, 0 }, { 3, 40, 0, 1 }, { 3, 3, 0, 0 },
                               { -1, 3, 0, 0 }, { 3, 128, 0, 0 }, { 3, 4, 0, 3 } };
    for (auto& m : refused)
        EXPECT_FALSE (b.bank.movePreset (m[0], m[1], m[2], m[3])) << m[0] << " " << m[1] << " " << m[2] << " " << m[3];

    EXPECT_EQ (b.sizes(), (std::vector<int> { 15, 0, 113 }));
    EXPECT_EQ (b.bank.getPresetName (20), "P20");

    // Into the empty group: its only place is position 14 once preset 3 left group 0.
    EXPECT_TRUE (b.bank.movePreset (3, 14, 0, 1));
    EXPECT_EQ (b.sizes(), (std::vector<int> { 14, 1, 113 }));
    EXPECT_EQ (b.bank.getPresetNameInGroup (1, 0), "P3");
}

TEST (PresetBank, MovePresetsToGroupAndMoveGroup)
{
    BankWithGroups b ({ 5, 5, 118 });
    EXPECT_TRUE (b.bank.movePresetsToGroup (0, 2, { 3, 1, 3 }));
    EXPECT_EQ (b.sizes(), (std::vector<int> { 7, 5, 116 }));
    EXPECT_EQ (b.bank.getPresetNameInGroup (0, 5), "P11");
    EXPECT_EQ (b.bank.getPresetNameInGroup (0, 6), "P13");
    for (auto& indexes : { std::vector<int> { 5 }, { -1 }, {} })
        EXPECT_FALSE (b.bank.movePresetsToGroup (0, 1, indexes));
    EXPECT_FALSE (b.bank.movePresetsToGroup (1, 1, { 0 }));
    EXPECT_FALSE (b.bank.movePresetsToGroup (0, 3, { 0 }));

    BankWithGroups c ({ 2, 3, 123 });
    EXPECT_TRUE (c.bank.moveGroup (1, 0));
    EXPECT_EQ (c.bank.getGroupName (0), "G1");
    EXPECT_EQ (c.bank.getPresetName (0), "P2");
    EXPECT_EQ (c.bank.getPresetName (3), "P0");
    EXPECT_TRUE (c.bank.moveGroup (0, 2));
    EXPECT_EQ (c.bank.getPresetName (125), "P2");
    EXPECT_EQ (c.sizes(), (std::vector<int> { 2, 123, 3 }));
    EXPECT_FALSE (c.bank.moveGroup (0, 0));
    EXPECT_FALSE (c.bank.moveGroup (0, 3));
}
} // namespace
