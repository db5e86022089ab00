// DravelCheck.exe run as a user runs it: the reference DRAVEL.dll keeps every rule, and each
// library broken on purpose is caught by the one check meant for it while the run goes on to the
// end.
#include <gtest/gtest.h>

#include <string>

#include "check/abi_probe.h"
#include "check/child_process.h"
#include "framework/module_path.h"

namespace {

struct Report {
    DWORD exitCode = 0;
    std::string checks[8];  // "PASS ...", "FAIL ..." or "NOTE ..." by check number 1-7
    std::string summary;
    std::string all;
};

// The folder of the test exe, where DravelCheck.exe and DRAVEL.dll are built.
std::string BinFolder()
{
    const std::string own = fw::ModuleFileName();
    return own.substr(0, own.find_last_of('\\') + 1);
}

Report RunCheck(const std::string& arguments)
{
    // Long enough for a whole run; the tool times each call itself.
    const check::ChildRun run =
        check::RunChild(check::Quoted(BinFolder() + "DravelCheck.exe") + " " + arguments, 240000);
    Report report;
    report.exitCode = run.exitCode;
    for (const std::string& line : run.lines) {
        report.all += line + "\n";
        const bool verdict = line.starts_with("PASS ") || line.starts_with("FAIL ") || line.starts_with("NOTE ");
        if (verdict && line.size() > 7 && line[5] >= '1' && line[5] <= '7') report.checks[line[5] - '0'] = line;
        if (line.find(" passed, ") != std::string::npos) report.summary = line;
    }
    return report;
}

std::string Library(const char* name)
{
    return check::Quoted(BinFolder() + "broken_dravels\\" + name + ".dll");
}

TEST(DravelCheck, ReferenceLibraryPassesEveryCheck)
{
    const Report report = RunCheck("");
    EXPECT_EQ(report.exitCode, 0u) << report.all;
    for (int check = 1; check <= 5; ++check) EXPECT_TRUE(report.checks[check].starts_with("PASS")) << report.all;
    EXPECT_TRUE(report.checks[6].starts_with("NOTE 6 per-call cost")) << report.all;
    EXPECT_TRUE(report.checks[7].starts_with("PASS")) << report.all;
    for (const char* shown :
         {"Set & show to (64,64)-(256,208): showed a picture inside the asked rectangle and nothing outside",
          "Move & show to (320,112)-(448,208): showed a picture inside the asked rectangle and nothing outside",
          "Clear setting: took it away"})
        EXPECT_NE(report.checks[7].find(shown), std::string::npos) << report.all;
}

struct Broken {
    const char* library;
    int check;
    const char* finding;
};

// x86_64 has a single calling convention; there the stand-in for __stdcall leaves DF set.
const Broken kBroken[] = {
    {"convention", 2,
     check::kIs64Bit ? "(Set & show) left the direction flag set" : "bytes of its arguments (__stdcall?)"},
    {"write_record", 3, "(Set & show) wrote OverlaySurfaceParams.red"},
    {"keep_rect", 3, "(Move & show) read OverlayRect.startX of a record from an earlier call"},
    {"change_fpu", 2, "(Open) changed the x87 control word 0x037F -> 0x007F"},
    {"crash_empty_name", 4, "(Set & show) width 64 height 64 colour 200,0,0 file empty"},
    {"hang_close", 4, "(Close) did not return within 5 s"},
    {"missing_4", 1, "ordinal 4 (Move & show) is not exported"},
    {"leave_window", 7, "after Close a window of class \"BrokenDravelLeftWindow\""},
};

class DravelCheckBroken : public ::testing::TestWithParam<Broken> {};

TEST_P(DravelCheckBroken, CaughtByItsOwnCheckOnly)
{
    const Broken& broken = GetParam();
    const Report report = RunCheck("--samples 50 " + Library(broken.library));
    EXPECT_EQ(report.exitCode, 1u) << report.all;
    EXPECT_FALSE(report.summary.empty()) << "the run did not reach its end\n" << report.all;
    EXPECT_TRUE(report.checks[broken.check].starts_with("FAIL")) << report.all;
    EXPECT_NE(report.checks[broken.check].find(broken.finding), std::string::npos) << report.all;
    for (int check = 1; check <= 7; ++check) {
        if (check == broken.check) continue;
        EXPECT_FALSE(report.checks[check].starts_with("FAIL")) << report.all;
    }
}

INSTANTIATE_TEST_SUITE_P(, DravelCheckBroken, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.library); });

TEST(DravelCheck, JsonCarriesEveryFinding)
{
    const Report report = RunCheck("--json --samples 10 " + Library("keep_rect"));
    EXPECT_NE(report.all.find("\"passed\": false"), std::string::npos) << report.all;
    EXPECT_NE(report.all.find("{\"check\": 3, \"name\": \"records read-only and not kept\", \"result\": \"FAIL\""),
              std::string::npos)
        << report.all;
    // Both entry points that read the kept rectangle, not only the first finding.
    EXPECT_NE(report.all.find("(Set & show) read OverlayRect.startX"), std::string::npos) << report.all;
    EXPECT_NE(report.all.find("(Move & show) read OverlayRect.startX"), std::string::npos) << report.all;
}

}  // namespace
