#include "tools/Script.h"
#include "tools/Transport.h"

#include <gtest/gtest.h>

#include <cmath>

using clihost::Script;
using Kind = clihost::ScriptEvent::Kind;

TEST(Script, ReadsEveryCommandInFrameOrder)
{
    Script script;
    std::string error;
    ASSERT_TRUE(Script::parse("# a groove\n"
                              "at 0.5s note 10 36 127   # kick\n"
                              "at 100 tempo 128.5\n"
                              "at 100 play\n"
                              "at 0 position 8\n"
                              "at 0 timesig 6 8\n"
                              "at 300 off 10 36\n"
                              "at 400 cc 1 7 64\n"
                              "at 500 midi F0 7D 01 F7\n"
                              "at 600 param 3 0.25\n"
                              "at 700 stop\n"
                              "\n"
                              "end 1s\n",
                              1000.0, script, error))
        << error;
    EXPECT_EQ(script.lengthFrames, 1000);
    ASSERT_EQ(script.events.size(), 10u);
    EXPECT_EQ(script.events[0].kind, Kind::position);
    EXPECT_EQ(script.events[1].kind, Kind::timeSignature);
    EXPECT_EQ(script.events[1].first, 6);
    EXPECT_EQ(script.events[2].kind, Kind::tempo); // equal frames keep their script order
    EXPECT_DOUBLE_EQ(script.events[2].value, 128.5);
    EXPECT_EQ(script.events[3].kind, Kind::play);
    EXPECT_EQ(script.events[4].bytes, (std::vector<uint8_t> { 0x89, 36, 0 }));
    EXPECT_EQ(script.events[5].bytes, (std::vector<uint8_t> { 0xB0, 7, 64 }));
    // Equal frames keep script order: the note (line 2) before the raw bytes.
    EXPECT_EQ(script.events[6].frame, 500);
    EXPECT_EQ(script.events[6].bytes, (std::vector<uint8_t> { 0x99, 36, 127 }));
    EXPECT_EQ(script.events[7].bytes, (std::vector<uint8_t> { 0xF0, 0x7D, 0x01, 0xF7 }));
    EXPECT_EQ(script.events[8].kind, Kind::parameter);
    EXPECT_EQ(script.events[8].first, 3);
    EXPECT_DOUBLE_EQ(script.events[8].value, 0.25);
    EXPECT_EQ(script.events[9].kind, Kind::stop);
}

TEST(Script, RefusesBadLinesNamingTheLine)
{
    for (const char* bad : { "at -5 play", "at 1x play", "at 10 note 0 36 100", "at 10 note 17 36 100",
                             "at 10 note 1 128 100", "at 10 note 1 36", "at 10 tempo 0", "at 10 tempo nan",
                             "at 10 tempo-in-block -3", "at 10 position inf", "at 10 midi", "at 10 midi 1FF", "at 10 midi zz", "at 10 param -1 0.5",
                             "at 10 param 1 1.5", "at 10 timesig 0 4", "at 10 play now", "at 10 jump",
                             "at 10 report-rounding -1", "at 10 report-tempo-jitter nan", "at 10 report-sample-position",
                             "at 10 report-sample-position frozen",
                             "play", "end", "end 5 6",
                             // Times past any frame, or past ten minutes.
                             "at 33333333333333333333333333333333330 note 10 36 10", "at 1e300s play",
                             "at 2999999999999999999999999999999999999.5s play", "at 26460001 play", "end 600.1s",
                             // Numbers past their type.
                             "at 10 note 1 36 4294967396", "at 10 param 2147483648 0.5", "at 10 tempo 1e999",
                             "at 10 timesig 4 -4294967292", "at 10 midi 100000000000000000090" })
    {
        Script script;
        std::string error;
        EXPECT_FALSE(Script::parse(std::string("at 0 play\n") + bad + "\n", 44100.0, script, error)) << bad;
        EXPECT_NE(error.find("line 2"), std::string::npos) << error;
        EXPECT_TRUE(script.events.empty()) << bad;
    }
}

