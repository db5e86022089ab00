// DravelCheck's logic without windows: the lines and flags between its two sides, how each ending
// reads, the sweep and random plans through the replay format, the reports' escaping, the
// platform's numbers in words, the shrinker against a fake player, the scenarios run through a
// fake runner, the verdicts, the progress shown while it runs, the asked rectangle's outline on a
// capture, check 9's failure points, and the turns of a scenario another program can disturb.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "check/failure_points.h"
#include "check/protocol.h"
#include "check/random_sample.h"
#include "check/replay_file.h"
#include "check/run/abnormal_end.h"
#include "check/run/ending.h"
#include "check/run/escapes.h"
#include "check/run/failure_rounds.h"
#include "check/run/progress_text.h"
#include "check/run/scenario_run.h"
#include "check/run/shrinker.h"
#include "check/run/verdict.h"
#include "check/scenario/outline.h"
#include "check/scenario/turns.h"
#include "check/sweep.h"
#include "check/system_names.h"

namespace {

using namespace check;

TEST(Protocol, EachLineReadsBackAsWritten)
{
    const Finding finding{Check::kRecords, kMoveAndShow, "ordinal 4 (Move & show) rect 1,2,3,4", "read it later"};
    const Line lines[] = {
        {.kind = LineKind::kCall, .ordinal = kSetAndShow, .index = 7, .text = "ordinal 3 (Set & show) width 0"},
        {.kind = LineKind::kCall, .step = Step::kUnloading, .ordinal = kNoOrdinal, .index = 9},
        {.kind = LineKind::kNotLoaded, .code = 1114, .check = Check::kRecords},
        {.kind = LineKind::kReturned, .ordinal = kClose, .code = 0x8000000F, .micros = 12.5},
        {.kind = LineKind::kFinding, .finding = finding},
        {.kind = LineKind::kMeasure, .text = "GDI objects 4 -> 4", .check = Check::kLifecycles},
        {.kind = LineKind::kNote, .text = "showed nothing", .check = Check::kScreen},
        {.kind = LineKind::kNotJudged, .text = "no device caps", .check = Check::kScreen},
        {.kind = LineKind::kFinished},
        {.kind = LineKind::kDying, .dying = Dying::kThrow},
        {.kind = LineKind::kCounted, .ordinal = kOpen, .index = 4, .text = "malloc"},
        {.kind = LineKind::kPoint, .ordinal = kClose, .index = 12},
        {.kind = LineKind::kFailing, .ordinal = kSetAndShow, .index = 2, .text = "CreateWindowExA"},
        {.kind = LineKind::kDying, .dying = Dying::kUnloaded},
        {.kind = LineKind::kProgress, .index = 12, .total = 1000, .text = "cycles"},
    };
    for (const Line& line : lines) EXPECT_EQ(ParseLine(FormatLine(line)), line) << FormatLine(line);
    // A line end inside a text cannot break the line.
    EXPECT_EQ(FormatLine({.kind = LineKind::kNote, .text = "a\r\nb", .check = Check::kCost}), "@Note 6 a  b");
    for (const char* text : {"", "Finished", "@Unknown 1", "@Call call 6 0 ordinal 6", "@Call call 3 x what",
                             "@Call 3 0 no step", "@Call dying 0 0 ", "@Finding 10 0 a\tb", "@Finding 3 0 no tab",
                             "@Measure 0 text", "@Dying Exit", "@Returned -1 0 0", "@NotLoaded 1 x", "@NotLoaded 1",
                             "@Progress 12 calls"})
        EXPECT_EQ(ParseLine(text), std::nullopt) << text;
}

TEST(Protocol, ScenarioFlagsReadBackAndBadOnesAreNone)
{
    const ScenarioOptions options{.scenario = "sweep",
                                  .files = "C:\\t m\\x",
                                  .seed = 15,
                                  .samples = 500,
                                  .skip = 3,
                                  .from = 4,
                                  .pictures = "C:\\p",
                                  .library = "C:\\DRAVEL.dll"};
    const std::vector<std::string> arguments = options.ToCommandLine();
    EXPECT_EQ(ScenarioOptions::Parse(arguments), options);
    const std::vector<std::vector<std::string>> bad = {{"--json", "--scenario", "sweep", "--files", "F", "L"},
                                                       {"--scenario", "sweep", "--files", "F"},
                                                       {"--scenario", "sweep", "--files", "F", "--skip", "-1", "L"},
                                                       {"--scenario", "sweep", "--files", "F", "L", "M"}};
    for (const auto& arguments : bad) EXPECT_EQ(ScenarioOptions::Parse(arguments), std::nullopt) << arguments.size();
}

// Each kind of ending, worded once whichever side saw it; a step's is DllMain's and check 1's.
TEST(Ending, EachKindReadsAsTheReportsPrintIt)
{
    using Kind = Ending::Kind;
    const InProgress close{kClose, "ordinal 2 (Close)"};
    const struct {
        Ending ending;
        Check check;
        const char* text;
    } kEndings[] = {
        {{.kind = Kind::kHung, .seconds = 5}, kFaultsCheck, "s: ordinal 2 (Close) did not return within 5 s"},
        {{.kind = Kind::kHung, .seconds = 5, .box = "Oops"},
         kFaultsCheck,
         "s: ordinal 2 (Close) showed a message box \"Oops\" and did not return within 5 s"},
        {{.kind = Kind::kSilent, .seconds = 60}, kFaultsCheck, "s: ordinal 2 (Close) went silent between calls for 60 s"},
        {{.exitCode = 0xC0000005},
         kFaultsCheck,
         "s: ordinal 2 (Close) let an exception out (0xC0000005, access violation)"},
        {{.exitCode = 3, .dying = Dying::kAbort, .errors = "terminate called after throwing an instance of 'int'\n"},
         kFaultsCheck,
         "s: ordinal 2 (Close) let an exception out (C++, int)"},
        {{.exitCode = 0xC0000374, .dying = Dying::kHeap},
         kFaultsCheck,
         "s: ordinal 2 (Close) corrupted the heap: it no longer validated after the call"},
        // A box whose text holds the words of the ending stays whole, in its quotes.
        {{.kind = Kind::kHung, .step = Step::kLoading, .seconds = 5, .box = "did not return"},
         kDllMainCheck,
         "the library does not load: its DllMain showed a message box \"did not return\" and did not return from "
         "loading within 5 s"},
        {{.step = Step::kLoading, .exitCode = 0xC0000094},
         kDllMainCheck,
         "the library does not load: its DllMain let an exception out (0xC0000094, integer division by zero) while "
         "loading"},
        {{.step = Step::kUnloading, .exitCode = 0xC0000005},
         kDllMainCheck,
         "its DllMain let an exception out (0xC0000005, access violation) while unloading (FreeLibrary): the console "
         "could not end"},
        {{.kind = Kind::kHung, .step = Step::kProcessEnd, .seconds = 5},
         kDllMainCheck,
         "its DllMain did not return from unloading at the process's end within 5 s: the console could not end"},
        // Silent after a step returned is silence between calls, not DllMain's.
        {{.kind = Kind::kSilent, .step = Step::kLoading, .seconds = 60},
         kFaultsCheck,
         "s: ordinal 2 (Close) went silent between calls for 60 s"},
    };
    for (const auto& e : kEndings) {
        const Finding finding = FindingOf(e.ending, close, "s");
        EXPECT_EQ(finding.Text(), e.text);
        EXPECT_EQ(finding.check, e.check) << e.text;
    }
    // What the loader said, and the access violation it caught worded as the crash it was.
    EXPECT_EQ(NotLoadingText(1114), "the library does not load: its DllMain refused to load it (error 1114)");
    EXPECT_EQ(NotLoadingText(998),
              "the library does not load: its DllMain let an exception out (0xC0000005, access violation) while "
              "loading (error 998)");
    EXPECT_EQ(NotLoadingText(5), "the library does not load (error 5)");
}

TEST(Replay, CallsReadBackFromTheirText)
{
    const TestFiles files("C:\\f");
    std::vector<PlannedCall> calls{{kOpen, StartupInput(kOpen)},
                                   {kSetAndShow, PlainInput(files)},
                                   {kSetAndShow, StartupInput(kSetAndShow)},
                                   {kMoveAndShow, StartupInput(kMoveAndShow)}};
    calls[2].input.params.width = 4294967295u;
    SetPath(calls[2].input, "a\"b\\c\x01\x95\x5C", "named");
    calls[3].input.rect = {0, 1, 65535, 4294967295u};
    calls[0].failure = FailedCall{kOpen, "CreateWindowExA", 2};
    calls[3].failure = FailedCall{kMoveAndShow, "malloc", 1};
    const std::string text = ReplayText(calls);
    EXPECT_EQ(text.rfind("Open fail=CreateWindowExA,2\n", 0), 0u) << text;
    EXPECT_NE(text.find("file=\"a\\\"b\\\\c\\x01\\x95\\\\\""), std::string::npos) << text;
    const Replay replay = ParseReplay(text, files);
    ASSERT_TRUE(replay.errors.empty()) << replay.errors.front();
    ASSERT_EQ(replay.calls.size(), calls.size());
    for (std::size_t i = 0; i < calls.size(); ++i) {
        EXPECT_EQ(ReplayText({replay.calls[i].call}), ReplayText({calls[i]}));
        EXPECT_EQ(replay.calls[i].call.failure, calls[i].failure);
    }
    EXPECT_EQ(replay.calls[3].line, 4);
    // The sweep's and the random plan's calls, every file kind among them, read back as planned.
    for (const std::vector<PlannedCall>& plan : {SweepCalls(files), RandomPlan(files, 15, 300)}) {
        const std::string planText = ReplayText(plan);
        std::vector<PlannedCall> read;
        for (const ReplayCall& call : ParseReplay(planText, files).calls) read.push_back(call.call);
        EXPECT_EQ(ReplayText(read), planText);
    }
}

TEST(Plans, SweepNamesEveryFileKindAndTheRandomPlanFollowsItsSeed)
{
    const TestFiles files("C:\\f");
    std::set<std::string> kinds;
    for (const PlannedCall& call : SweepCalls(files)) kinds.insert(call.input.fileKind);
    for (const FileKindRow& row : kFileKinds) EXPECT_TRUE(kinds.contains(row.name)) << row.name;
    EXPECT_TRUE(kinds.contains("empty"));
    // A reproducer's calls are the plan's again: the same seed, the same calls.
    const std::vector<PlannedCall> plan = RandomPlan(files, 15, 300);
    EXPECT_EQ(ReplayText(RandomPlan(files, 15, 300)), ReplayText(plan));
    EXPECT_NE(ReplayText(RandomPlan(files, 16, 300)), ReplayText(plan));
    ASSERT_EQ(plan.size(), 300 + std::size(kCycle) + 1);
    for (std::size_t i = 0; i < std::size(kCycle); ++i) EXPECT_EQ(plan[i].ordinal, kCycle[i]);
    EXPECT_EQ(plan.back().ordinal, kClose);
}

TEST(Replay, EachLineItCannotReadIsNamedWithItsReason)
{
    const std::pair<const char*, const char*> kBad[] = {
        {"Set & show width=x", "width takes a number"},
        {"Set & show red=256", "red takes a number from 0 to 255"},
        {"Move & show rect=1,2,3", "rect takes four numbers"},
        {"Move & show width=1", "Move & show takes only rect="},
        {"Set & show file=\"open", "the quoted file name has no closing quote"},
        {"Set & show file=\"\\x00\"", "\\x takes two hex digits, not 00"},
        {"Set & show file=\"\\q\"", "unknown escape \\q"},
        {"Set & show file=<nothing>", "file=<...> names one of"},
        {"Paint", "\"Paint\" is not a call"},
        {"Close now", "Close takes no fields but fail="},
        {"Close fail=free,1", "fail takes a wrapped call"},
        {"Open fail=malloc,0", "fail takes a wrapped call"},
        {"Open fail=malloc", "fail takes a wrapped call"},
    };
    for (const auto& [line, reason] : kBad) {
        const Replay replay = ParseReplay("# comment\n\nOpen\n" + std::string(line) + "\n", TestFiles("C:\\f"));
        ASSERT_EQ(replay.errors.size(), 1u) << line;
        EXPECT_EQ(replay.errors[0].rfind("line 4: " + std::string(reason), 0), 0u) << replay.errors[0];
        EXPECT_EQ(replay.calls.size(), 1u);
    }
    EXPECT_EQ(ParseReplay("Set & show file=\"" + std::string(261, 'a') + "\"", TestFiles("C:\\f")).errors.at(0),
              "line 1: the file name is longer than 260 bytes");
}

TEST(Reports, TextIsEscapedForJsonAndXml)
{
    EXPECT_EQ(JsonString("a\"b\\c\n\x01\xE8\xA1\xA8"), "\"a\\\"b\\\\c\\u000a\\u0001\xE8\xA1\xA8\"");
    EXPECT_EQ(XmlText("<a & \"b\">\t\x01", false), "&lt;a &amp; \"b\"&gt;\t?");
    EXPECT_EQ(XmlText("\"Move & show\"", true), "\"&quot;Move &amp; show&quot;\"");
}

// The platform's numbers in findings: a standard message by name beside its number, the ranges
// by their base, and a number with no name as itself.
TEST(SystemNames, MessagesAndPrioritiesInWords)
{
    EXPECT_EQ(MessageText(0x0010), "WM_CLOSE (0x0010)");
    EXPECT_EQ(MessageText(0x0000), "WM_NULL (0x0000)");
    EXPECT_EQ(MessageText(0x0318), "WM_PRINTCLIENT (0x0318)");
    EXPECT_EQ(MessageText(0x0019), "message 0x0019");
    EXPECT_EQ(MessageText(0x0405), "WM_USER+5 (0x0405)");
    EXPECT_EQ(MessageText(0x8001), "WM_APP+1 (0x8001)");
    EXPECT_EQ(MessageText(0xC0A2), "a registered message (0xC0A2)");
    EXPECT_EQ(MessageText(0x10000), "message 0x10000");
    EXPECT_EQ(ThreadPriorityText(15), "time-critical");
    EXPECT_EQ(ThreadPriorityText(-15), "idle");
    EXPECT_EQ(ThreadPriorityText(3), "priority 3");
    EXPECT_EQ(PriorityClassText(0x0080), "high");
    EXPECT_EQ(PriorityClassText(0x1234), "priority class 0x1234");
}

// The standard error texts are as a library's C++ runtime wrote them before it aborted: i686
// (exceptions unwound by tables, so only this text names one) and x86_64 (text mode, the throw
// noted as it passed as an SEH exception).
TEST(AbnormalEnd, NamesTheExceptionTheRuntimeNamed)
{
    const std::string kRuntimeError = "let an exception out (C++, std::runtime_error, what(): \"thrown out\")";
    const struct {
        std::uint32_t exitCode;
        std::optional<Dying> dying;
        std::string errors;
        std::string outcome;
    } kCases[] = {
        {3, Dying::kAbort,
         "terminate called after throwing an instance of 'std::runtime_error'\n  what():  thrown out\n", kRuntimeError},
        {3, Dying::kThrow,
         "a line of the library's\r\nterminate called after throwing an instance of 'std::runtime_error'\r\n"
         "  what():  thrown out\r\n",
         kRuntimeError},
        {3, Dying::kAbort, "terminate called after throwing an instance of 'int'\n", "let an exception out (C++, int)"},
        {3, Dying::kAbort,
         "terminate called after throwing an instance of 'E'\n  what():  " + std::string(200, 'w') + "\n",
         "let an exception out (C++, E, what(): \"" + std::string(160, 'w') + "...\")"},
        // Cut off before the type ends; std::terminate called with no exception; nothing said.
        {3, Dying::kAbort, "terminate called after throwing an instance of 'std::bad_al",
         "called abort() (or std::terminate)"},
        {3, Dying::kAbort, "terminate called without an active exception\n", "called abort() (or std::terminate)"},
        {3, Dying::kThrow, "", "let an exception out (C++, std::terminate)"},
        // The text alone, from a process that ended otherwise, names nothing.
        {0xC0000005, std::nullopt, "terminate called after throwing an instance of 'int'\n",
         "let an exception out (0xC0000005, access violation)"},
        {0xE06D7363, std::nullopt, "", "let an exception out (0xE06D7363, C++, MSVC runtime)"},
        {0xC0001234, std::nullopt, "", "let an exception out (0xC0001234)"},
        {7, std::nullopt, "", "ended the process (exit code 7)"},
        {126, Dying::kUnloaded, "", "unloaded the library itself: its module was no longer loaded after the call"},
    };
    for (const auto& c : kCases) EXPECT_EQ(AbnormalEnd(c.exitCode, c.dying, c.errors), c.outcome) << c.errors;
}

// A fake library that crashes on a Set & show of width 0 once it has been opened.
std::optional<Stop> PlayFake(const std::vector<PlannedCall>& calls, int& plays)
{
    ++plays;
    bool open = false;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        open = calls[i].ordinal == kOpen || (open && calls[i].ordinal != kClose);
        if (open && calls[i].ordinal == kSetAndShow && calls[i].input.params.width == 0)
            return Stop{i, Fault{kSetAndShow, std::nullopt, false, 0xC0000005, std::nullopt}, "Set & show crashed"};
    }
    return std::nullopt;
}

