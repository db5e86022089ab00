// DravelCheck.exe run as a user runs it: the reference DRAVEL.dll keeps every rule, and each
// library broken on purpose is caught by the one check meant for it while the run goes on to the
// end.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "check/abi_probe.h"
#include "check/checks.h"
#include "check/child_process.h"
#include "framework/module_path.h"

namespace {

struct Report {
    DWORD exitCode = 0;
    std::map<check::Check, std::string> checks;  // "PASS ...", "FAIL ..." or "NOTE ..." by check
    std::string summary;
    std::string all;
};

Report RunCheck(const std::string& arguments)
{
    // Long enough for a whole run; the tool times each call itself.
    const check::ChildRun run =
        check::RunChild(check::Quoted(fw::ModuleFolder() + "DravelCheck.exe") + " " + arguments, 240000);
    Report report;
    report.exitCode = run.exitCode;
    for (const std::string& line : run.lines) {
        report.all += line + "\n";
        const bool verdict = line.starts_with("PASS ") || line.starts_with("FAIL ") || line.starts_with("NOTE ");
        for (const check::CheckRow& row : check::kChecks)
            // The verdict comes first; notes may follow it.
            if (verdict && line.substr(5).starts_with(std::to_string(check::Number(row.id)) + " " + row.name + ":"))
                report.checks.emplace(row.id, line);
        if (line.find(" passed, ") != std::string::npos) report.summary = line;
    }
    return report;
}

std::string Library(const char* name)
{
    return check::Quoted(fw::ModuleFolder() + "broken_dravels\\" + name + ".dll");
}

TEST(DravelCheck, ReferenceLibraryPassesEveryCheck)
{
    Report report = RunCheck("");
    EXPECT_EQ(report.exitCode, 0u) << report.all;
    for (const check::CheckRow& row : check::kChecks)
        EXPECT_TRUE(report.checks[row.id].starts_with(row.role == check::Role::kJudged ? "PASS" : "NOTE"))
            << row.name << "\n"
            << report.all;
    // The screen scene's notes: the picture where it was asked for and nowhere else, then gone.
    for (const char* shown :
         {"Set & show to (64,64)-(256,208): showed a picture inside the asked rectangle and nothing "
          "outside",
          "Move & show to (320,112)-(448,208): showed a picture inside the asked rectangle and "
          "nothing outside",
          "Clear setting: took it away"})
        EXPECT_NE(report.all.find(shown), std::string::npos) << report.all;
}

using check::Check;

struct Broken {
    const char* library;
    Check check;
    const char* finding;
};

// x86_64 has a single calling convention; there the stand-in for __stdcall leaves DF set.
const Broken kBroken[] = {
    {"convention", Check::kCallingConvention,
     check::kIs64Bit ? "(Set & show) left the direction flag set" : "bytes of its arguments (__stdcall?)"},
    {"write_record", Check::kRecords, "(Set & show) wrote OverlaySurfaceParams.red"},
    {"keep_rect", Check::kRecords, "(Move & show) read OverlayRect.startX of a record from an earlier call"},
    {"change_fpu", Check::kCallingConvention, "(Open) changed the x87 control word 0x037F -> 0x007F"},
    {"crash_empty_name", Check::kEveryInputReturns, "(Set & show) width 64 height 64 colour 200,0,0 file empty"},
    {"hang_close", Check::kEveryInputReturns, "(Close) did not return within 5 s"},
    {"missing_4", Check::kExports, "ordinal 4 (Move & show) is not exported"},
    {"leave_window", Check::kScreen, "ordinal 2 (Close) left a window of class \"BrokenDravelLeftWindow\""},
};

class DravelCheckBroken : public ::testing::TestWithParam<Broken> {};

TEST_P(DravelCheckBroken, CaughtByItsOwnCheckOnly)
{
    const Broken& broken = GetParam();
    Report report = RunCheck("--samples 50 " + Library(broken.library));
    EXPECT_EQ(report.exitCode, 1u) << report.all;
    EXPECT_FALSE(report.summary.empty()) << "the run did not reach its end\n" << report.all;
    EXPECT_TRUE(report.checks[broken.check].starts_with("FAIL")) << report.all;
    EXPECT_NE(report.checks[broken.check].find(broken.finding), std::string::npos) << report.all;
    for (const check::CheckRow& row : check::kChecks) {
        if (row.id == broken.check) continue;
        EXPECT_FALSE(report.checks[row.id].starts_with("FAIL")) << row.name << "\n" << report.all;
    }
}

INSTANTIATE_TEST_SUITE_P(, DravelCheckBroken, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.library); });

TEST(DravelCheck, JsonCarriesEveryFinding)
{
    Report report = RunCheck("--json --samples 10 " + Library("keep_rect"));
    EXPECT_NE(report.all.find("\"passed\": false"), std::string::npos) << report.all;
    const std::string records = "{\"check\": " + std::to_string(check::Number(Check::kRecords)) + ", \"name\": \"" +
                                check::RowOf(Check::kRecords).name + "\", \"result\": \"FAIL\"";
    EXPECT_NE(report.all.find(records), std::string::npos) << report.all;
    // Both entry points that read the kept rectangle, not only the first finding.
    EXPECT_NE(report.all.find("(Set & show) read OverlayRect.startX"), std::string::npos) << report.all;
    EXPECT_NE(report.all.find("(Move & show) read OverlayRect.startX"), std::string::npos) << report.all;
}

}  // namespace
