// Which SAPI voice reads which language, from the tokens' own Language attribute, and the rate a
// \Spd=\ tag becomes.

#include "core/agent/AgentApi.h"
#include "win32/agent/VoiceChoice.h"

#include <gtest/gtest.h>

using win32::agent::chooseVoice;
using win32::agent::languageOfModeId;
using win32::agent::listsLanguage;
using win32::agent::sapiRateForSpeed;
using win32::agent::VoiceToken;

TEST(VoiceChoiceTest, ModeIdsNameTheirLanguagesInAnyCase) {
    EXPECT_EQ(languageOfModeId(agent::kEnglishModeId), 0x409u);
    EXPECT_EQ(languageOfModeId(agent::kJapaneseModeId), 0x411u);
    EXPECT_EQ(languageOfModeId("{A778E060-A936-11D1-B17B-0020AFED142E}"), 0x411u);
    EXPECT_FALSE(languageOfModeId("{00000000-0000-0000-0000-000000000000}"));
}

TEST(VoiceChoiceTest, LanguageAttributeListsAreParsedWhole) {
    struct Case {
        const char* attribute;
        unsigned lang;
        bool listed;
    };
    for (const Case& c :
         {Case{"409", 0x409, true}, Case{"409;9", 0x409, true}, Case{" 411 ; 11", 0x411, true},
          Case{"9;409", 0x409, true}, Case{"4091", 0x409, false}, Case{"1409", 0x409, false},
          Case{"411", 0x409, false}, Case{"", 0x409, false}, Case{";;", 0x409, false},
          Case{"zz;409", 0x409, true}, Case{"40g", 0x409, false}})
        EXPECT_EQ(listsLanguage(c.attribute, c.lang), c.listed) << '"' << c.attribute << '"';
}

TEST(VoiceChoiceTest, FirstTokenListingTheLanguageIsChosen) {
    const std::vector<VoiceToken> tokens = {{"A", "411"}, {"B", "809;9"}, {"C", "409;9"}, {"D", "409"}};
    EXPECT_EQ(chooseVoice(tokens, 0x409)->id, "C");
    EXPECT_EQ(chooseVoice(tokens, 0x411)->id, "A");
    EXPECT_FALSE(chooseVoice(tokens, 0x407));
    EXPECT_FALSE(chooseVoice({}, 0x409));
}

TEST(VoiceChoiceTest, SpeedTagsBecomeSapiRates) {
    EXPECT_EQ(sapiRateForSpeed(0), 0);  // no tag: the voice's own pace
    EXPECT_EQ(sapiRateForSpeed(180), 0);
    EXPECT_EQ(sapiRateForSpeed(195), 1);
    EXPECT_EQ(sapiRateForSpeed(540), 10);
    EXPECT_EQ(sapiRateForSpeed(60), -10);
    EXPECT_EQ(sapiRateForSpeed(100000), 10);
    EXPECT_EQ(sapiRateForSpeed(1), -10);
}