TEST(Shrinker, KeepsOnlyWhatShowsTheSameFault)
{
    const TestFiles files("C:\\f");
    std::vector<PlannedCall> calls = SweepCalls(files);
    std::size_t at = 0;
    int plays = 0;
    const Player play = [&plays](const std::vector<PlannedCall>& candidate) { return PlayFake(candidate, plays); };
    while (!PlayFake(std::vector(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(++at)), plays)) {
    }
    Stop found = *PlayFake(calls, plays);
    const auto shrunk = Shrink(calls, found, play, {150, std::chrono::seconds(30)});
    EXPECT_EQ(ReplayText(shrunk), "Open\nSet & show width=0\n");
    EXPECT_EQ(found.index, 1u);
    // With no tries left it plays nothing and only cuts the calls after the fault.
    found = *PlayFake(calls, plays);
    const int before = plays;
    EXPECT_EQ(Shrink(calls, found, play, {0, std::chrono::seconds(30)}).size(), at);
    EXPECT_EQ(plays, before);
}

TEST(Verdict, FollowsFromTheTallies)
{
    const auto summary = [](const SummaryInput& in) { return std::to_string(in.tally.calls) + " calls"; };
    const CheckRow judged{Check::kRecords, "records", {}, summary, Role::kJudged, Phase::kInTurn};
    const CheckRow note{Check::kCost, "cost", {}, summary, Role::kNote, Phase::kInTurn};
    const Finding first{Check::kRecords, kOpen, "ordinal 1 (Open)", "wrote it"};
    const Finding cut{kFaultsCheck, kClose, "ordinal 2 (Close)", "did not return within 5 s", "records"};
    const struct {
        Tally tally;
        bool loads;
        Verdict verdict;
        const char* summary;
    } kCases[] = {
        {{.calls = 9}, true, Verdict::kPass, "9 calls"},
        {{.findings = {first, first}}, true, Verdict::kFail, "ordinal 1 (Open) wrote it"},
        {{.findings = {first}}, false, Verdict::kFail, "ordinal 1 (Open) wrote it"},
        {{.calls = 9}, false, Verdict::kNotJudged, "the library does not load (check 1)"},
        {{.notJudged = {"no caps", "no count"}}, true, Verdict::kNotJudged, "no caps; no count"},
        {{.cutShort = cut},
         true,
         Verdict::kNote,
         "not finished: records: ordinal 2 (Close) did not return within 5 s (check 4)"},
    };
    const CheckOptions options{};
    for (const auto& c : kCases) {
        Gathered gathered;
        gathered.tallies[Check::kRecords] = c.tally;
        gathered.tallies[Check::kCost] = c.tally;
        const auto results = Verdicts(std::vector{judged, note}, gathered, options, c.loads);
        EXPECT_EQ(results[0].verdict, c.verdict) << c.summary;
        EXPECT_EQ(results[0].summary, c.summary);
        EXPECT_EQ(results[1].verdict, Verdict::kNote);
        EXPECT_EQ(results[1].summary, c.loads ? summary({c.tally, options, {}}) : "not measured");
    }
    // What ran on another thread comes in through the same routes: each finding once, the first
    // cut-short kept, not loaded if either did not load.
    Gathered one, other;
    one.AddFinding(first);
    one.AddCutShort(Check::kRecords, cut);
    other.AddFinding(first);
    other.AddCutShort(Check::kRecords, first);
    other.tallies[Check::kRecords].loaded = false;
    one.Add(other);
    EXPECT_EQ(one.tallies[Check::kRecords].findings.size(), 1u);
    EXPECT_EQ(one.tallies[Check::kRecords].cutShort, cut);
    EXPECT_FALSE(one.tallies[Check::kRecords].loaded);
}

