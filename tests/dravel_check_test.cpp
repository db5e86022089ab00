// DravelCheck.exe run as a user runs it: the reference DRAVEL.dll keeps every rule, each library
// broken on purpose is caught by the one check meant for it while the run goes on to the end, a
// failure of the random inputs comes with a reproducer that --replay runs again, and a file that
// is no library for this build is named with the reason.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "check/abi_probe.h"
#include "check/child_process.h"
#include "framework/module_path.h"

namespace {

constexpr int kChecks = 7;

struct Report {
    DWORD exitCode = 0;
    std::string checks[kChecks + 1];  // "PASS ...", "FAIL ...", "NOTE ..." or "NOT JUDGED ..." by number
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
        const std::size_t number = line.starts_with("NOT JUDGED ") ? 11 : 5;
        const bool verdict = line.starts_with("PASS ") || line.starts_with("FAIL ") || line.starts_with("NOTE ") ||
                             number == 11;
        if (verdict && line.size() > number + 2 && line[number] >= '1' && line[number] <= '0' + kChecks)
            report.checks[line[number] - '0'] = line;
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
    for (int check = 1; check <= kChecks; ++check) {
        if (check == 6) continue;
        EXPECT_TRUE(report.checks[check].starts_with("PASS")) << report.all;
    }
    EXPECT_TRUE(report.checks[6].starts_with("NOTE 6 per-call cost")) << report.all;
}

struct Broken {
    const char* library;
    int check;
    const char* finding;
    // What --replay of the first reproducer stops at; none where the sweep and the sample find
    // nothing.
    const char* replayStop = nullptr;
};

// x86_64 has a single calling convention; there the stand-in for __stdcall leaves DF set.
const Broken kBroken[] = {
    {"convention", 2,
     check::kIs64Bit ? "(Set & show) left the direction flag set" : "bytes of its arguments (__stdcall?)"},
    {"write_record", 3, "(Set & show) wrote OverlaySurfaceParams.red"},
    {"keep_rect", 3, "(Move & show) read OverlayRect.startX of a record from an earlier call"},
    {"change_fpu", 2, "(Open) changed the x87 control word 0x037F -> 0x007F"},
    {"crash_empty_name", 4, "(0xC0000005, access violation) left ordinal 3 (Set & show) width 64 height 64 colour 200,0,0 file empty",
     "line 4: an exception (0xC0000005, access violation) left Set & show"},
    {"hang_close", 4, "(Close) did not return within 5 s", "line 4: Close did not return within 5 s"},
    {"throw_cpp", 4, "an exception (C++, std::terminate) left ordinal 3 (Set & show)",
     "line 4: an exception (C++, std::terminate) left Set & show"},
    {"missing_4", 1, "ordinal 4 (Move & show) is not exported"},
    {"refuse_load", 1, "the library does not load: its DllMain refused to load it (error 1114)"},
    {"leak_handle", 5, "kernel handles"},
    {"leak_thread", 5, "threads"},
    {"post_quit", 7, "ordinal 1 (Open) posted WM_QUIT to the caller's thread"},
    {"change_dir", 7, "ordinal 1 (Open) changed the current directory"},
};

// A folder of the test's own under the system's temporary one, its name with a space and
// Japanese characters as a user's path may have.
std::string TestFolder(const char* name)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    const std::string folder = std::string(temp) + "DravelCheck test " + name + " \x95\x5C\x8E\xA6";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string FileText(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class DravelCheckBroken : public ::testing::TestWithParam<Broken> {};

TEST_P(DravelCheckBroken, CaughtByItsOwnCheckOnly)
{
    const Broken& broken = GetParam();
    const std::string repro = TestFolder(broken.library);
    const Report report = RunCheck("--samples 50 --repro " + check::Quoted(repro) + " " + Library(broken.library));
    EXPECT_EQ(report.exitCode, 1u) << report.all;
    EXPECT_FALSE(report.summary.empty()) << "the run did not reach its end\n" << report.all;
    EXPECT_TRUE(report.checks[broken.check].starts_with("FAIL")) << report.all;
    EXPECT_NE(report.checks[broken.check].find(broken.finding), std::string::npos) << report.all;
    for (int check = 1; check <= kChecks; ++check) {
        if (check == broken.check) continue;
        EXPECT_FALSE(report.checks[check].starts_with("FAIL")) << report.all;
    }
    if (!broken.replayStop) return;
    // The sweep's first fault, shrunk to the one call that shows it, after the reproducer's header.
    const std::string reproducer = repro + "\\sweep-1.replay";
    EXPECT_NE(FileText(reproducer).find(" calls to 1;"), std::string::npos) << FileText(reproducer);
    const Report replay = RunCheck("--replay " + check::Quoted(reproducer) + " " + Library(broken.library));
    EXPECT_EQ(replay.exitCode, 1u) << FileText(reproducer) << replay.all;
    EXPECT_NE(replay.all.find(broken.replayStop), std::string::npos) << FileText(reproducer) << replay.all;
}

INSTANTIATE_TEST_SUITE_P(, DravelCheckBroken, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.library); });