TEST(Transport, AdvancesOnlyWhilePlaying)
{
    clihost::Transport transport(48000.0);
    transport.setTempo(120.0);
    transport.setTimeSignature(3, 4);
    auto info = transport.timeInfo();
    EXPECT_NE(info.flags & vst::kVstTransportChanged, 0);
    EXPECT_EQ(info.flags & vst::kVstTransportPlaying, 0);
    transport.advance(48000);
    EXPECT_DOUBLE_EQ(transport.timeInfo().ppqPos, 0.0);

    transport.play();
    transport.advance(48000 * 2); // two seconds at 120 bpm: four beats
    info = transport.timeInfo();
    EXPECT_DOUBLE_EQ(info.ppqPos, 4.0);
    EXPECT_DOUBLE_EQ(info.samplePos, 96000.0);
    EXPECT_DOUBLE_EQ(info.barStartPos, 3.0);
    EXPECT_EQ(info.timeSigNumerator, 3);
    EXPECT_EQ(info.flags & vst::kVstTransportChanged, 0);
    EXPECT_NE(info.flags & vst::kVstTransportPlaying, 0);

    transport.locate(16.0);
    info = transport.timeInfo();
    EXPECT_DOUBLE_EQ(info.samplePos, 16.0 * 0.5 * 48000.0);
    EXPECT_NE(info.flags & vst::kVstTransportChanged, 0);
    transport.stop();
    transport.advance(1000);
    EXPECT_DOUBLE_EQ(transport.timeInfo().ppqPos, 16.0);
}

TEST(Transport, TempoChangesInsideABlockMoveThePositionAtEachTempoAndShowInTheNextBlock)
{
    Script script;
    std::string error;
    ASSERT_TRUE(Script::parse("at 0 position -2\nat 300 tempo-in-block 90\n", 1000.0, script, error)) << error;
    EXPECT_DOUBLE_EQ(script.events[0].value, -2.0); // a count-in
    EXPECT_EQ(script.events[1].kind, Kind::tempoInBlock);

    clihost::Transport transport(48000.0);
    transport.setTempo(120.0);
    transport.locate(-2.0);
    transport.play();
    EXPECT_DOUBLE_EQ(transport.timeInfo().samplePos, -48000.0);
    transport.advance(24000); // one beat at 120 bpm
    transport.advance(48000, { { 12000, 60.0 }, { 36000, 240.0 } }); // half a beat at each tempo, then a whole one
    const auto info = transport.timeInfo();
    EXPECT_DOUBLE_EQ(info.ppqPos, 1.0);
    EXPECT_DOUBLE_EQ(info.tempo, 240.0);
    EXPECT_NE(info.flags & vst::kVstTransportChanged, 0);
}

TEST(Transport, ReportsItsPositionRoundedItsTempoJitteredOrItsSamplePositionHeldWhenTheScriptSaysSo)
{
    Script script;
    std::string error;
    ASSERT_TRUE(Script::parse("at 0 report-rounding 1920\nat 0 report-tempo-jitter 1e-6\n"
                              "at 0 report-sample-position held\nat 5 report-sample-position moving\n",
                              1000.0, script, error))
        << error;
    ASSERT_EQ(script.events.size(), 4u);
    EXPECT_EQ(script.events[0].kind, Kind::reportRounding);
    EXPECT_DOUBLE_EQ(script.events[0].value, 1920.0);
    EXPECT_EQ(script.events[1].kind, Kind::reportTempoJitter);
    EXPECT_EQ(script.events[2].first, 1);
    EXPECT_EQ(script.events[3].first, 0);

    clihost::Transport transport(48000.0);
    transport.setTempo(120.0);
    transport.play();
    transport.setReportRounding(1920.0);
    transport.setReportTempoJitter(1.0e-6);
    transport.holdReportedSamplePosition(true);
    transport.advance(1001); // 0.0417083 beats: 80.08 1/1920ths
    auto info = transport.timeInfo();
    EXPECT_DOUBLE_EQ(info.ppqPos, 80.0 / 1920.0);
    EXPECT_DOUBLE_EQ(info.samplePos, 0.0);
    const double firstTempo = info.tempo;
    transport.advance(1000);
    EXPECT_NEAR(std::abs(transport.timeInfo().tempo - firstTempo), 2.0e-6, 1.0e-12); // up, then down
    EXPECT_NEAR(std::abs(transport.timeInfo().tempo - 120.0), 1.0e-6, 1.0e-12);
    transport.holdReportedSamplePosition(false);
    EXPECT_DOUBLE_EQ(transport.timeInfo().samplePos, 2001.0);
}