Line CallLine(int ordinal, std::uint32_t index)
{
    return {.kind = LineKind::kCall, .ordinal = ordinal, .index = index, .text = OrdinalLabel(ordinal)};
}

// Shows nothing.
struct Unwatched : Progress {
    void PhaseBegun(Phase) override {}
    void Begun(Phase, const char*) override {}
    void Counted(const char*, std::uint32_t, std::uint32_t, const std::string&) override {}
    void Ended(const char*) override {}
    void Report(const std::string&) override {}
};

// The table's scenarios played by a fake runner: each scenario's runs as scripted, in order; past
// the script's end a run that finished.
struct FakeRuns {
    std::map<std::string, std::vector<ChildRun>> script;
    std::vector<ScenarioOptions> asked{};
    Gathered gathered{};

    FakeRuns& Play()
    {
        const CheckOptions options{"C:\\DRAVEL.dll", 15, 50, "C:\\repro", ""};
        const TestFiles files("C:\\f");
        const auto summary = [](const SummaryInput&) { return std::string("kept"); };
        const CheckRow rows[] = {
            {Check::kExports, "exports", {{{"exports"}, {"unload"}}}, summary, Role::kJudged, Phase::kGate},
            {Check::kRecords, "records", {{{"records"}}}, summary, Role::kJudged, Phase::kInTurn},
            {Check::kEveryInputReturns,
             "every input returns",
             {{{.name = "sweep",
                .resumes = true,
                .plan = [](const TestFiles& f, std::uint32_t, std::uint32_t) { return SweepCalls(f); }},
               {.name = "echo", .resumes = true, .faultsElsewhere = true}}},
             summary,
             Role::kJudged,
             Phase::kInTurn},
            {Check::kFailingCalls,
             "its own calls may fail",
             {{{.name = "failing", .failurePoints = true}}},
             summary,
             Role::kJudged,
             Phase::kInTurn},
        };
        const ScenarioRuns runs(options, files,
                                {[this](const ScenarioOptions& asking, const ProgressSink&) {
                                     asked.push_back(asking);
                                     std::vector<ChildRun>& runs = script[asking.scenario];
                                     if (runs.empty()) return ChildRun{};
                                     const ChildRun run = runs.front();
                                     runs.erase(runs.begin());
                                     return run;
                                 },
                                 [](const std::vector<PlannedCall>& calls, const std::string& name) {
                                     return name + " of " + std::to_string(calls.size());
                                 }},
                                unwatched);
        runs.RunPhase(rows, Phase::kGate, gathered);
        if (gathered.Loads(rows)) runs.RunPhase(rows, Phase::kInTurn, gathered);
        results = Verdicts(rows, gathered, options, gathered.Loads(rows));
        return *this;
    }
    std::vector<CheckResult> results{};
    Unwatched unwatched{};
    std::string Summary(Check check) const
    {
        for (const CheckResult& result : results)
            if (result.check == check) return result.summary;
        return "";
    }
    int Runs(const std::string& scenario) const
    {
        return static_cast<int>(std::count_if(asked.begin(), asked.end(),
                                              [&](const ScenarioOptions& o) { return o.scenario == scenario; }));
    }
};

