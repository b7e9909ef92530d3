#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "settings/RunSettingsAcceptance.h"

namespace {

// One showing of the dialog as the operator ends it.
struct Showing {
    bool ok;
    std::string source;
    std::string start;
    std::string end;
    std::string oprCall = "PA3ABC";
};

class ScriptedDialog : public IRunSettingsDialog {
public:
    explicit ScriptedDialog(Showing showing) : m_showing(std::move(showing)) {}
    bool DoModal() override { return m_showing.ok; }
    RunSettings Values() const override {
        return {m_showing.source, "C:\\Qervel\\Refdata.mdb", "C:\\Qervel\\adiUpld2Morvask.adi",
                m_showing.oprCall, m_showing.start, m_showing.end};
    }

private:
    Showing m_showing;
};

struct AcceptanceCase {
    const char* name;
    std::vector<Showing> showings;
    bool accepted;
    std::string start;  // the stored dates when accepted
    std::string end;
};

class Acceptance : public testing::TestWithParam<AcceptanceCase> {};

TEST_P(Acceptance, ShowsTheDialogUntilUsableOrCancelled) {
    const AcceptanceCase& c = GetParam();
    std::size_t shown = 0;
    auto makeDialog = [&]() -> std::unique_ptr<IRunSettingsDialog> {
        if (shown >= c.showings.size()) {
            ADD_FAILURE() << "dialog shown again after showing " << shown;
            return std::make_unique<ScriptedDialog>(Showing{false, "", "", ""});
        }
        return std::make_unique<ScriptedDialog>(c.showings[shown++]);
    };
    const RunSettings untouched{"keep", "keep", "keep", "keep", "keep", "keep"};
    RunSettings settings = untouched;

    EXPECT_EQ(AskRunSettings(settings, makeDialog), c.accepted);
    EXPECT_EQ(shown, c.showings.size());
    const Showing& last = c.showings.back();
    const RunSettings expected = c.accepted
        ? RunSettings{last.source, "C:\\Qervel\\Refdata.mdb", "C:\\Qervel\\adiUpld2Morvask.adi", last.oprCall, c.start, c.end}
        : untouched;
    EXPECT_EQ(settings.m_strSourcePath, expected.m_strSourcePath);
    EXPECT_EQ(settings.m_strRefdataPath, expected.m_strRefdataPath);
    EXPECT_EQ(settings.m_strAdiPath, expected.m_strAdiPath);
    EXPECT_EQ(settings.m_strOprCall, expected.m_strOprCall);
    EXPECT_EQ(settings.m_strStartDate, expected.m_strStartDate);
    EXPECT_EQ(settings.m_strEndDate, expected.m_strEndDate);
}

const std::string kSource = "C:\\Qervel\\Data\\Qervel.mdb";

INSTANTIATE_TEST_SUITE_P(
    Rule, Acceptance,
    testing::Values(
        AcceptanceCase{"empty_dates_take_the_defaults", {{true, kSource, "", ""}}, true, "19451116", "20301231"},
        AcceptanceCase{"eight_digit_dates_kept", {{true, kSource, "20120101", "20121231"}}, true, "20120101", "20121231"},
        AcceptanceCase{"dates_that_are_no_dates_stored_unchanged", {{true, kSource, "2012-01-01", "abcdefgh"}}, true, "2012-01-01", "abcdefgh"},
        AcceptanceCase{"blank_padded_date_of_eight_kept_with_blank", {{true, kSource, "2012010 ", ""}}, true, "2012010 ", "20301231"},
        AcceptanceCase{"empty_call_sign_accepted", {{true, kSource, "", "", ""}}, true, "19451116", "20301231"},
        AcceptanceCase{"four_character_start_date_asks_again",
                       {{true, kSource, "2012", ""}, {true, kSource, "20120101", ""}}, true, "20120101", "20301231"},
        AcceptanceCase{"seven_character_end_date_asks_again",
                       {{true, kSource, "", "2012123"}, {true, kSource, "", ""}}, true, "19451116", "20301231"},
        AcceptanceCase{"one_character_date_asks_again", {{true, kSource, "1", ""}, {true, kSource, "", ""}}, true, "19451116", "20301231"},
        AcceptanceCase{"empty_source_asks_again_as_often_as_ok_is_pressed",
                       {{true, "", "", ""}, {true, "", "", ""}, {true, "", "", ""}, {true, "", "", ""}, {true, kSource, "", ""}},
                       true, "19451116", "20301231"},
        AcceptanceCase{"cancel_at_first_showing", {{false, kSource, "", ""}}, false, "", ""},
        AcceptanceCase{"cancel_after_a_refusal_changes_nothing", {{true, "", "2012", ""}, {false, kSource, "", ""}}, false, "", ""}),
    [](const testing::TestParamInfo<AcceptanceCase>& row) { return std::string(row.param.name); });

TEST(Acceptance, DialogThatCannotBeMadeCountsAsCancel) {
    RunSettings settings;
    EXPECT_FALSE(AskRunSettings(settings, [] { return std::unique_ptr<IRunSettingsDialog>(); }));
}

TEST(Acceptance, ProblemTextNamesTheValueAndWhy) {
    struct Row {
        RunSettings settings;
        std::string mustContain;
    };
    const Row rows[] = {
        {{"", "r", "a", "c", "", ""}, "source database path is empty"},
        {{"s", "r", "a", "c", "2012", ""}, "start date \"2012\""},
        {{"s", "r", "a", "c", "", "123"}, "end date \"123\""},
    };
    for (const Row& row : rows) {
        std::string problem = RunSettingsProblem(row.settings);
        EXPECT_NE(problem.find(row.mustContain), std::string::npos) << problem;
    }
    EXPECT_EQ(RunSettingsProblem({"s", "", "", "", "", ""}), "");
}

}  // namespace
