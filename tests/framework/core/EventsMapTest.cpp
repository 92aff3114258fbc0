#include "framework/core/EventsMap.h"

#include <gtest/gtest.h>

namespace
{
void load (EventsMap& events, const char* text)
{
    auto root = juce::parseXML (juce::String (text));
    ASSERT_NE (root, nullptr);
    events.loadFromXml (*root);
}
} // namespace

TEST (EventsMap, LoadingRulesAndLookUps)
{
    EventsMap events;
    events.addEvent (1, "Old");
    load (events, R"(<Events><event uid="1" name="A"/></Events>)");
    EXPECT_EQ (events.getNumEvents(), 0) << "another root leaves it empty";

    load (events, R"(<eventsmap application="Pulsetta">
        <event uid="3" name="Three"/>
        <event uid="3" name="Drei"/>
        <event uid="4" name="Three"/>
        <event name="No Uid"/>
        <event name="Also No Uid"/>
        <event uid="5"/>
        <event uid="6"/>
        <EVENT uid="55" name="Select Accent"/>
        <other uid="8" name="Other"/>
    </eventsmap>)");

    // Repeated uids and names keep the first; an absent uid is 0, an absent name "".
    EXPECT_EQ (events.getName (3), juce::String ("Three"));
    EXPECT_EQ (events.getUid ("Drei"), -1);
    EXPECT_EQ (events.getName (4), juce::String());
    EXPECT_EQ (events.getName (0), juce::String ("No Uid"));
    EXPECT_EQ (events.getUid ("Also No Uid"), -1);
    EXPECT_EQ (events.getUid (""), 5);
    EXPECT_EQ (events.getName (6), juce::String());
    EXPECT_EQ (events.getUid ("Select Accent"), 55);
    EXPECT_EQ (events.getUid ("select accent"), -1) << "names are exact";
    EXPECT_EQ (events.getDisplayName (55), juce::String ("Select accent"));
    EXPECT_EQ (events.getDisplayName (56), juce::String());
    EXPECT_EQ (events.getNumEvents(), 4) << "look-ups insert nothing";

    EXPECT_TRUE (events.addEvent (1000, "Options"));
    EXPECT_FALSE (events.addEvent (1000, "About"));
    EXPECT_EQ (events.getName (1000), juce::String ("Options"));
    events.loadFromResource ("nothing-here.xml"); // missing: nothing happens
    EXPECT_EQ (events.getNumEvents(), 5);
}