// DravelCheck's own failure is tried once more, then its check is not judged, never failed.
TEST(ScenarioRuns, AProcessThatDoesNotStartIsDravelChecksFailure)
{
    const ChildRun failed{.failure = "no more pipes (error 231)"};
    FakeRuns once{{{"records", {failed}}}};
    EXPECT_EQ(once.Play().Runs("records"), 2);
    EXPECT_EQ(ExitCode(once.results), 0) << once.Summary(Check::kRecords);
    FakeRuns twice{{{"records", {failed, failed}}}};
    EXPECT_EQ(twice.Play().Summary(Check::kRecords), "the scenario process did not start: no more pipes (error 231)");
    EXPECT_EQ(ExitCode(twice.results), 3);
}

// The gate's tally says whether the library loaded; what did not load is not loaded again.
TEST(ScenarioRuns, TheGateSaysWhetherTheLibraryLoaded)
{
    const Line loading{.kind = LineKind::kCall, .step = Step::kLoading, .ordinal = kNoOrdinal};
    const struct {
        ChildRun exports;
        const char* finding;  // none: it loaded
    } kCases[] = {
        {{.lines = {loading, {.kind = LineKind::kNotLoaded, .code = 126, .check = Check::kExports}}},
         "the library does not load: a library it imports from was not found (error 126)"},
        {{.lines = {loading}, .ending = Ending{.kind = Ending::Kind::kHung, .step = Step::kLoading, .seconds = 5}},
         "the library does not load: its DllMain did not return from loading within 5 s"},
        {{.lines = {{.kind = LineKind::kFinding, .finding = {Check::kExports, kMoveAndShow, "ordinal 4", "is not exported"}}}},
         nullptr},
    };
    for (const auto& c : kCases) {
        FakeRuns fake{{{"exports", {c.exports}}}};
        fake.Play();
        EXPECT_EQ(fake.Runs("unload"), c.finding ? 0 : 1);
        EXPECT_EQ(fake.Runs("records"), c.finding ? 0 : 1);
        if (c.finding) {
            EXPECT_EQ(fake.Summary(Check::kExports), c.finding);
        }
        EXPECT_EQ(fake.Summary(Check::kRecords), c.finding ? "the library does not load (check 1)" : "kept");
    }
}

