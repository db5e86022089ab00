// The five library commands of the console, free of any window: they read fields through
// ConsoleWindow, call the library through its entry-point table and report the result.
#pragma once

#include "console/console_window.h"
#include "overlay/overlay_entry_points.h"

namespace tavik {

void RunOpen(ConsoleWindow& window, const OverlayEntryPoints& overlay);
void RunClose(ConsoleWindow& window, const OverlayEntryPoints& overlay);
void RunClearSetting(ConsoleWindow& window, const OverlayEntryPoints& overlay);
void RunSetAndShow(ConsoleWindow& window, const OverlayEntryPoints& overlay);
void RunMoveAndShow(ConsoleWindow& window, const OverlayEntryPoints& overlay);

}  // namespace tavik
