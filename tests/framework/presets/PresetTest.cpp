#include "PresetTestSupport.h"

#include "framework/presets/Preset.h"
#include "framework/presets/XmlFiles.h"

#include <gtest/gtest.h>

namespace
{
std::unique_ptr<juce::XmlElement> parse (const char* text)
{
    return juce::XmlDocument::parse (juce::String (text));
}

TEST (Preset, RatingsOutsideOneToFiveStayUnsetAndUnsetFieldsAreNotWritten)
{
    for (const char* text : { "<Preset rating=\"0\"/>", "<Preset rating=\"6\"/>", "<Preset rating=\"-3\"/>" })
    {
        Preset preset;
        ASSERT_TRUE (preset.loadFromXml (parse (text).get(), productParameters(), false));
        EXPECT_FALSE (preset.isRatingSet()) << text;
        EXPECT_EQ (preset.getRating(), 3);
        const auto element = preset.createXml (productParameters());
        for (auto* attribute : { "rating", "author", "id", "tags" })
            EXPECT_FALSE (element->hasAttribute (attribute)) << text << " " << attribute;
    }

    Preset rated;
    rated.loadFromXml (parse ("<Preset rating=\"4\" tags=\"style:dark|hard;bpm:120\"/>").get(), productParameters(), false);
    EXPECT_EQ (rated.createXml (productParameters())->getIntAttribute ("rating"), 4);
    EXPECT_EQ (rated.getTags().getValues (0), juce::StringArray ({ "dark", "hard" }));
    EXPECT_EQ (rated.createXml (productParameters())->getStringAttribute ("tags"), "style:dark|hard;bpm:120");
}

TEST (Preset, DropsUnknownNamesOnReadingAndStaleIndexesOnWriting)
{
    Preset preset;
    preset.loadFromXml (parse ("<PRESET><param name=\"Bass Drum Decay\" value=\"0.75\"/>"
                               "<Param name=\"No Such Knob\" value=\"1\"/></PRESET>").get(),
                        productParameters(), false);

    ASSERT_EQ (preset.getNumEntries(), 1);
    EXPECT_EQ (preset.getEntry (0).index, productParameters().getIndexOfName ("Bass Drum Decay"));
    EXPECT_EQ (preset.getEntry (0).value, "0.75");

    preset.addEntry ({ 99999, "1" });
    EXPECT_EQ (preset.createXml (productParameters())->getNumChildElements(), 1);

    // Another root changes nothing.
    EXPECT_FALSE (preset.loadFromXml (parse ("<Pattern name=\"x\"/>").get(), productParameters(), false));
    EXPECT_FALSE (preset.loadFromXml (nullptr, productParameters(), false));
    EXPECT_EQ (preset.getNumEntries(), 2);
}

TEST (Preset, HeaderOnlyReadsTheFieldsAndNoValues)
{
    TemporaryFolder temp;
    const auto file = temp.file ("p.xrprs");
    file.replaceWithText ("<Preset name=\"N\" author=\"A\" id=\"I\" category=\"C\" version=\"2\" application=\"Pulsetta\">"
                          "<param name=\"Bass Drum Level\" value=\"0.1\"/><ExtraData><Mine a=\"1\"/></ExtraData></Preset>");

    Preset preset;
    ASSERT_TRUE (preset.loadFromFile (file, productParameters(), true));
    const juce::String fields[] = { preset.getName(), preset.getAuthor(), preset.getId(), preset.getCategory(), preset.getVersion(),
                                    preset.getApplication() };
    EXPECT_EQ (juce::StringArray (fields, 6).joinIntoString (","), "N,A,I,C,2,Pulsetta");
    EXPECT_EQ (preset.getNumEntries(), 0);

    ASSERT_TRUE (preset.loadFromFile (file, productParameters(), false));
    EXPECT_EQ (preset.getNumEntries(), 1);

    // Extra data is kept, and an empty one clears nothing.
    preset.loadFromXml (parse ("<Preset><ExtraData/></Preset>").get(), productParameters(), false);
    ASSERT_NE (preset.getExtraData(), nullptr);
    EXPECT_EQ (preset.getExtraData()->getTagName(), "Mine");
    EXPECT_NE (preset.createXml (productParameters())->getChildByName ("ExtraData"), nullptr);
}

TEST (Preset, AppliesItsValuesToTheParameters)
{
    ParameterManager manager;
    manager.loadFromResource ("parameters.xml");

    Preset preset;
    preset.addParameterValue (manager.getParameter (15));
    manager.setNormalised (15, 0.9f);
    preset.applyTo (manager);
    EXPECT_FLOAT_EQ (manager.getNormalised (15), 0.25f);
}

TEST (FilePreset, IsNamedAfterItsFileAndSavesNoName)
{
    TemporaryFolder temp;
    const auto file = temp.file ("Kick Heavy.xrprs");

    FilePreset preset (file);
    preset.addParameterValue (productParameters().getParameter (0));
    ASSERT_TRUE (preset.saveToFile (file, productParameters()));
    EXPECT_FALSE (xmlfiles::readDocument (file)->hasAttribute ("name"));

    FilePreset loaded (file);
    ASSERT_TRUE (loaded.loadFromFile (file, productParameters(), false));
    EXPECT_EQ (loaded.getName(), "Kick Heavy");
    EXPECT_EQ (loaded.getNumEntries(), 1);
}

TEST (Preset, UpdatingTheAuthorRewritesOnlyAuthorAndId)
{
    TemporaryFolder temp;
    const auto file = temp.file ("own.xrprs");
    file.replaceWithText ("<Preset name=\"N\" author=\"Old\" id=\"\"><param name=\"Ride Tune\" value=\"0.3\"/></Preset>");

    Preset preset;
    preset.setAuthor ("New Author");
    ASSERT_TRUE (preset.updateAuthorInFile (file));
    auto root = xmlfiles::readDocument (file);
    EXPECT_EQ (root->getStringAttribute ("author"), "New Author");
    EXPECT_FALSE (root->hasAttribute ("id"));
    EXPECT_EQ (root->getStringAttribute ("name"), "N");
    EXPECT_EQ (root->getNumChildElements(), 1);

    preset.setAuthor ({});
    ASSERT_TRUE (preset.updateAuthorInFile (file));
    EXPECT_FALSE (xmlfiles::readDocument (file)->hasAttribute ("author"));

    const auto other = temp.file ("other.xml");
    other.replaceWithText ("<Pattern/>");
    EXPECT_FALSE (preset.updateAuthorInFile (other));
    EXPECT_EQ (other.loadFileAsString(), "<Pattern/>");
}

TEST (XmlFiles, AFailedWriteReportsFailureAndLeavesNoTemporaryFile)
{
    TemporaryFolder temp;
    const auto blocker = temp.file ("not-a-folder");
    blocker.replaceWithText ("x");

    const juce::XmlElement element ("Preset");
    EXPECT_FALSE (xmlfiles::writeDocument (element, blocker.getChildFile ("p.xrprs")));
    EXPECT_FALSE (xmlfiles::writeDocument (element, temp.folder));
    EXPECT_EQ (blocker.loadFileAsString(), "x");

    const auto good = temp.file ("good.xrprs");
    ASSERT_TRUE (xmlfiles::writeDocument (element, good));
    EXPECT_EQ (temp.folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 2);

    // Unreadable files give nothing.
    const auto broken = temp.file ("broken.xml");
    broken.replaceWithText ("<Preset name=\"a\"><param");
    for (auto& file : { broken, temp.file ("missing.xml"), temp.folder })
        EXPECT_EQ (xmlfiles::readDocument (file), nullptr) << file.getFileName();
}
} // namespace
