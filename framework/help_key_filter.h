#pragma once

namespace fw {

// While one of these lives on a thread, F1 pressed without Shift, Ctrl or Alt in one of the
// framework's dialogs becomes the help command (kHelpCommand) of the application's main window.
// It watches the messages of the platform's modal dialog loops, which no code of ours runs.
class HelpKeyFilter {
public:
    HelpKeyFilter();
    ~HelpKeyFilter();
    HelpKeyFilter(const HelpKeyFilter&) = delete;
    HelpKeyFilter& operator=(const HelpKeyFilter&) = delete;
};

}  // namespace fw
