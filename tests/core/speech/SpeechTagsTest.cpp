#include "core/agent/AgentApi.h"
#include "core/speech/ModeId.h"
#include "core/speech/SpeechTags.h"

#include <gtest/gtest.h>

namespace agent::speech {
namespace {

TEST(EngineModeId, NamesEachEngineWhateverTheLetterCase) {
    EXPECT_EQ(engineForModeId(kEnglishModeId), EngineKind::English);
    EXPECT_EQ(engineForModeId(kJapaneseModeId), EngineKind::Japanese);
    EXPECT_EQ(engineForModeId("{ca141fd0-ac7f-11d1-97a3-006008273001}"), EngineKind::English);
    EXPECT_EQ(engineForModeId("{A778E060-A936-11D1-B17B-0020AFED142E}"), EngineKind::Japanese);
}

TEST(EngineModeId, AnythingElseRaisesAgentError) {
    for (const char* id :
         {"", "{CA141FD0-AC7F-11D1-97A3-006008273002}", "{CA141FD0AC7F11D197A3006008273001}",
          "{CA141FD0-AC7F-11D1-97A3-006008273001", "English", "{ZA141FD0-AC7F-11D1-97A3-006008273001}"})
        EXPECT_THROW(engineForModeId(id), AgentError) << id;
}

struct Example {
    const char* text;
    std::vector<SpeechPiece> spoken;
    const char* shown;
};

// Every text the drill hands over: the English and Japanese forms, balloon shown and hidden.
const Example kDrillTexts[] = {
    {R"(\Ctx="E-mail"\5)", {{"5", 0, "E-mail"}}, "5"},
    {R"(\Map="5"=""\)", {{"5", 0, ""}}, ""},
    {R"(\Spd=195\5)", {{"5", 195, ""}}, "5"},
    {R"(\Spd=195\\Map="5"=""\)", {{"5", 195, ""}}, ""},
    {R"(\Map="3 hundred 5"="305"\)", {{"3 hundred 5", 0, ""}}, "305"},
    {R"(\Map="3 hundred 5"=""\)", {{"3 hundred 5", 0, ""}}, ""},
    {R"(\Spd=195\305)", {{"305", 195, ""}}, "305"},
    {R"(\Spd=195\\Map="305"=""\)", {{"305", 195, ""}}, ""},
    {R"(\Map="3 hundred "="300"\)", {{"3 hundred ", 0, ""}}, "300"},
    {R"(\Map="3 hundred "=""\)", {{"3 hundred ", 0, ""}}, ""},
    {R"(\Spd=195\300)", {{"300", 195, ""}}, "300"},
    {R"(\Spd=195\\Map="300"=""\)", {{"300", 195, ""}}, ""},
    {R"(\Ctx="E-mail"\1,000,000)", {{"1,000,000", 0, "E-mail"}}, "1,000,000"},
    {R"(\Map="1,000,000"=""\)", {{"1,000,000", 0, ""}}, ""},
    {R"(\Spd=195\1,000,000)", {{"1,000,000", 195, ""}}, "1,000,000"},
    {R"(\Spd=195\\Map="1,000,000"=""\)", {{"1,000,000", 195, ""}}, ""},
    {R"(\Ctx="E-mail"\12,345,678,901,234)", {{"12,345,678,901,234", 0, "E-mail"}}, "12,345,678,901,234"},
    {R"(\Map="12,345,678,901,234"=""\)", {{"12,345,678,901,234", 0, ""}}, ""},
    {R"(\Spd=195\12,345,678,901,234)", {{"12,345,678,901,234", 195, ""}}, "12,345,678,901,234"},
    {R"(\Spd=195\\Map="12,345,678,901,234"=""\)", {{"12,345,678,901,234", 195, ""}}, ""},
    {R"(\Map="3 hundred 10"="310"\)", {{"3 hundred 10", 0, ""}}, "310"},
};

TEST(SpeechTags, DrillTextsGiveTheEngineAndTheBalloonTheirParts) {
    for (const auto& ex : kDrillTexts) {
        const TaggedText t = parseTaggedText(ex.text);
        EXPECT_EQ(t.pieces, ex.spoken) << ex.text;
        EXPECT_EQ(t.shown, ex.shown) << ex.text;
    }
}

TEST(SpeechTags, PlainTextIsSpokenAndShown) {
    const TaggedText t = parseTaggedText("12,345");
    EXPECT_EQ(t.pieces, (std::vector<SpeechPiece>{{"12,345", 0, ""}}));
    EXPECT_EQ(t.shown, "12,345");
}

TEST(SpeechTags, SettingsApplyToTheTextAfterThemOnly) {
    const TaggedText t = parseTaggedText(R"(1\Spd=195\2\Map="3"="x"\\Ctx="E-mail"\4\spd=100\5)");
    EXPECT_EQ(t.pieces, (std::vector<SpeechPiece>{
                            {"1", 0, ""}, {"23", 195, ""}, {"4", 195, "E-mail"}, {"5", 100, "E-mail"}}));
    EXPECT_EQ(t.shown, "12x45");
    EXPECT_EQ(t.spokenText(), "12345");
}

TEST(SpeechTags, BrokenOrUnknownTagsAreDroppedWholeAndNeverSpoken) {
    const struct {
        const char* text;
        const char* spoken;
        const char* shown;
    } cases[] = {
        {R"(\Vol=50\7)", "7", "7"},
        {R"(7\Map="5"="x")", "7", "7"},       // map never closed
        {R"(\Map="5"\8)", "8", "8"},          // map without a balloon text
        {R"(\Map="5"="6"="7"\8)", "8", "8"},  // too many parts
        {R"(\Ctx="E-mail\5)", "", ""},        // quote never closed
        {R"(\Spd=fast\9)", "9", "9"},
        {R"(\Spd=\9)", "9", "9"},
        {R"(9\)", "9", "9"},
        {R"(\\9)", "9", "9"},
        {R"(\Map="a\b"="c\d"\)", "a\\b", "c\\d"},  // a backslash inside quotes belongs to the text
        {R"(\Map=x"y"\1)", "1", "1"},
    };
    for (const auto& c : cases) {
        const TaggedText t = parseTaggedText(c.text);
        EXPECT_EQ(t.spokenText(), c.spoken) << c.text;
        EXPECT_EQ(t.shown, c.shown) << c.text;
    }
}

TEST(SpeechTags, SpeedIsKeptWithinBounds) {
    EXPECT_EQ(parseTaggedText(R"(\Spd=0\1)").pieces.at(0).speedWpm, 1);
    EXPECT_EQ(parseTaggedText(R"(\Spd=99999\1)").pieces.at(0).speedWpm, 1000);
    EXPECT_EQ(parseTaggedText(R"(\Spd=9999999\1)").pieces.at(0).speedWpm, 0);  // not a number we accept
}

}  // namespace
}  // namespace agent::speech
