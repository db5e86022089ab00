#include "check/run/ending.h"

#include "check/run/abnormal_end.h"

namespace check {

namespace {

constexpr char kDoesNotLoad[] = "the library does not load";

// What DllMain was doing in each step.
constexpr const char* kStepDoings[] = {"", "loading", "unloading (FreeLibrary)", "unloading at the process's end"};
static_assert(std::size(kStepDoings) == std::size(kStepNames), "a doing for each step");

std::string Hung(const Ending& ending, const std::string& from)
{
    return (ending.box.empty() ? "" : "showed a message box \"" + ending.box + "\" and ") + "did not return" + from +
           " within " + std::to_string(ending.seconds) + " s";
}

// What DllMain did in the step.
std::string DllMainOutcome(const Ending& ending)
{
    const std::string doing = kStepDoings[static_cast<int>(ending.step)];
    const std::string did = ending.kind == Ending::Kind::kHung
                                ? Hung(ending, " from " + doing)
                                : AbnormalEnd(ending.exitCode, ending.dying, ending.errors) + " while " + doing;
    return "its DllMain " + did;
}

std::string CallOutcome(const Ending& ending)
{
    switch (ending.kind) {
        case Ending::Kind::kHung:
            return Hung(ending, "");
        case Ending::Kind::kSilent:
            return "went silent between calls for " + std::to_string(ending.seconds) + " s";
        case Ending::Kind::kExited:
            break;
    }
    return AbnormalEnd(ending.exitCode, ending.dying, ending.errors);
}

}  // namespace

Finding FindingOf(const Ending& ending, const InProgress& call, const std::string& scenario)
{
    if (ending.step == Step::kCall || ending.kind == Ending::Kind::kSilent)
        return {kFaultsCheck, call.ordinal, call.call, CallOutcome(ending), scenario};
    const std::string said = DllMainOutcome(ending);
    return {kDllMainCheck, kNoOrdinal, "",
            EndedLoading(ending) ? std::string(kDoesNotLoad) + ": " + said : said + ": the console could not end"};
}

std::string NotLoadingText(std::uint32_t error)
{
    // The loader's numbers, as GetLastError gives them after LoadLibrary.
    const std::string number = "(error " + std::to_string(error) + ")";
    switch (error) {
        case 126:  // ERROR_MOD_NOT_FOUND
            return std::string(kDoesNotLoad) + ": a library it imports from was not found " + number;
        case 127:  // ERROR_PROC_NOT_FOUND
            return std::string(kDoesNotLoad) + ": a function it imports is missing from its library " + number;
        case 1114:  // ERROR_DLL_INIT_FAILED
            return std::string(kDoesNotLoad) + ": its DllMain refused to load it " + number;
        case 998:  // ERROR_NOACCESS: the loader caught an access violation in DllMain
            return FindingOf({.step = Step::kLoading, .exitCode = 0xC0000005}, {}, "").outcome + " " + number;
        case 193:  // ERROR_BAD_EXE_FORMAT
            return std::string(kDoesNotLoad) + ": the system does not take it as a library " + number;
        case 8:   // ERROR_NOT_ENOUGH_MEMORY
        case 14:  // ERROR_OUTOFMEMORY
            return std::string(kDoesNotLoad) + ": not enough memory " + number;
    }
    return std::string(kDoesNotLoad) + " " + number;
}

}  // namespace check
