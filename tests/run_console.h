// The real console against the fake library, for the tests that drive it.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "tests/dialog_driver.h"

namespace tavik::test {

// Runs a console on FakeOverlay::table through DialogDriver::Run and returns how it ended.
INT_PTR RunConsole(const DialogDriver::Script& script, UINT limitMs = 10000);

// The text of every control of the console that has one, by id.
std::map<int, std::wstring> TextsOf(const DialogDriver& driver);

}  // namespace tavik::test
