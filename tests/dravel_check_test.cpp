// DravelCheck.exe run as a user runs it: the reference DRAVEL.dll keeps every rule, each library
// broken on purpose is caught by the one check meant for it while the run goes on to the end, a
// failure of the sweep comes with a reproducer that --replay runs again, and a file that is no
// library for this build is named with the reason.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>

#include "check/scenario/abi_probe.h"
#include "check/checks.h"
#include "platform/module_path.h"
#include "process/child.h"

namespace {

struct Report {
    DWORD exitCode = 0;
    std::map<check::Check, std::string> checks;  // "PASS ...", "FAIL ...", "NOTE ..." or "NOT JUDGED ..."
    std::string summary;
    std::string all;
};

Report RunCheck(std::initializer_list<std::string> arguments)
{
    process::Child child;
    EXPECT_TRUE(child.Start(process::CommandLine(platform::ModuleFolder() + "DravelCheck.exe", arguments)));
    Report report;
    // Long enough for a whole run; the tool times each call itself.
    for (std::string line; child.ReadLine(line, 240000) == process::Child::Read::kLine;) {
        report.all += line + "\n";
        for (const check::CheckRow& row : check::kChecks) {
            // The verdict comes first; notes may follow it.
            const std::string number = std::to_string(check::Number(row.id));
            for (const char* verdict : {"PASS ", "FAIL ", "NOTE "})
                if (line.starts_with(verdict + number + " " + row.name + ":")) report.checks.emplace(row.id, line);
            if (line.starts_with("NOT JUDGED " + number + ": " + row.name + ":")) report.checks.emplace(row.id, line);
        }
        if (line.find(" passed, ") != std::string::npos) report.summary = line;
    }
    child.End();
    report.exitCode = child.ExitCode();
    return report;
}

std::string Library(const char* name)
{
    return platform::ModuleFolder() + "broken_dravels\\" + name + ".dll";
}

// The reference library, one that does nothing and succeeds, and one that checks every call it
// makes: none breaks a rule.
TEST(DravelCheck, ReferenceAndDoNothingLibrariesPassEveryCheck)
{
    for (const char* library : {"reference", "do_nothing", "careful_calls"}) {
        SCOPED_TRACE(library);
        const bool reference = library == std::string("reference");
        Report report = reference ? RunCheck({}) : RunCheck({"--samples", "50", Library(library)});
        EXPECT_EQ(report.exitCode, 0u) << report.all;
        for (const check::CheckRow& row : check::kChecks)
            EXPECT_TRUE(report.checks[row.id].starts_with(row.role == check::Role::kJudged ? "PASS" : "NOTE"))
                << row.name << "\n"
                << report.all;
        // What check 9 made fail, by name.
        if (library != std::string("do_nothing")) {
            EXPECT_NE(report.checks[check::Check::kFailingCalls].find("CreateWindowExA"), std::string::npos)
                << report.all;
        }
        if (!reference) continue;
        // The screen scene's notes: the picture where it was asked for and nowhere else, then gone.
        for (const char* shown :
             {"Set & show to (64,64)-(256,208): showed a picture inside the asked rectangle and nothing "
              "outside",
              "Move & show to (320,112)-(448,208): showed a picture inside the asked rectangle and "
              "nothing outside",
              "Clear setting: took it away"})
            EXPECT_NE(report.all.find(shown), std::string::npos) << report.all;
    }
}

using check::Check;

struct Broken {
    const char* library;
    Check check;
    const char* finding;
    // What --replay of its first reproducer stops at; none where no reproducer is written.
    const char* replayStop = nullptr;
    const char* reproducer = "sweep-1";
    // A check that fails beside it, where both catch the fault.
    std::optional<Check> also = std::nullopt;
};

// x86_64 has a single calling convention; there the stand-in for __stdcall leaves DF set.
const Broken kBroken[] = {
    {"convention", Check::kCallingConvention,
     check::kIs64Bit ? "(Set & show) left the direction flag set" : "bytes of its arguments (__stdcall?)"},
    {"write_record", Check::kRecords, "(Set & show) wrote OverlaySurfaceParams.red"},
    {"keep_rect", Check::kRecords, "(Move & show) read OverlayRect.startX of a record from an earlier call"},
    {"change_fpu", Check::kCallingConvention, "(Open) changed the x87 control word 0x037F -> 0x007F"},
    {"crash_empty_name", Check::kEveryInputReturns,
     "(Set & show) width 64 height 64 colour 200,0,0 file empty rect 16,16,80,80 let an exception out (0xC0000005, "
     "access violation)",
     "line 4: Set & show let an exception out (0xC0000005, access violation)"},
    {"hang_close", Check::kEveryInputReturns, "(Close) did not return within 5 s",
     "line 4: Close did not return within 5 s"},
    {"throw_cpp", Check::kEveryInputReturns,
     "(Set & show) let an exception out (C++, std::runtime_error, what(): \"thrown out of Set & show\")",
     "line 4: Set & show let an exception out (C++, std::runtime_error, what(): \"thrown out of Set & show\")"},
    {"missing_4", Check::kExports, "ordinal 4 (Move & show) is not exported"},
    {"refuse_load", Check::kExports, "the library does not load: its DllMain refused to load it (error 1114)"},
    {"hang_load", Check::kExports, "the library does not load: its DllMain did not return from loading within 5 s"},
    {"crash_load", Check::kExports, "the library does not load: its DllMain let an exception out (0xC0000005"},
    {"hang_unload", Check::kExports,
     "its DllMain did not return from unloading at the process's end within 5 s: the console could not end"},
    {"read_after_call", Check::kRecords, "(Set & show) read OverlayRect.startX after the call returned"},
    // Check 9's guarded blocks name the overrun at the write, and so does --replay.
    {"overrun_heap", Check::kEveryInputReturns, "(Open) corrupted the heap: it no longer validated after the call",
     "line 4: ordinal 1 (Open) wrote past the end of a 24-byte block it allocated with HeapAlloc", "sweep-1",
     Check::kFailingCalls},
    // Within the heap's slack: the guarded block's own slack, checked as it is freed, names it on
    // x86_64; on i686 it reaches the guard page, and the heap's validation may see it too.
    {.library = "overrun_malloc",
     .check = Check::kFailingCalls,
     .finding = "ordinal 1 (Open) wrote past the end of a 24-byte block it allocated with malloc",
     .also = Check::kEveryInputReturns},
    {"unchecked_alloc", Check::kFailingCalls,
     "ordinal 1 (Open) let an exception out (0xC0000005, access violation) after its 1st call to malloc failed "
     "(returned NULL)",
     "line 4: Open let an exception out (0xC0000005, access violation) after its 1st call to malloc failed (returned "
     "NULL)",
     "failing-1"},
    {"unchecked_window", Check::kFailingCalls,
     "ordinal 3 (Set & show) let an exception out (0xC0000005, access violation) after the 1st call to "
     "CreateWindowExA of ordinal 1 (Open) failed (returned NULL)"},
    {"leak_handle", Check::kLifecycles, "kernel handles"},
    {"leak_thread", Check::kLifecycles, "threads"},
    {"post_quit", Check::kCallerState, "ordinal 1 (Open) posted WM_QUIT to the caller's thread"},
    {"change_dir", Check::kCallerState, "ordinal 1 (Open) changed the current directory"},
    {"thread_timer", Check::kCallerState, "ordinal 1 (Open) left a thread timer that Close did not kill"},
    {"keep_hook", Check::kCallerState,
     "ordinal 1 (Open) left a WH_GETMESSAGE hook on the caller's thread that Close did not remove"},
    {"exception_filter", Check::kCallerState, "ordinal 1 (Open) replaced the process's unhandled-exception filter"},
    {"clip_cursor", Check::kCallerState, "ordinal 1 (Open) confined the mouse to (0,0)-(100,100) (a cursor clip)"},
    {"capture_mouse", Check::kCallerState, "ordinal 3 (Set & show) took the mouse capture"},
    {"dispatch_messages", Check::kCallerState,
     "ordinal 3 (Set & show) dispatched the caller's messages during the call: the console can be re-entered"},
    {"leave_window", Check::kScreen, "ordinal 2 (Close) left a window of class \"BrokenDravelLeftWindow\""},
    {"post_close", Check::kCallerState, "ordinal 3 (Set & show) posted WM_CLOSE (0x0010) to a window it does not own"},
    {"subclass_caller", Check::kCallerState,
     "ordinal 1 (Open) replaced the window procedure of the caller's window and did not put it back"},
    {"keep_clipboard", Check::kCallerState,
     "ordinal 1 (Open) kept the clipboard open: no other thread or process can open it"},
    {"dll_directory", Check::kCallerState, "ordinal 1 (Open) changed the DLL search path (SetDllDirectory none -> "},
    {"raise_priority", Check::kCallerState,
     "ordinal 1 (Open) raised the caller thread's priority normal -> time-critical and left it there"},
    {"priority_class", Check::kCallerState, "ordinal 1 (Open) changed the process's priority class normal -> high"},
    // Focus lost to no window, as another program can leave it too: told once the next turn sees it.
    {.library = "drop_focus",
     .check = Check::kCallerState,
     .finding = "ordinal 3 (Set & show) took the focus from the caller's window",
     .also = Check::kScreen},
    // Pixels left with no window of its own: told once the next turn, the area painted afresh, sees them.
    {"draw_on_screen", Check::kScreen, "ordinal 2 (Close) left 27648 pixels of (48,48)-(464,224) unlike before Open"},
    {"unload_self", Check::kEveryInputReturns,
     "(Close) unloaded the library itself: its module was no longer loaded after the call",
     "line 4: Close unloaded the library itself"},
    {"leak_tls", Check::kLifecycles, "TLS slots"},
    {"leak_fls", Check::kLifecycles, "FLS slots"},
    {"hold_lock", Check::kLifecycles,
     "ordinal 1 (Open) on a second thread after the cycles did not return within 3 s: it waits on a lock the "
     "library left held (a critical section held by the caller's thread"},
#if !defined(_WIN64)
    {"seh_chain", Check::kCallingConvention,
     "(Open) left the thread's exception-handler chain pointing into its own stack"},
#endif
};

// A folder of the test's own under the system's temporary one, its name with a space and
// Japanese characters (code page 932) as a user's path may have.
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
    Report report = RunCheck({"--samples", "50", "--repro", repro, Library(broken.library)});
    EXPECT_EQ(report.exitCode, 1u) << report.all;
    EXPECT_FALSE(report.summary.empty()) << "the run did not reach its end\n" << report.all;
    EXPECT_TRUE(report.checks[broken.check].starts_with("FAIL")) << report.all;
    EXPECT_NE(report.checks[broken.check].find(broken.finding), std::string::npos) << report.all;
    for (const check::CheckRow& row : check::kChecks) {
        if (row.id == broken.check || row.id == broken.also) continue;
        EXPECT_FALSE(report.checks[row.id].starts_with("FAIL")) << row.name << "\n" << report.all;
    }
    if (!broken.replayStop) return;
    // The first fault, shrunk to the one call that shows it, after the reproducer's header.
    const std::string reproducer = repro + "\\" + broken.reproducer + ".replay";
    EXPECT_NE(FileText(reproducer).find(" calls to 1;"), std::string::npos) << FileText(reproducer);
    const Report replay = RunCheck({"--replay", reproducer, Library(broken.library)});
    EXPECT_EQ(replay.exitCode, 1u) << FileText(reproducer) << replay.all;
    EXPECT_NE(replay.all.find(broken.replayStop), std::string::npos) << FileText(reproducer) << replay.all;
}

