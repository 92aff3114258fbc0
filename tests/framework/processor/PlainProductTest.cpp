// A product directly on the processor base, without the preset bank: the
// base's own settings sections and the preset author update.
#include "ProcessorTestSupport.h"

#include "framework/core/FloatParameter.h"
#include "framework/presets/XmlFiles.h"

namespace
{
class PlainProduct : public BasePlugin
{
public:
    PlainProduct()
        : BasePlugin (BusesProperties().withOutput ("Output", juce::AudioChannelSet::stereo()))
    {
        getParameterManager().addParameter (std::make_unique<FloatParameter> (200, "Quality", 0.0f, 1.0f, 0.5f));
        getParameterManager().addParameter (std::make_unique<FloatParameter> (201, "Default Quality", 0.0f, 1.0f, 0.5f));
    }

    juce::String getPluginName() const override { return "Plain"; }
    int getRealtimeQualityParameterId() const override { return 200; }
    int getDefaultRealtimeQualityParameterId() const override { return 201; }
    void userSettingsLoaded() override { ++settingsLoaded; }

    int settingsLoaded = 0;
};

using PlainProductTest = ProcessorTest;

std::unique_ptr<PlainProduct> makePlain()
{
    return std::unique_ptr<PlainProduct> (static_cast<PlainProduct*> (BasePlugin::startUp (std::make_unique<PlainProduct>())));
}

TEST_F (PlainProductTest, BaseSettingsRoundTrip)
{
    const auto mapFile = folder.getChildFile ("slots.xxhpmap");

    {
        auto product = makePlain();
        product->setAuthorName ("Someone");
        product->setHostParametersMapFile (true, mapFile);
        product->getParameterManager().setNormalised (201, 0.875f);
        ASSERT_TRUE (product->saveUserSettings());
    }

    auto product = makePlain();
    EXPECT_EQ (product->getAuthorName(), "Someone");
    EXPECT_TRUE (product->isHostParametersMapFileUsed());
    EXPECT_EQ (product->getHostParametersMapFile(), mapFile);
    EXPECT_FLOAT_EQ (product->getParameterManager().getNormalised (201), 0.875f);
    EXPECT_FLOAT_EQ (product->getParameterManager().getNormalised (200), 0.875f); // the default quality is copied
    EXPECT_EQ (product->settingsLoaded, 1);
}

TEST_F (PlainProductTest, ForeignSettingsAreIgnoredButTheQualityCopyStillHappens)
{
    const auto file = folder.getChildFile ("Kyxworks/Plain/Plain.ini");
    file.create();
    file.replaceWithText ("<UserSettings application=\"Pulsetta\"><Presets><Author name=\"Intruder\"/></Presets></UserSettings>");

    auto product = makePlain();
    EXPECT_EQ (product->getAuthorName(), "");
    EXPECT_EQ (product->settingsLoaded, 1);
    EXPECT_EQ (product->getNumParameters(), 128);
    EXPECT_EQ (product->getParameterName (127), "Parameter 128");
}

TEST_F (PlainProductTest, TheAuthorUpdateTouchesOnlyTheUsersOwnPresets)
{
    auto product = makePlain();
    product->setAuthorName ("Me");

    const auto own = folder.getChildFile ("own.xxprs");
    own.replaceWithText ("<Preset name=\"a\" author=\"Me\"><param name=\"Ride Tune\" value=\"0.2\"/></Preset>");
    const auto factory = folder.getChildFile ("factory.xxprs");
    const juce::String factoryText ("<Preset name=\"b\" id=\"F-1\" author=\"Maker\"/>");
    factory.replaceWithText (factoryText);

    using Update = BasePlugin::AuthorUpdate;
    EXPECT_EQ (product->updatePresetFileAuthor (own), Update::rewritten);
    EXPECT_EQ (product->updatePresetFileAuthor (factory), Update::leftAlone);
    for (auto& nothing : { folder, juce::File(), folder.getChildFile ("missing.xxprs") })
        EXPECT_EQ (product->updatePresetFileAuthor (nothing), Update::failed);

    EXPECT_EQ (xmlfiles::readDocument (own)->getStringAttribute ("author"), "Me");
    EXPECT_EQ (xmlfiles::readDocument (own)->getNumChildElements(), 1);
    EXPECT_EQ (factory.loadFileAsString(), factoryText);

    product->setAuthorName ({});
    product->updatePresetFileAuthor (own);
    EXPECT_FALSE (xmlfiles::readDocument (own)->hasAttribute ("author"));

    const auto notAPreset = folder.getChildFile ("pattern.xxprs");
    notAPreset.replaceWithText ("<Pattern/>");
    EXPECT_EQ (product->updatePresetFileAuthor (notAPreset), Update::failed);
    EXPECT_EQ (notAPreset.loadFileAsString(), "<Pattern/>");
}
} // namespace
