#pragma once

#include "framework/win_app.h"

namespace tavik {

// The application: runs the test console as its one window.
class CTavikApp : public fw::CWinApp {
public:
    bool InitInstance() override;
    const char* HelpFailedText() const override;
};

}  // namespace tavik
