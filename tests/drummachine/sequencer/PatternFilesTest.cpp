#include <gtest/gtest.h>

#include "drummachine/sequencer/PatternXml.h"
#include "drummachine/sequencer/PulsettaSeq.h"
#include "SequencerTestSupport.h"

namespace
{
struct Files : ::testing::Test
{
    void SetUp() override
    {
        folder = juce::File::createTempFile ("sequencer-files");
        ASSERT_TRUE (folder.createDirectory());
    }
    void TearDown() override { folder.deleteRecursively(); }

    juce::File write (const juce::String& name, const juce::String& text) const
    {
        auto file = folder.getChildFile (name);
        EXPECT_TRUE (file.replaceWithText (text));
        return file;
    }

    juce::File folder;
    RecordingOwner owner;
    PulsettaSeq seq { owner, "Pulsetta", "XR" };
};
} // namespace

TEST (PatternXml, AttributesAreReadWithDefaultsAndClamps)
{
    const struct { const char* attributes; int length, scale; double shuffle, tempo, flam; } cases[] = {
        { "", 16, 4, 0.0, 120.0, 0.252 },
        { "application=\"X\" length=\"0\" scale=\"5\" tempo=\"29.96\" flam=\"0\"", 1, 4, 0.0, 30.0, 0.121 },
        { "application=\"X\" length=\"40\" scale=\"6\" shuffle=\"0.5\" tempo=\"301\" flam=\"1\"", 16, 6, 0.5, 300.0, 0.383 },
        { "shuffle=\"0.5\" stepsPerBeat=\"3\"", 16, 3, 0.4, 120.0, 0.252 },         // old file: 0..1 shuffle
        { "application=\"\" shuffle=\"1.2\" flam=\"2\"", 16, 4, 0.8, 120.0, 0.383 }, // presence alone counts
        { "scale=\"8\" stepsPerBeat=\"3\" tempo=\"120.05\"", 16, 8, 0.0, 120.1, 0.252 },
        { "shuffle=\"nan\" tempo=\"inf\" flam=\"-inf\" length=\"abc\"", 0, 4, 0.0, 300.0, 0.121 },
    };
    for (const auto& c : cases)
    {
        const auto pattern = PatternXml::read (*xml (juce::String ("<Pattern ") + c.attributes + "/>"));
        EXPECT_EQ (pattern.getLength(), c.length == 0 ? 1 : c.length) << c.attributes;
        EXPECT_EQ (pattern.getScale(), c.scale) << c.attributes;
        EXPECT_NEAR (pattern.getShuffle(), c.shuffle, 1e-12) << c.attributes;
        EXPECT_NEAR (pattern.getTempo(), c.tempo, 1e-9) << c.attributes;
        EXPECT_NEAR (pattern.getFlam(), c.flam, 1e-12) << c.attributes;
    }
}

TEST (PatternXml, StepCharactersAndTrackCodes)
{
    const auto pattern = PatternXml::read (*xml (juce::String::fromUTF8 (
        "<Pattern><bd>o.O.x.X.-?o</bd><Sd>oooooooooooooooooooo</Sd><ac>oXO.</ac>"
        "<Zz>oooo</Zz><RD>oooo</RD><RD>.O</RD><CH>\xc3\xa9o</CH>"
        "<MT>o.<!-- a comment between text nodes -->o<![CDATA[.O]]></MT></Pattern>")));
    EXPECT_EQ (rowText (pattern, 0), "1020303000100000");
    EXPECT_EQ (rowText (pattern, 1), "1111111111111111"); // only 16 characters are read
    EXPECT_EQ (rowText (pattern, 11), "2220000000000000"); // the accent row holds only 0 or 2
    EXPECT_EQ (rowText (pattern, 10), "0211000000000000"); // a later row overwrites the same steps
    EXPECT_EQ (rowText (pattern, 7), "0100000000000000"); // a two-byte character is one step
    EXPECT_EQ (rowText (pattern, 2), "0000000000000000");
    EXPECT_EQ (rowText (pattern, 3), "1010200000000000"); // a row of several text nodes is read whole

    const struct { const char* tag; bool accent; } accentNames[] = { { "AC", true }, { "ac", true }, { "TA", true }, { "ta", false }, { "Ta", false } };
    for (const auto& name : accentNames)
    {
        const auto read = PatternXml::read (*xml (juce::String ("<Pattern><") + name.tag + ">o</" + name.tag + "></Pattern>"));
        EXPECT_EQ (read.getStep (11, 0), name.accent ? 2 : 0) << name.tag;
    }
}

