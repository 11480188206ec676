// The command line as the user types it: every row of the shared table through the real program,
// in the run's language: the one box of its failure, or the window.
#include "e2e_support.h"

#include "command_line_cases.h"

#include <gtest/gtest.h>

#include <string>

namespace sevrane::e2e {
namespace {

void ExpectEveryCommandLineCase() {
    const RECT area = WorkArea();
    for (const test::CommandLineCase& c : test::CommandLineCases(area.right - area.left)) {
        Arguments arguments;
        for (const std::u16string& argument : c.arguments) {
            arguments.push_back(ToWide(argument));
        }
        SCOPED_TRACE(testing::PrintToString(arguments));
        const RunOutcome outcome = RunToEnd(arguments);
        if (c.failure) {
            ExpectSingleBox(outcome, ToWide(FailureText(*c.failure, RunLanguage())));
        } else {
            EXPECT_TRUE(outcome.boxes.empty())
                << (outcome.boxes.empty() ? std::wstring() : outcome.boxes[0].text);
            EXPECT_TRUE(outcome.windowShown);
            EXPECT_EQ(outcome.exitCode, 0u);
        }
    }
}

SEVRANE_TEST_IN_BOTH_LANGUAGES(CommandLine, EveryCaseShowsItsFailureOrTheWindow,
                               ExpectEveryCommandLineCase())

} // namespace
} // namespace sevrane::e2e
