#include "console/result_report.h"

#include "overlay/overlay_result_text.h"

namespace tavik {

void ReportResult(ConsoleWindow& window, const CommandReport& report, OverlayResult result)
{
    window.WriteText(report.resultField, overlay::ResultText(result));
    if (result != 0) window.ShowStopBox(report.failureText, report.caption);
}

}  // namespace tavik