TEST (PatternXml, WritesEachTrackWithExactlyLengthCharacters)
{
    Pattern pattern;
    pattern.setName ("Twelve");
    pattern.setLength (12);
    pattern.setFlam (0.252);
    pattern.setStep (0, 0, 1);
    pattern.setStep (0, 3, 2);
    pattern.setStep (0, 6, 3);
    pattern.setStep (0, 13, 1); // beyond the length: not written
    pattern.setStep (11, 2, 2);
    const auto element = PatternXml::create (pattern, "Pulsetta");

    EXPECT_EQ (element->getStringAttribute ("application"), "Pulsetta");
    EXPECT_NEAR (element->getDoubleAttribute ("flam"), 0.5, 1e-12);
    ASSERT_EQ (element->getNumChildElements(), 12);
    const char* codes[] = { "BD", "SD", "LT", "MT", "HT", "RS", "HC", "CH", "OH", "CR", "RD", "AC" };
    for (int row = 0; row < 12; ++row)
    {
        EXPECT_EQ (element->getChildElement (row)->getTagName(), codes[row]);
        EXPECT_EQ (element->getChildElement (row)->getAllSubText().length(), 12);
    }
    EXPECT_EQ (element->getChildElement (0)->getAllSubText(), "o..O..X.....");
    EXPECT_EQ (element->getChildElement (11)->getAllSubText(), "..O.........");

    const auto attributes = asText (*element).upToFirstOccurrenceOf (">", false, false);
    EXPECT_EQ (attributes, "<Pattern application=\"Pulsetta\" name=\"Twelve\" length=\"12\" scale=\"4\" shuffle=\"0.0\" tempo=\"120.0\" flam=\"0.5\"");
}

TEST_F (Files, PatternFilesRoundTripAndAreByteStable)
{
    seq.setEditedPatternName ("Round trip");
    seq.setEditedPatternLength (5);
    seq.setEditedPatternScale (6);
    seq.setEditedPatternShuffle (0.3);
    seq.setEditedPatternTempo (97.5);
    seq.setEditedPatternFlam (0.2);
    seq.setStep (0, 0, 1);
    seq.setStep (1, 4, 3);
    seq.setStep (11, 2, 2);
    const Pattern original = seq.getEditedPattern();

    const auto first = folder.getChildFile ("first" + seq.getPatternFileExtension());
    ASSERT_TRUE (seq.createPatternXml (0, 2)->writeTo (first));

    seq.editNextPattern();
    ASSERT_TRUE (seq.loadPatternFile (first));
    EXPECT_EQ (seq.getEditedPattern(), original);

    const auto second = folder.getChildFile ("second.xrptr");
    ASSERT_TRUE (seq.createPatternXml (1, 2)->writeTo (second));
    EXPECT_EQ (first.loadFileAsString(), second.loadFileAsString());
}

TEST_F (Files, BankFilesRoundTripAndAreByteStable)
{
    for (int index = 0; index < 96; ++index)
    {
        Pattern pattern;
        pattern.setName ("P" + juce::String (index));
        pattern.setLength (1 + index % 16);
        pattern.setScale (index % 2 == 0 ? 4 : 3);
        pattern.setTempo (60.0 + index);
        pattern.setStep (index % 12, index % 16, 1 + index % 3);
        ASSERT_TRUE (seq.storePattern (index, pattern));
    }
    const auto first = folder.getChildFile ("bank" + seq.getBankFileExtension (2));
    ASSERT_TRUE (seq.createBankXml (2)->writeTo (first));

    RecordingOwner otherOwner;
    PulsettaSeq other (otherOwner, "Pulsetta", "XR");
    ASSERT_TRUE (other.loadBankFile (first));
    EXPECT_EQ (other.getEditedPattern().getName(), "P0");
    for (int index = 0; index < 96; ++index)
    {
        Pattern a, b;
        seq.copyPattern (index, a);
        other.copyPattern (index, b);
        EXPECT_EQ (a, b) << index;
    }

    const auto second = folder.getChildFile ("again.xrptrb");
    ASSERT_TRUE (other.createBankXml (2)->writeTo (second));
    EXPECT_EQ (first.loadFileAsString(), second.loadFileAsString());
}