// A scenario that resumes goes on after the call that ended it, with a reproducer of the calls up
// to it, until the same entry point fails the same way again; one whose faults are another's only
// goes on; another check's scenario cut short is noted on that check.
TEST(ScenarioRuns, EndedRunsResumeAndAreBlamedOnTheirCall)
{
    const Ending crash{.exitCode = 0xC0000005};
    const ChildRun at3{.lines = {CallLine(kSetAndShow, 3)}, .ending = crash};
    const ChildRun at8{.lines = {CallLine(kSetAndShow, 8)}, .ending = crash};
    FakeRuns fake{{{"sweep", {at3, at8}}, {"echo", {at3}}, {"records", {at8}}}};
    fake.Play();
    ASSERT_EQ(fake.asked.size(), 8u);  // exports, unload, records, sweep twice, failing, echo twice (finished)
    const std::vector<Finding>& found = fake.gathered.tallies[kFaultsCheck].findings;
    const std::string crashed = "ordinal 3 (Set & show) let an exception out (0xC0000005, access violation)";
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].Text(), "records: " + crashed);
    EXPECT_EQ(found[1].Text(), "sweep: " + crashed + " (sweep-1 of 4)");
    EXPECT_EQ(found[2].Text(), "sweep: " + crashed);
    EXPECT_EQ(fake.Runs("echo"), 2);
    EXPECT_EQ(fake.asked[4].skip, 4u);
    EXPECT_EQ(fake.Summary(Check::kRecords), "not finished: records: " + crashed + " (check 4)");
}

