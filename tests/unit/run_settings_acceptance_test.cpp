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
        std::string stored;  // source|refdata|adi|call|start|end after the last showing
    } cases[] = {
        {"empty dates take the defaults, empty call accepted", {{true, src, "", ""}}, paths + "|19451116|20301231"},
        {"dates of 8 or more characters stored unchanged",
         {{true, src, "2012-01-01", "abcdefgh"}},
         paths + "|2012-01-01|abcdefgh"},
        {"four-character start date asks again",
         {{true, src, "2012", ""}, {true, src, "20120101", ""}},
         paths + "|20120101|20301231"},
        {"one- and seven-character end dates ask again",
         {{true, src, "", "1"}, {true, src, "", "2012123"}, {true, src, "", ""}},
         paths + "|19451116|20301231"},
        {"empty source asks again as often as OK is pressed",
         {{true, "", "", ""}, {true, "", "", ""}, {true, "", "", ""}, {true, src, "", ""}},
         paths + "|19451116|20301231"},
        {"cancel at the first showing", {{false, src, "", ""}}, "untouched|||||"},
        {"cancel after a refusal changes nothing", {{true, "", "2012", ""}, {false, src, "", ""}}, "untouched|||||"},
    };
    for (const auto& row : cases) {
        std::size_t shown = 0;
        auto makeDialog = [&]() -> std::unique_ptr<IRunSettingsDialog> {
            if (shown == row.showings.size()) return nullptr;  // one showing too many: counts as cancel
            return std::make_unique<ScriptedDialog>(row.showings[shown++]);
        };
        RunSettings s{"untouched", "", "", "", "", ""};
        const bool accepted = AskRunSettings(s, makeDialog);
        EXPECT_EQ(s.m_strSourcePath + "|" + s.m_strRefdataPath + "|" + s.m_strAdiPath + "|" + s.m_strOprCall + "|" +
                      s.m_strStartDate + "|" + s.m_strEndDate,
                  row.stored)
            << row.name;
        EXPECT_EQ(accepted, row.stored != "untouched|||||") << row.name;
        EXPECT_EQ(shown, row.showings.size()) << row.name;
    }
}

}  // namespace