INSTANTIATE_TEST_SUITE_P(, DravelCheckBroken, ::testing::ValuesIn(kBroken),
                         [](const auto& info) { return std::string(info.param.library); });

// The scenarios call the library on threads of DravelCheck's default stack; a library that
// overflows the console's stack must overflow there too.
TEST(DravelCheck, CallsRunOnTheConsolesStackReserve)
{
    const auto reserve = [](const char* program) {
        const std::string image = FileText(platform::ModuleFolder() + program);
        IMAGE_DOS_HEADER dos{};
        IMAGE_NT_HEADERS headers{};
        if (image.size() < sizeof dos) return ULONGLONG{0};
        std::memcpy(&dos, image.data(), sizeof dos);
        if (image.size() < static_cast<std::size_t>(dos.e_lfanew) + sizeof headers) return ULONGLONG{0};
        std::memcpy(&headers, image.data() + dos.e_lfanew, sizeof headers);
        return ULONGLONG{headers.OptionalHeader.SizeOfStackReserve};
    };
    EXPECT_NE(reserve("Tavik.exe"), 0u);
    EXPECT_EQ(reserve("DravelCheck.exe"), reserve("Tavik.exe"));
}

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
        std::string contents;
        const char* reason;
    } kFiles[] = {
        {"missing.dll", {}, ": no such file"},  // never made
        {"empty.dll", "", " is empty"},
        {"text.dll", "not a library\n", " is not a Windows library (no MZ header)"},
        {"other.dll", otherArchitecture,
         check::kIs64Bit ? " is a 32-bit (i386) library; this DravelCheck is 64-bit: use the 32-bit one"
                         : " is a 64-bit (x86-64) library; this DravelCheck is 32-bit: use the 64-bit one"},
    };
    for (const auto& file : kFiles) {
        const std::string path = folder + "\\" + file.name;
        if (file.name != std::string("missing.dll")) std::ofstream(path, std::ios::binary) << file.contents;
        const Report report = RunCheck({path});
        EXPECT_EQ(report.exitCode, 3u) << report.all;
        EXPECT_EQ(report.all.rfind("NOT JUDGED: " + path + file.reason, 0), 0u) << report.all;
        DeleteFileA(path.c_str());
    }
    EXPECT_EQ(RunCheck({"--samples"}).exitCode, 2u);
}

