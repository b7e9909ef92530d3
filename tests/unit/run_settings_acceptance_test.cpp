#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/RunSettingsAcceptance.h"

namespace {

// One showing of the dialog as the operator ends it: OK or not, source path, two dates.
struct Showing {
    bool ok;
    std::string source, start, end;
};

struct ScriptedDialog : IRunSettingsDialog {
    explicit ScriptedDialog(Showing scripted) : showing(std::move(scripted)) {}
    bool DoModal() override { return showing.ok; }
    RunSettings Values() const override {
        return {showing.source, "C:\\Q\\Refdata.mdb", "C:\\Q\\adiUpld2Morvask.adi", "", showing.start, showing.end};
    }
    Showing showing;
};

TEST(AskRunSettings, ShowsAFreshDialogUntilUsableOrCancelled) {
    const std::string src = "C:\\Q\\Qervel.mdb", paths = src + "|C:\\Q\\Refdata.mdb|C:\\Q\\adiUpld2Morvask.adi|";
    const struct {
        const char* name;
        std::vector<Showing> showings;
        std::string stored;                  // source|refdata|adi|call|start|end after the last showing
        std::vector<std::string> told = {};  // the start of what the operator is told after each refusal
    } cases[] = {
        {"empty dates take the defaults, empty call accepted", {{true, src, "", ""}}, paths + "|19451116|20301231"},
        {"dates of 8 or more characters stored unchanged",
         {{true, src, "2012-01-01", "abcdefgh"}},
         paths + "|2012-01-01|abcdefgh"},
        {"four-character start date asks again",
         {{true, src, "2012", ""}, {true, src, "20120101", ""}},
         paths + "|20120101|20301231",
         {"The Start Date \"2012\" is shorter than 8 characters."}},
        {"one- and seven-character end dates ask again",
         {{true, src, "", "1"}, {true, src, "", "2012123"}, {true, src, "", ""}},
         paths + "|19451116|20301231",
         {"The End Date \"1\" is shorter", "The End Date \"2012123\" is shorter"}},
        {"empty source asks again as often as OK is pressed",
         {{true, "", "", ""}, {true, "", "", ""}, {true, "", "", ""}, {true, src, "", ""}},
         paths + "|19451116|20301231",
         std::vector<std::string>(3, "The Qervel Source mdb file location is empty.")},
        {"cancel at the first showing", {{false, src, "", ""}}, "untouched|||||"},
        {"cancel after a refusal changes nothing; the source is named before the date",
         {{true, "", "2012", ""}, {false, src, "", ""}},
         "untouched|||||",
         {"The Qervel Source mdb file location is empty."}},
    };
    for (const auto& row : cases) {
        std::size_t shown = 0;
        auto makeDialog = [&]() -> std::unique_ptr<IRunSettingsDialog> {
            if (shown == row.showings.size()) return nullptr;  // one showing too many: counts as cancel
            return std::make_unique<ScriptedDialog>(row.showings[shown++]);
        };
        std::vector<std::string> told;
        auto tell = [&](const std::string& text) {
            // Told before the next showing, never after the last one.
            EXPECT_LT(shown, row.showings.size()) << row.name;
            told.push_back(text);
        };
        RunSettings s{"untouched", "", "", "", "", ""};
        const bool accepted = AskRunSettings(s, makeDialog, tell);
        EXPECT_EQ(s.m_strSourcePath + "|" + s.m_strRefdataPath + "|" + s.m_strAdiPath + "|" + s.m_strOprCall + "|" +
                      s.m_strStartDate + "|" + s.m_strEndDate,
                  row.stored)
            << row.name;
        EXPECT_EQ(accepted, row.stored != "untouched|||||") << row.name;
        EXPECT_EQ(shown, row.showings.size()) << row.name;
        ASSERT_EQ(told.size(), row.told.size()) << row.name;
        for (std::size_t i = 0; i < told.size(); ++i) EXPECT_TRUE(told[i].starts_with(row.told[i])) << told[i];
    }
}

}  // namespace
