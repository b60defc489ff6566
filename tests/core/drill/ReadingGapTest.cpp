#include "SequencerRig.h"

#include <gtest/gtest.h>

namespace drill {
namespace {

const std::string kWiden = "秒　日英の読上げ間隔を秒　広げる";
const std::string kShorten = "秒　日英の読上げ間隔を秒　縮める";

TEST(ReadingGapCaption, SecondsWithoutTrailingZeros) {
    EXPECT_EQ(ReadingGapCaption(0), "0" + kWiden);
    EXPECT_EQ(ReadingGapCaption(200), "0.2" + kWiden);
    EXPECT_EQ(ReadingGapCaption(1000), "1" + kWiden);
    EXPECT_EQ(ReadingGapCaption(1400), "1.4" + kWiden);
    EXPECT_EQ(ReadingGapCaption(10000), "10" + kWiden);
    EXPECT_EQ(ReadingGapCaption(-200), "0.2" + kShorten);
    EXPECT_EQ(ReadingGapCaption(-2000), "2" + kShorten);
    EXPECT_EQ(ReadingGapCaption(1250), "1.25" + kWiden);
    EXPECT_EQ(ReadingGapCaption(5), "0.005" + kWiden);
}

TEST(ReadingGap, FiftyUpsReachTheTopAndTenDownsFromZeroTheBottom) {
    rig::Rig r;
    for (int i = 1; i <= 50; ++i) {
        r.sequencer.UpDown1_UpClick();
        ASSERT_EQ(r.state.ReadingGap, 200 * i);
        ASSERT_EQ(r.host.command3.back(), ReadingGapCaption(static_cast<int16_t>(200 * i)));
    }
    EXPECT_EQ(r.host.command3[0], "0.2" + kWiden);
    EXPECT_EQ(r.host.command3[4], "1" + kWiden);
    EXPECT_EQ(r.host.command3[6], "1.4" + kWiden);
    EXPECT_EQ(r.host.command3.back(), "10" + kWiden);

    r.sequencer.UpDown1_UpClick();
    EXPECT_EQ(r.state.ReadingGap, 10000);
    EXPECT_EQ(r.host.command3.size(), 50u);

    for (int i = 0; i < 50; ++i) r.sequencer.UpDown1_DownClick();
    EXPECT_EQ(r.state.ReadingGap, 0);
    EXPECT_EQ(r.host.command3.back(), "0" + kWiden);
    r.sequencer.UpDown1_DownClick();
    EXPECT_EQ(r.host.command3.back(), "0.2" + kShorten);
    for (int i = 0; i < 9; ++i) r.sequencer.UpDown1_DownClick();
    EXPECT_EQ(r.state.ReadingGap, -2000);
    EXPECT_EQ(r.host.command3.back(), "2" + kShorten);
    const size_t captions = r.host.command3.size();
    r.sequencer.UpDown1_DownClick();
    EXPECT_EQ(r.state.ReadingGap, -2000);
    EXPECT_EQ(r.host.command3.size(), captions);
    r.sequencer.UpDown1_UpClick();
    EXPECT_EQ(r.host.command3.back(), "1.8" + kShorten);
}

TEST(ReadingGap, StepIsReadFromTheIncrementAtEachClick) {
    rig::Rig r;
    r.sequencer.UpDown1_UpClick();
    r.host.increment = 500;
    r.sequencer.UpDown1_UpClick();
    EXPECT_EQ(r.state.ReadingGap, 700);
    r.state.ReadingGap = 9800;
    r.host.increment = 30000;  // a step past the 16-bit range saturates instead of wrapping
    r.sequencer.UpDown1_UpClick();
    EXPECT_EQ(r.state.ReadingGap, 32767);
    r.sequencer.UpDown1_UpClick();
    EXPECT_EQ(r.state.ReadingGap, 32767);
}

TEST(ReadingGap, ChangesWhileNoDrillRunsStartNoTimer) {
    rig::Rig r;
    r.sequencer.UpDown1_UpClick();
    r.sequencer.UpDown1_DownClick();
    EXPECT_EQ(r.ArmedTimers(), 0);
}

}  // namespace
}  // namespace drill