TEST(DravelCheck, JsonAndJunitCarryEveryFinding)
{
    const std::string junit = TestFolder("junit") + "\\report.xml";
    Report report = RunCheck({"--json", "--samples", "10", "--junit", junit, Library("keep_rect")});
    const std::string xml = FileText(junit);
    const std::string recordsCase = "name=\"" + std::to_string(check::Number(Check::kRecords)) + " " +
                                    check::RowOf(Check::kRecords).name + "\">\n      <failure";
    EXPECT_NE(xml.find(recordsCase), std::string::npos) << xml;
    EXPECT_NE(xml.find("(Move &amp; show) read OverlayRect.startX"), std::string::npos) << xml;
    EXPECT_NE(report.all.find("\"passed\": false"), std::string::npos) << report.all;
    const std::string records = "{\"check\": " + std::to_string(check::Number(Check::kRecords)) + ", \"name\": \"" +
                                check::RowOf(Check::kRecords).name + "\", \"result\": \"FAIL\"";
    EXPECT_NE(report.all.find(records), std::string::npos) << report.all;
    // Both entry points that read the kept rectangle, not only the first finding.
    EXPECT_NE(report.all.find("(Set & show) read OverlayRect.startX"), std::string::npos) << report.all;
    EXPECT_NE(report.all.find("(Move & show) read OverlayRect.startX"), std::string::npos) << report.all;
}

}  // namespace