// Each file that is no library for this build gets one line, naming it, and exit code 3.
TEST(DravelCheck, FilesItCannotJudgeAreNamed)
{
    const std::string folder = TestFolder("inputs");
    std::string otherArchitecture(0x200, '\0');
    otherArchitecture.replace(0, 2, "MZ");
    otherArchitecture[0x3C] = 0x40;  // e_lfanew
    otherArchitecture.replace(0x40, 4, std::string("PE\0\0", 4));
    const std::uint16_t machine = check::kIs64Bit ? 0x014C : 0x8664;
    otherArchitecture.replace(0x44, 2, reinterpret_cast<const char*>(&machine), 2);
    const struct {
        const char* name;
        std::string contents;  // none: the file is not made
        const char* reason;
    } kFiles[] = {
        {"missing.dll", {}, ": no such file"},
        {"empty.dll", "", " is empty"},
        {"text.dll", "not a library\n", " is not a Windows library (no MZ header)"},
        {"other.dll", otherArchitecture,
         check::kIs64Bit ? " is a 32-bit (i386) library; this DravelCheck is 64-bit: use the 32-bit one"
                         : " is a 64-bit (x86-64) library; this DravelCheck is 32-bit: use the 64-bit one"},
    };
    for (const auto& file : kFiles) {
        const std::string path = folder + "\\" + file.name;
        if (file.name != std::string("missing.dll")) std::ofstream(path, std::ios::binary) << file.contents;
        const Report report = RunCheck(check::Quoted(path));
        EXPECT_EQ(report.exitCode, 3u) << report.all;
        EXPECT_EQ(report.all.rfind("NOT JUDGED: " + path + file.reason, 0), 0u) << report.all;
        DeleteFileA(path.c_str());
    }
    EXPECT_EQ(RunCheck("--samples").exitCode, 2u);
}

// A line a replay cannot read is named with its number and the reason, and nothing is called.
TEST(DravelCheck, ReplayNamesTheLinesItCannotRead)
{
    const std::string path = TestFolder("replay") + "\\bad.replay";
    std::ofstream(path, std::ios::binary) << "# comment\nOpen\nSet & show width=x\nMove & show rect=1,2,3\n"
                                             "Set & show file=\"open\nPaint\nClose now\n";
    const Report report = RunCheck("--replay " + check::Quoted(path));
    EXPECT_EQ(report.exitCode, 2u) << report.all;
    for (const char* error : {"line 3: width takes a number", "line 4: rect takes four numbers",
                              "line 5: the quoted file name has no closing quote", "line 6: \"Paint\" is not a call",
                              "line 7: Close takes no fields"})
        EXPECT_NE(report.all.find(error), std::string::npos) << error << "\n" << report.all;
    EXPECT_EQ(report.all.find("0x"), std::string::npos) << report.all;
}

TEST(DravelCheck, JsonAndJunitCarryEveryFinding)
{
    const std::string junit = TestFolder("junit") + "\\report.xml";
    const Report report = RunCheck("--json --samples 10 --junit " + check::Quoted(junit) + " " + Library("keep_rect"));
    const std::string xml = FileText(junit);
    EXPECT_NE(xml.find("<testcase classname=\"DravelCheck\" name=\"3 records read-only and not kept\">\n      <failure"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("(Move &amp; show) read OverlayRect.startX"), std::string::npos) << xml;
    EXPECT_NE(report.all.find("\"passed\": false"), std::string::npos) << report.all;
    EXPECT_NE(report.all.find("{\"check\": 3, \"name\": \"records read-only and not kept\", \"result\": \"FAIL\""),
              std::string::npos)
        << report.all;
    // Both entry points that read the kept rectangle, not only the first finding.
    EXPECT_NE(report.all.find("(Set & show) read OverlayRect.startX"), std::string::npos) << report.all;
    EXPECT_NE(report.all.find("(Move & show) read OverlayRect.startX"), std::string::npos) << report.all;
}

}  // namespace
