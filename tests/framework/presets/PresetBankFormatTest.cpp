#include "PresetTestSupport.h"

#include "framework/presets/PresetBankFormat.h"
#include "framework/presets/PresetValueText.h"
#include "framework/presets/XmlFiles.h"
#include "platform/EmbeddedResources.h"

#include <gtest/gtest.h>

namespace
{
constexpr int numValues = 49;

juce::String presetXml (const juce::String& name, const juce::String& application = "Pulsetta", const juce::String& params = {})
{
    return "<Preset application=\"" + application + "\" name=\"" + name + "\">" + params + "</Preset>";
}

juce::String presets (int first, int count)
{
    juce::String text;
    for (int i = first; i < first + count; ++i)
        text << presetXml ("N" + juce::String (i));
    return text;
}

struct BankFormatTest : ::testing::Test
{
    BankFormatTest()
    {
        defaults.setValue (0, 0.5f);
    }

    bool read (const juce::String& text)
    {
        const auto element = juce::XmlDocument::parse (text);
        return element != nullptr && format.readBankXml (*element, bank, defaults);
    }

    PresetBankFormat format { productParameters(), "Pulsetta" };
    PresetBank bank { numValues };
    PresetRecord defaults { numValues, -1 };
};

TEST_F (BankFormatTest, GroupsArePaddedNamedAndCappedAt128Presets)
{
    ASSERT_TRUE (read ("<PRESETBANK name=\"Mine\"><presetgroup name=\"Kits\">" + presets (0, 3) + "</presetgroup><PresetGroup>"
                       "<Preset application=\"Pulsetta\"/></PresetGroup></PRESETBANK>"));
    EXPECT_EQ (bank.getBankName(), "Mine");
    ASSERT_EQ (bank.getNumGroups(), 3);
    EXPECT_EQ (bank.getGroupName (1), "group 2");
    EXPECT_EQ (bank.getPresetName (3), "unnamed");
    EXPECT_EQ (bank.getGroupName (2), "Not used");
    EXPECT_EQ (bank.getGroupSize (2), 124);
    EXPECT_EQ (bank.getPresetName (127), "Preset 127");
    EXPECT_FLOAT_EQ (bank.getPreset (127)->getValue (0), 0.5f);

    // Presets of another application are skipped and not counted; only the first 128 load.
    ASSERT_TRUE (read ("<PresetBank><PresetGroup name=\"A\">" + presetXml ("X", "Other") + presets (0, 100)
                       + "<Pattern/></PresetGroup><PresetGroup name=\"B\">" + presets (100, 30) + "</PresetGroup></PresetBank>"));
    EXPECT_EQ (bank.getBankName(), "Preset Bank");
    ASSERT_EQ (bank.getNumGroups(), 2);
    EXPECT_EQ (bank.getGroupSize (0), 100);
    EXPECT_EQ (bank.getGroupSize (1), 28);
    EXPECT_EQ (bank.getPresetName (0), "N0");
    EXPECT_EQ (bank.getPresetName (127), "N127");

    // Another document changes nothing.
    bank.setPresetName (4, "Mine");
    EXPECT_FALSE (read ("<PresetGroup name=\"A\"/>"));
    EXPECT_FALSE (read ("<PluginState application=\"Pulsetta\"/>"));
    EXPECT_EQ (bank.getPresetName (4), "Mine");

    // A bank with no preset of this application (or none at all) changes nothing.
    bank.getPreset (4)->setValue (1, 0.75f);
    EXPECT_FALSE (read ("<PresetBank name=\"Theirs\"><PresetGroup name=\"A\">" + presetXml ("X", "Other") + "</PresetGroup></PresetBank>"));
    EXPECT_FALSE (read ("<PresetBank name=\"Empty\"/>"));
    EXPECT_EQ (bank.getPresetName (4), "Mine");
    EXPECT_FLOAT_EQ (bank.getPreset (4)->getValue (1), 0.75f);
    EXPECT_EQ (bank.getBankName(), "Preset Bank");
    EXPECT_EQ (bank.getGroupSize (0), 100);
}

TEST_F (BankFormatTest, PresetValuesAreCheckedAndClamped)
{
    PresetRecord record (numValues, 0);
    record.setValue (1, 0.3f);
    record.setValue (2, 0.3f);
    record.setValue (3, 0.3f);

    const auto element = juce::XmlDocument::parse (presetXml ("V", "pulsetta",
        "<param name=\"Snare Drum Level\" value=\"nan\"/>"
        "<param name=\"Low Tom Level\" value=\"5\"/>"
        "<param name=\"Mid Tom Level\" value=\"-inf\"/>"
        "<param name=\"Main Volume\" value=\"0.9\"/>"
        "<param name=\"Unknown\" value=\"0.9\"/>"
        "<PARAM name=\"Bass Drum Level\" value=\"0.25\"/>"));

    ASSERT_TRUE (format.readPresetValues (*element, record));
    EXPECT_FLOAT_EQ (record.getValue (0), 0.25f);
    EXPECT_FLOAT_EQ (record.getValue (1), 0.3f);
    EXPECT_FLOAT_EQ (record.getValue (2), 1.0f);
    EXPECT_FLOAT_EQ (record.getValue (3), 0.3f);
    EXPECT_EQ (record.getNumValues(), 49); // "Main Volume" (index 49) lies beyond what a preset holds
}

TEST_F (BankFormatTest, ValuesAreWrittenWithSixDecimals)
{
    const std::pair<double, const char*> values[] = { { 0.5, "0.5" }, { 1.0, "1" }, { 0.0, "0" }, { 0.1234567, "0.123457" },
                                                      { 0.0000004, "0" }, { -0.25, "-0.25" } };
    for (auto& [value, text] : values)
        EXPECT_EQ (formatPresetValue (value), text) << value;

    PresetRecord record (numValues, 0);
    record.setValue (7, 0.1234567f);
    const auto element = format.createPresetXml ("R", record);
    EXPECT_EQ (element->getStringAttribute ("application"), "Pulsetta");
    ASSERT_EQ (element->getNumChildElements(), 49);
    EXPECT_EQ (element->getChildElement (7)->getStringAttribute ("name"), "Closed Hi Hat Level");
    EXPECT_EQ (element->getChildElement (7)->getStringAttribute ("value"), "0.123457");
}

TEST_F (BankFormatTest, BankRoundTripsThroughAFile)
{
    bank.reset (defaults);
    bank.setBankName ("Round");
    bank.setGroups ({ { "One", 10 }, { "Two", 0 }, { "Three", 118 } });
    bank.setPresetName (9, "Nine");
    bank.getPreset (9)->setValue (48, 0.625f);

    TemporaryFolder temp;
    const auto file = temp.file ("bank.xrprsb");
    ASSERT_TRUE (xmlfiles::writeDocument (*format.createBankXml (bank), file));

    PresetBank loaded (numValues);
    const auto root = xmlfiles::readDocument (file);
    ASSERT_NE (root, nullptr);
    ASSERT_TRUE (format.readBankXml (*root, loaded, defaults));

    EXPECT_EQ (loaded.getBankName(), "Round");
    ASSERT_EQ (loaded.getNumGroups(), 3);
    EXPECT_EQ (loaded.getGroupName (1), "Two");
    EXPECT_EQ (loaded.getGroupSize (1), 0);
    EXPECT_EQ (loaded.getGroupSize (2), 118);
    EXPECT_EQ (loaded.getPresetName (9), "Nine");

    for (int i = 0; i < PresetBank::numPresets; ++i)
        for (int v = 0; v < numValues; ++v)
            ASSERT_NEAR (loaded.getPreset (i)->getValue (v), bank.getPreset (i)->getValue (v), 1e-6);
}

// The factory bank's names and values are the sound designer's: these tests
// hold it to its shape and to what the reader must make of it, not to its content.
TEST_F (BankFormatTest, TheFactoryBankHasItsShapeAndEverySoundParameterInRange)
{
    const auto resource = platform::findResource ("default.xrprsb");
    ASSERT_TRUE (resource);
    const auto text = juce::String::fromUTF8 (reinterpret_cast<const char*> (resource.data), (int) resource.size);
    ASSERT_TRUE (read (text));

    EXPECT_EQ (bank.getBankName(), "Preset Bank");
    ASSERT_EQ (bank.getNumGroups(), 2);
    EXPECT_EQ (bank.getGroupSize (0), 15);
    EXPECT_NE (bank.getGroupName (0), "Not used");
    EXPECT_EQ (bank.getGroupName (1), "Not used");

    // The factory kits carry names of their own, each a different one.
    juce::StringArray kitNames;
    for (int i = 0; i < 15; ++i)
    {
        const auto name = bank.getPresetName (i);
        EXPECT_TRUE (name.isNotEmpty() && name != "unnamed" && name != "Preset " + juce::String (i)) << i;
        EXPECT_TRUE (kitNames.addIfNotAlreadyThere (name)) << name;
    }

    for (int i = 15; i < PresetBank::numPresets; ++i)
        EXPECT_EQ (bank.getPresetName (i), "Preset " + juce::String (i));

    // Every preset element stores the 49 sound parameters, by name and in
    // list order, "Main Volume" never; the reader takes each value as written.
    const auto root = juce::XmlDocument::parse (text);
    ASSERT_NE (root, nullptr);
    int index = 0;
    for (auto* group : root->getChildIterator())
    {
        for (auto* preset : group->getChildIterator())
        {
            ASSERT_LT (index, PresetBank::numPresets);
            ASSERT_EQ (preset->getNumChildElements(), numValues) << index;

            for (int v = 0; v < numValues; ++v)
            {
                const auto* param = preset->getChildElement (v);
                EXPECT_EQ (param->getStringAttribute ("name"), productParameters().getName (v)) << index << " " << v;

                const auto written = param->getDoubleAttribute ("value", -1.0);
                EXPECT_TRUE (written >= 0.0 && written <= 1.0) << index << " " << v << " " << written;
                ASSERT_NEAR (bank.getPreset (index)->getValue (v), written, 1e-6) << index << " " << v;
            }

            ++index;
        }
    }
    EXPECT_EQ (index, PresetBank::numPresets);
}

TEST_F (BankFormatTest, TheDefaultPresetHoldsEverySoundParameter)
{
    const auto resource = platform::findResource ("default.xrprs");
    ASSERT_TRUE (resource);
    const auto element = juce::XmlDocument::parse (juce::String::fromUTF8 (reinterpret_cast<const char*> (resource.data), (int) resource.size));
    ASSERT_NE (element, nullptr);
    ASSERT_TRUE (format.isPresetXml (element.get()));
    ASSERT_EQ (element->getNumChildElements(), numValues);

    // Read over all zeros and over all ones: a value the reader skipped would
    // show in one of the two whatever the preset holds.
    PresetRecord fromZeros (numValues, -1), fromOnes (numValues, -1);
    for (int v = 0; v < numValues; ++v)
    {
        fromZeros.setValue (v, 0.0f);
        fromOnes.setValue (v, 1.0f);
    }
    ASSERT_TRUE (format.readPresetValues (*element, fromZeros));
    ASSERT_TRUE (format.readPresetValues (*element, fromOnes));

    for (int v = 0; v < numValues; ++v)
    {
        const auto* param = element->getChildElement (v);
        EXPECT_EQ (param->getStringAttribute ("name"), productParameters().getName (v)) << v;
        const auto written = param->getDoubleAttribute ("value", -1.0);
        EXPECT_TRUE (written >= 0.0 && written <= 1.0) << v << " " << written;
        EXPECT_NEAR (fromZeros.getValue (v), written, 1e-6) << v;
        EXPECT_NEAR (fromOnes.getValue (v), written, 1e-6) << v;
    }
}
} // namespace