// Check 9's run goes on from the failure point after the one that crashed, with a reproducer of the
// lifecycles up to the crash, and counts what returned in every process.
TEST(ScenarioRuns, FailurePointsGoOnAfterTheOneThatCrashed)
{
    const Line returned{.kind = LineKind::kReturned, .ordinal = kOpen};
    const std::vector<Line> counting = {CallLine(kOpen, 0), returned,
                                        {.kind = LineKind::kCounted, .ordinal = kOpen, .index = 2, .text = "malloc"}};
    std::vector<Line> first = counting, second = counting;
    first.insert(first.end(), {{.kind = LineKind::kPoint, .ordinal = kOpen, .index = 0}, CallLine(kOpen, 0),
                               {.kind = LineKind::kFailing, .ordinal = kOpen, .index = 1, .text = "malloc"}});
    second.insert(second.end(), {{.kind = LineKind::kPoint, .ordinal = kOpen, .index = 1}, CallLine(kOpen, 0),
                                 {.kind = LineKind::kFailing, .ordinal = kOpen, .index = 2, .text = "malloc"}, returned});
    FakeRuns fake{{{"failing", {{.lines = first, .ending = Ending{.exitCode = 0xC0000005}}, {.lines = second}}}}};
    fake.Play();
    ASSERT_EQ(fake.Runs("failing"), 2);
    EXPECT_EQ(fake.asked[5].from, 1u);  // after exports, unload, records, sweep and the first
    const Tally& tally = fake.gathered.tallies[Check::kFailingCalls];
    ASSERT_EQ(tally.findings.size(), 1u);
    EXPECT_EQ(tally.findings[0].Text(),
              "ordinal 1 (Open) let an exception out (0xC0000005, access violation) after its 1st call to malloc "
              "failed (returned NULL) (failing-1 of 6)");
    EXPECT_EQ(tally.calls, 3);
    EXPECT_EQ(tally.measures, std::vector<std::string>{"2 failure points in 1 call (malloc): each entry point returned a "
                                                       "code and left nothing behind, and the next lifecycle worked"});
}

