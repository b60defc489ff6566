#include "core/speech/LipSync.h"
#include "core/speech/Resampler.h"
#include "core/speech/Wav.h"

#include <gtest/gtest.h>

#include <cmath>

namespace agent::speech {
namespace {

std::string wavBytes(int rate, int channels, const std::vector<int16_t>& interleaved, uint32_t declared) {
    auto u32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    auto u16 = [](uint16_t v) { return std::string{char(v), char(v >> 8)}; };
    std::string b = "RIFF" + u32(36 + declared) + "WAVE" + "LIST" + u32(2) + "ab";
    b += "fmt " + u32(16) + u16(1) + u16(uint16_t(channels)) + u32(uint32_t(rate)) +
         u32(uint32_t(rate * 2 * channels)) + u16(uint16_t(2 * channels)) + u16(16);
    b += "data" + u32(declared);
    b.append(reinterpret_cast<const char*>(interleaved.data()), interleaved.size() * 2);
    return b;
}

TEST(Wav, ReadsMonoAndAveragesStereoSkippingOtherChunks) {
    auto mono = parseWav(wavBytes(48000, 1, {1, -2, 300}, 6));
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->sampleRate, 48000);
    EXPECT_EQ(mono->samples, (std::vector<int16_t>{1, -2, 300}));
    auto stereo = parseWav(wavBytes(22050, 2, {100, 300, -10, -20}, 8));
    ASSERT_TRUE(stereo);
    EXPECT_EQ(stereo->samples, (std::vector<int16_t>{200, -15}));
}

TEST(Wav, TruncatedDataGivesWhatIsThereAndGarbageGivesNothing) {
    auto cut = parseWav(wavBytes(16000, 1, {7, 8}, 1000));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->samples.size(), 2u);
    EXPECT_FALSE(parseWav("hello"));
    EXPECT_FALSE(parseWav(""));
    EXPECT_FALSE(parseWav("RIFF\x04\0\0\0WAVE"));
}

TEST(Wav, LeadingSilenceIsCutToTheKeptLeadIn) {
    std::vector<int16_t> pcm(1000, 10);  // 1 s of near-silence at 1 kHz
    pcm.resize(1500, 4000);
    EXPECT_EQ(leadingSilenceEnd(pcm.data(), pcm.size(), 1000, 30), 970u);
    EXPECT_EQ(leadingSilenceEnd(pcm.data() + 990, 510, 1000, 30), 0u);  // less silence than the lead-in
    EXPECT_EQ(leadingSilenceEnd(pcm.data(), 1000, 1000, 30), 0u);       // nothing audible: keep it all
    pcm[0] = -4000;                                                     // loud from the first sample
    EXPECT_EQ(leadingSilenceEnd(pcm.data(), pcm.size(), 1000, 30), 0u);
}

TEST(Resampler, ChunkedConversionMatchesOneGoAndKeepsTheDuration) {
    std::vector<int16_t> in(22050);
    for (size_t i = 0; i < in.size(); ++i) in[i] = int16_t(10000 * std::sin(i * 0.05));
    Resampler whole, chunked;
    whole.reset(22050, 48000);
    chunked.reset(22050, 48000);
    const std::vector<float> one = whole.process(in.data(), in.size());
    std::vector<float> parts;
    for (size_t at = 0; at < in.size(); at += 441) {
        auto p = chunked.process(in.data() + at, std::min<size_t>(441, in.size() - at));
        parts.insert(parts.end(), p.begin(), p.end());
    }
    ASSERT_EQ(one.size(), parts.size());
    for (size_t i = 0; i < one.size(); ++i) ASSERT_FLOAT_EQ(one[i], parts[i]) << i;
    EXPECT_NEAR(double(one.size()), 48000.0, 3.0);
    EXPECT_NEAR(one[480], 10000 * std::sin(220.5 * 0.05) / 32768.0, 0.01);  // 10 ms in
}

TEST(MouthEnvelope, OpensWithLoudnessAndShutsInSilenceAndAfterTheEnd) {
    const int rate = 16000;
    std::vector<int16_t> pcm(rate / 10, 0);                                                  // 100 ms silence
    for (int i = 0; i < rate / 10; ++i) pcm.push_back(int16_t(2000 * std::sin(i * 0.08)));   // quiet
    for (int i = 0; i < rate / 10; ++i) pcm.push_back(int16_t(20000 * std::sin(i * 0.08)));  // loud
    MouthEnvelope env(rate);
    env.append(pcm.data(), 1000);  // fed in uneven pieces, as the engines deliver
    env.append(pcm.data() + 1000, pcm.size() - 1000);
    EXPECT_EQ(env.durationUs(), 300000);
    EXPECT_EQ(env.openingAt(50000), 0);
    EXPECT_EQ(env.openingAt(150000), 1);
    EXPECT_EQ(env.openingAt(250000), 3);
    EXPECT_EQ(env.openingAt(300000), 0);
    EXPECT_EQ(env.openingAt(-1), 0);
}

}  // namespace
}  // namespace agent::speech
