#include "ProcessorTestSupport.h"

#include "framework/presets/XmlFiles.h"

namespace
{
using HostMap = ProcessorTest;

Parameter* parameterNamed (BasePlugin& product, const juce::String& name)
{
    return product.getParameterManager().getParameterByName (name);
}

TEST_F (HostMap, RebindingFreesTheOldSlotAndBadSlotsChangeNothing)
{
    auto product = makeProduct();
    auto& map = product->getHostParameterMap();
    auto* level = map.getParameter (0);
    auto* decay = parameterNamed (*product, "Bass Drum Decay");

    product->assignHostParameter (3, decay);
    product->assignHostParameter (7, decay);
    EXPECT_EQ (map.getParameter (7), decay);
    EXPECT_EQ (map.getParameter (3), nullptr);
    EXPECT_EQ (map.getParameter (15), nullptr);

    // Not automatable, or a bad slot: the parameter keeps the slot it has.
    product->assignHostParameter (0, parameterNamed (*product, "Bass Drum Output Number"));
    product->assignHostParameter (-1, level);
    product->assignHostParameter (84, level);
    product->unassignHostParameter (-1);
    EXPECT_EQ (map.getParameter (0), level);
    EXPECT_EQ (map.getParameter (-1), nullptr);
}

TEST_F (HostMap, ADocumentBindsOnlyWhatItValidlyNames)
{
    auto product = makeProduct();
    auto& map = product->getHostParameterMap();

    const auto document = juce::XmlDocument::parse (
        "<HOSTPARAMETERSMAP name=\"pulsetta\">"
        "<assign hostParam=\"1\" pluginParam=\"Ride Decay\"/>"
        "<assign hostParam=\"0\" pluginParam=\"Ride Tune\"/>"
        "<assign pluginParam=\"Crash Tune\"/>"
        "<assign hostParam=\"85\" pluginParam=\"Crash Decay\"/>"
        "<assign hostParam=\"-4\" pluginParam=\"Crash Decay\"/>"
        "<assign hostParam=\"2147483648\" pluginParam=\"Crash Decay\"/>"
        "<assign hostParam=\"-2147483648\" pluginParam=\"Crash Decay\"/>"
        "<assign hostParam=\"2\" pluginParam=\"No Such Knob\"/>"
        "<Assign hostParam=\"3\" pluginParam=\"Main Volume\"/>"
        "</HOSTPARAMETERSMAP>");

    ASSERT_TRUE (product->applyHostParametersMap (document.get()));
    EXPECT_EQ (map.getParameter (0), parameterNamed (*product, "Ride Decay"));
    EXPECT_EQ (map.getParameter (1), nullptr);
    EXPECT_EQ (map.getParameter (2), parameterNamed (*product, "Main Volume"));
    EXPECT_EQ (map.getSlotOf (parameterNamed (*product, "Ride Tune")), -1);
    EXPECT_EQ (map.getSlotOf (parameterNamed (*product, "Crash Decay")), -1);

    for (int slot = 3; slot < 84; ++slot)
        EXPECT_EQ (map.getParameter (slot), nullptr) << slot;
}

TEST_F (HostMap, SavedMapsLoadBackAndForeignOrBrokenOnesAreRefused)
{
    auto product = makeProduct();
    auto& map = product->getHostParameterMap();
    product->clearHostParameters();
    product->assignHostParameter (0, parameterNamed (*product, "Ride Decay"));
    product->assignHostParameter (10, parameterNamed (*product, "Snare Drum Snappy"));

    const auto file = folder.getChildFile ("map" + HostParameterMap::getFileExtension (product->getResourcePrefix()));
    EXPECT_EQ (file.getFileExtension(), ".xrhpmap");
    ASSERT_TRUE (product->saveHostParametersMapFile (file));

    auto other = makeProduct();
    ASSERT_TRUE (other->loadHostParametersMapFile (file));
    auto& otherMap = other->getHostParameterMap();
    EXPECT_EQ (otherMap.getParameter (0)->getName(), "Ride Decay");
    EXPECT_EQ (otherMap.getParameter (10)->getName(), "Snare Drum Snappy");
    EXPECT_EQ (otherMap.getParameter (1), nullptr); // not index-bound after loading

    const auto foreign = folder.getChildFile ("foreign.xrhpmap");
    foreign.replaceWithText ("<HostParametersMap name=\"Other\"><assign hostParam=\"1\" pluginParam=\"Ride Tune\"/></HostParametersMap>");

    const auto broken = folder.getChildFile ("broken.xrhpmap");
    broken.replaceWithText ("<HostParametersMap name=\"Pulsetta\"><assign");
    for (auto& bad : { foreign, broken, folder.getChildFile ("missing.xrhpmap") })
        EXPECT_FALSE (other->loadHostParametersMapFile (bad)) << bad.getFileName();

    EXPECT_EQ (otherMap.getParameter (0)->getName(), "Ride Decay");
    EXPECT_EQ (map.getParameter (10)->getName(), "Snare Drum Snappy");
}
} // namespace