TEST_F (Files, BankWalkSkipsForeignChildrenAndStopsAtNinetySix)
{
    juce::String text ("<PatternBank>");
    text << "<Pattern name=\"zero\"/><Pattern name=\"one\"/><Comment/><Pattern name=\"two\"/>";
    for (int i = 3; i < 100; ++i)
        text << "<pattern name=\"n" << i << "\"/>";
    text << "</PatternBank>";
    ASSERT_TRUE (seq.loadBankXml (*xml (text), 2));
    EXPECT_EQ (seq.getPatternName (2), "two");
    EXPECT_EQ (seq.getPatternName (95), "n95");
    EXPECT_EQ (owner.nestedRewrites, 0);
}

TEST_F (Files, BankTypesAndForeignRootsAreRefusedWithPatternsUnchanged)
{
    seq.setPatternName (0, "Mine", 2);
    const char* refused[] = {
        "<PresetBank><Pattern name=\"x\"/></PresetBank>",
        "<Pattern name=\"x\"/>",
    };
    for (const auto* text : refused)
    {
        EXPECT_FALSE (seq.loadBankXml (*xml (text), 2)) << text;
        EXPECT_EQ (seq.getPatternName (0), "Mine");
    }

    auto host = xml ("<patternbank type=\"hostPattern\"><Pattern name=\"h\"/></patternbank>");
    EXPECT_TRUE (seq.isBankXml (*host, 1));
    EXPECT_FALSE (seq.isBankXml (*host, 0));
    EXPECT_TRUE (seq.isBankXml (*host, 2));
    EXPECT_FALSE (seq.isBankXml (*host, 7));
    EXPECT_FALSE (seq.loadBankXml (*host, 0));
    EXPECT_FALSE (seq.loadBankXml (*host, -1));
    EXPECT_EQ (seq.getPatternName (0), "Mine");
}

TEST_F (Files, TruncatedGarbageOrMissingFilesChangeNothing)
{
    seq.setPatternName (0, "Mine", 2);
    seq.setStep (0, 0, 2);
    const Pattern before = seq.getEditedPattern();

    auto bankText = seq.createBankXml (2)->toString();
    const juce::File files[] = {
        write ("truncated.xrptrb", bankText.substring (0, bankText.length() / 2)),
        write ("garbage.xrptrb", "\x01\x02 not xml at all <<<>>>"),
        write ("empty.xrptrb", ""),
        write ("wrongroot.xrptrb", "<DrumMap ver=\"1.1\"/>"),
        folder.getChildFile ("missing.xrptrb"),
    };
    for (const auto& file : files)
    {
        seq.loadBankFile (file);
        seq.loadBankFileOfType (file, 2);
        seq.loadPatternFile (file);
        EXPECT_EQ (seq.getEditedPattern(), before) << file.getFileName();
    }
    EXPECT_FALSE (seq.loadBankText ("missing.xrptrb", 2));
}

TEST_F (Files, DefaultPatternsAreNamedBySlotWhenClearedOrTheUserFileIsMissing)
{
    seq.loadDefaultPatterns (DrumMachineSeq::PatternSource::clearPatterns, {});
    EXPECT_EQ (seq.getPatternName (0), "Pattern 1");
    EXPECT_EQ (seq.getPatternName (95), "Pattern 96");

    seq.loadDefaultPatterns (DrumMachineSeq::PatternSource::userDefinedPatterns, folder.getChildFile ("none.xrptrb"));
    EXPECT_EQ (seq.getPatternName (7), "Pattern 8");

    const auto user = write ("user.xrptrb", "<PatternBank><Pattern name=\"Mine\"/></PatternBank>");
    seq.loadDefaultPatterns (DrumMachineSeq::PatternSource::userDefinedPatterns, user);
    EXPECT_EQ (seq.getPatternName (0), "Mine");
    EXPECT_EQ (seq.getPatternName (1), "Pattern 2");
}
