// The driver's own foundations: argument quoting and the in-process probe. Every other test
// relies on them, so they are checked against the real platform first.
#include "driver/driver_win.h"

#include <gtest/gtest.h>

#include <string>

namespace sevrane::e2e {
namespace {

TEST(DriverQuoting, EveryArgumentSurvivesTheSplitUnchanged) {
    const Arguments hard = {
        L"",
        L"trail\\",
        L"a\"b",
        L"\\",
        L"plain",
        L"with space",
        L"\\\\server\\share\\",
        L"\"",
        L"\\\"",
        L"a\\\\\"b\\",
        L"tab\there",
        L"/r",
        L"日本語 テキスト",
        std::wstring(32000, L'x'),
    };
    const std::wstring program = L"C:\\dir with space\\sevrane.exe";
    // None at all leaves only the program.
    for (const Arguments& arguments : {hard, Arguments{}}) {
        const auto split = SplitCommandLine(BuildCommandLine(program, arguments));
        ASSERT_EQ(split.size(), arguments.size() + 1);
        EXPECT_EQ(split[0], program);
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            EXPECT_EQ(split[i + 1], arguments[i]) << "argument " << i;
        }
    }
}

TEST(DriverProbe, ReadsInsideTheProgramsProcess) {
    // The usage box is there from the start; the probe must answer from inside the program,
    // where the message font is known and the box has no icon.
    const Process process = Launch({L"/?"});
    ASSERT_TRUE(process);
    HWND box = WaitForBox(process);
    ASSERT_NE(box, nullptr);
    const auto report = Probe(process.ThreadId(), box);
    ASSERT_TRUE(report.has_value()) << "the hook DLL did not answer inside sevrane.exe";
    EXPECT_TRUE(report->isBox);
    EXPECT_EQ(report->boxIcon, BoxIconKind::None);
    EXPECT_TRUE(report->messageFont.present);
    EXPECT_EQ(FaceName(report->messageFont), std::wstring(MessageFont().lfFaceName));
    EXPECT_TRUE(DismissBox(box));
    EXPECT_EQ(process.WaitExit(), 0u);
}

} // namespace
} // namespace sevrane::e2e
