#include "console/result_report.h"

#include <cstdio>

namespace tavik {

std::string FormatResult(OverlayResult result)
{
    char text[11];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(result));
    return text;
}

void ReportResult(ConsoleWindow& window, const CommandReport& report, OverlayResult result)
{
    window.WriteText(report.resultField, FormatResult(result));
    if (result != 0) window.ShowStopBox(report.failureText, report.caption);
}

}  // namespace tavik