// Counted over one lifecycle, in its order: each entry point's wrapped calls are its failure
// points, up to the bound, which is said.
TEST(FailurePoints, PlannedFromTheCountsInLifecycleOrderUpToTheBound)
{
    const std::vector<CountedCall> counted = {{kClose, "free", 0},
                                              {kSetAndShow, "malloc", 3},
                                              {kOpen, "malloc", 1},
                                              {kOpen, "CreateWindowExA", 1},
                                              {kSetAndShow, "CreateDIBSection", 2}};
    const FailurePlan plan = PlanFailures(counted, 4);
    const std::vector<FailurePoint> points = {
        {kOpen, 1}, {kOpen, 2}, {kSetAndShow, 1}, {kSetAndShow, 2}, {kSetAndShow, 3}, {kSetAndShow, 4}};
    EXPECT_EQ(plan.points, points);
    EXPECT_EQ(plan.calls, (std::vector<std::string>{"malloc", "CreateWindowExA", "CreateDIBSection"}));
    EXPECT_EQ(plan.bounded, std::vector<int>{kSetAndShow});
    EXPECT_EQ(FailurePlanSummary(plan, 1),
              "6 failure points in 3 calls (malloc, CreateWindowExA, CreateDIBSection): each entry point returned a "
              "code and left nothing behind, and the next lifecycle worked; ordinal 3 (Set & show) made more wrapped "
              "calls than the bound of 4: its first 4 were made to fail; 1 not reached in a later lifecycle (the "
              "library made fewer calls)");
    EXPECT_TRUE(PlanFailures({}).points.empty());
    for (const auto& [n, text] : std::vector<std::pair<std::uint32_t, std::string>>{
             {1, "1st"}, {2, "2nd"}, {3, "3rd"}, {4, "4th"}, {11, "11th"}, {12, "12th"}, {13, "13th"}, {22, "22nd"}})
        EXPECT_EQ(Nth(n), text);
    EXPECT_EQ(AfterFailure({kOpen, "malloc", 1}, kOpen), "after its 1st call to malloc failed (returned NULL)");
    EXPECT_EQ(AfterFailure({kOpen, "CreateFileW", 3}, kSetAndShow),
              "after the 3rd call to CreateFileW of ordinal 1 (Open) failed (returned INVALID_HANDLE_VALUE)");
}

// A process cut short in a failure point is followed by one from the next; one cut short while
// counting is not. A box left after a call made to fail is check 9's, with that call.
TEST(FailurePoints, ARoundCutShortResumesAtTheNextPoint)
{
    const Finding box{kFaultsCheck, kSetAndShow, "ordinal 3 (Set & show)", "left a message box open: \"x\""};
    const std::vector<Line> counting = {
        CallLine(kOpen, 0),
        {.kind = LineKind::kReturned, .ordinal = kOpen},
        {.kind = LineKind::kCounted, .ordinal = kOpen, .index = 2, .text = "malloc"},
        CallLine(kSetAndShow, 0),
    };
    FailureRound round = ReadRound(counting);
    EXPECT_EQ(round.counted, (std::vector<CountedCall>{{kOpen, "malloc", 2}}));
    EXPECT_EQ(ResumeAt(round), std::nullopt);

    std::vector<Line> lines = counting;
    lines.insert(lines.end(), {{.kind = LineKind::kReturned, .ordinal = kSetAndShow},
                               {.kind = LineKind::kPoint, .ordinal = kOpen, .index = 5},
                               {.kind = LineKind::kPoint, .ordinal = kOpen, .index = 6},
                               CallLine(kOpen, 0),
                               {.kind = LineKind::kFailing, .ordinal = kOpen, .index = 1, .text = "malloc"},
                               {.kind = LineKind::kReturned, .ordinal = kOpen},
                               {.kind = LineKind::kFinding, .finding = box},
                               CallLine(kSetAndShow, 0)});
    round = ReadRound(lines);
    EXPECT_EQ(ResumeAt(round), 7u);
    EXPECT_EQ(round.unreached, 1u);
    EXPECT_EQ(round.returned, 3u);
    ASSERT_EQ(round.findings.size(), 1u);
    EXPECT_EQ(round.findings[0].Text(),
              "ordinal 3 (Set & show) left a message box open: \"x\" after the 1st call to malloc of ordinal 1 (Open) "
              "failed (returned NULL)");
    EXPECT_EQ(CutShortFinding(round, {.exitCode = 0xC0000005}).Text(),
              "ordinal 3 (Set & show) let an exception out (0xC0000005, access violation) after the 1st call to "
              "malloc of ordinal 1 (Open) failed (returned NULL)");
}

