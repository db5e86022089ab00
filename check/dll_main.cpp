#include "check/dll_main.h"

#include "check/library_image.h"

namespace check {

namespace {

struct Step {
    const char* call;
    const char* what;  // what DllMain was doing
    bool loading;
};

constexpr Step kSteps[] = {
    {kLoadingStep, "loading", true},
    {kUnloadingStep, "unloading (FreeLibrary)", false},
    {kEndingStep, "unloading at the process's end", false},
};

}  // namespace

std::optional<Finding> DllMainFault(const Finding& fault)
{
    for (const Step& step : kSteps) {
        if (fault.call != step.call) continue;
        constexpr char kHung[] = "did not return";
        const std::size_t hung = fault.outcome.find(kHung);
        const std::string said =
            "its DllMain " + (hung == std::string::npos ? fault.outcome + " while " + step.what
                                                        : fault.outcome.substr(0, hung) + kHung + " from " + step.what +
                                                              fault.outcome.substr(hung + sizeof kHung - 1));
        return Finding{Check::kExports, fault.ordinal, "",
                       step.loading ? NotLoading(said) : said + ": the console could not end"};
    }
    return std::nullopt;
}

}  // namespace check
