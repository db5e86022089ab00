// The real program with the real library, as a process of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "process/dialog_boxes.h"
#include "res/resource.h"

namespace {

HWND WaitForConsoleOf(DWORD id)
{
    for (int tries = 0; tries < 300; ++tries) {
        for (const HWND box : process::DialogBoxesOf(id)) {
            wchar_t title[16] = {};
            GetWindowTextW(box, title, 16);
            if (std::wstring(title) == L"Tavik") return box;
        }
        Sleep(50);
    }
    return nullptr;
}

TEST(TavikExe, StartsShowsTheConsoleAndEndsWithOk)
{
    wchar_t path[MAX_PATH] = {};
    std::wstring program(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    program = program.substr(0, program.find_last_of(L'\\') + 1) + L"Tavik.exe";

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(
        CreateProcessW(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        << "error " << GetLastError();

    const HWND console = WaitForConsoleOf(process.dwProcessId);
    EXPECT_NE(console, nullptr) << "no console window appeared";
    if (console) {
        PostMessageW(console, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(console, IDOK)));
    }
    if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "Tavik.exe did not end";
        TerminateProcess(process.hProcess, 1);
    }
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