TEST(Progress, PhaseLineNamesItsScenariosInRunOrderAndStatusLineTheirCounts)
{
    const auto none = [](const SummaryInput&) { return std::string(); };
    const CheckRow rows[] = {
        {Check::kExports, "exports", {{{"exports"}, {"unload"}}}, none, Role::kJudged, Phase::kGate},
        {Check::kRecords, "records", {{{"records"}}}, none, Role::kJudged, Phase::kInTurn},
        {Check::kEveryInputReturns, "inputs", {{{"sweep"}, {"random"}}}, none, Role::kJudged, Phase::kInTurn},
    };
    EXPECT_EQ(PhaseLine(rows, Phase::kInTurn), "DravelCheck: in turn: records, sweep, random");
    const std::vector<UnderWay> underWay{{Phase::kInTurn, "sweep", 812, 1405, "calls"}, {Phase::kBeside, "cycles"}};
    const std::string line = "DravelCheck: in turn: sweep 812/1405 calls; beside: cycles";
    EXPECT_EQ(StatusLine(underWay, 79), line);
    // Cut short of the console's width, so that it never wraps.
    EXPECT_EQ(StatusLine(underWay, 20), line.substr(0, 20));
    EXPECT_EQ(StatusLine({}, 79), "");
}

// Exactly the edge pixels of the box that lie within the image, in a colour no image has.
TEST(Outline, LiesOnTheBoxEdgeInAnUnusedColour)
{
    constexpr int kWidth = 8, kHeight = 6;
    std::vector<std::uint32_t> pixels(kWidth * kHeight, 0xFF00FF);
    pixels[5] = 0xAA00FFFF;  // only the colour bits count
    const std::vector<std::uint32_t> other{0xFFFF00};
    const std::vector<const std::vector<std::uint32_t>*> images{&pixels, &other};
    const std::uint32_t colour = UnusedColour(images);
    EXPECT_EQ(colour, 0x00FF00u);
    // Reaching off the right end: its right edge is not drawn.
    DrawOutline(pixels, kWidth, {2, 1, 10, 4}, colour);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const bool edge = x >= 2 && y >= 1 && y <= 3 && (x == 2 || y == 1 || y == 3);
            EXPECT_EQ(pixels[y * kWidth + x] == colour, edge) << x << "," << y;
        }
    // With every vivid colour taken, the lowest one unused.
    const std::vector<std::uint32_t> vivid{0, 0xFF00FF, 0x00FFFF, 0xFFFF00, 0x00FF00, 0xFF0000};
    EXPECT_EQ(UnusedColour(std::vector{&vivid}), 1u);
}

// Turn by turn: '-' disturbed, '.' undisturbed and nothing seen, 's' a sure finding, 'u' an unsure
// one (the turn's number in its text), 'b' both. What is judged, and how many turns that took.
TEST(Turns, UnsureFindingsCountOnlyWhenTheNextUndisturbedTurnSeesThemToo)
{
    struct Row {
        const char* turns;
        std::optional<std::vector<std::string>> judged;
        int played;
    };
    using Texts = std::vector<std::string>;
    const Row rows[] = {
        {".", Texts{}, 1},
        {"s", Texts{"sure 0"}, 1},
        {"--s", Texts{"sure 2"}, 3},
        {"-----", std::nullopt, kTurns},
        {"u.", Texts{}, 2},                          // another program's doing
        {"u-u", Texts{"unsure 2"}, 3},               // the library's: the second one tells it
        {"b", Texts{"sure 0", "unsure 0"}, 1},       // the verdict stands on the sure one
        {"u----", std::nullopt, kTurns},             // never settled
    };
    for (const Row& row : rows) {
        int played = 0;
        const auto findings = UndisturbedFindings([&](int turn) {
            played = turn + 1;
            const char seen = row.turns[turn];
            TurnSeen result;
            result.disturbed = seen == '-';
            const std::string number = std::to_string(turn);
            if (seen == 's' || seen == 'b') result.findings.push_back({Check::kScreen, 1, "", "sure " + number});
            if (seen == 'u' || seen == 'b') result.unsure.push_back({Check::kScreen, 1, "", "unsure " + number});
            return result;
        });
        std::optional<Texts> judged;
        if (findings) judged = Texts{};
        for (const Finding& finding : findings.value_or(std::vector<Finding>{})) judged->push_back(finding.outcome);
        EXPECT_EQ(judged, row.judged) << row.turns;
        EXPECT_EQ(played, row.played) << row.turns;
    }
}

}  // namespace
