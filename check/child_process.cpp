#include "check/child_process.h"

#include <algorithm>

namespace check {

namespace {

struct ChildBoxes {
    DWORD process;
    std::vector<std::string> texts;
};

BOOL CALLBACK KeepChildBox(HWND window, LPARAM found)
{
    auto& boxes = *reinterpret_cast<ChildBoxes*>(found);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (process != boxes.process || std::string(name) != "#32770") return TRUE;
    char text[256] = {};
    GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
    boxes.texts.push_back(text);
    return TRUE;
}

// Moves the complete lines of `pending` into `lines`.
void TakeLines(std::string& pending, std::vector<std::string>& lines)
{
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos; pending.erase(0, end + 1)) {
        std::string line = pending.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
    }
}

}  // namespace

std::string Quoted(const std::string& argument)
{
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

ChildRun RunChild(const std::string& commandLine, DWORD silenceMs)
{
    ChildRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writeEnd;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION child{};
    std::string command = commandLine;
    const bool started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return run;
    }
    CloseHandle(child.hThread);

    std::string pending;
    ULONGLONG heard = GetTickCount64();
    for (bool exited = false; !exited;) {
        exited = WaitForSingleObject(child.hProcess, 20) == WAIT_OBJECT_0;
        DWORD available = 0;
        while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            char buffer[4096];
            DWORD read = 0;
            if (!ReadFile(readEnd, buffer, std::min<DWORD>(available, sizeof buffer), &read, nullptr)) break;
            pending.append(buffer, read);
            heard = GetTickCount64();
        }
        TakeLines(pending, run.lines);
        if (!exited && GetTickCount64() - heard > silenceMs) {
            ChildBoxes boxes{child.dwProcessId, {}};
            EnumWindows(KeepChildBox, reinterpret_cast<LPARAM>(&boxes));
            run.openBoxes = boxes.texts;
            TerminateProcess(child.hProcess, 1);
            WaitForSingleObject(child.hProcess, INFINITE);
            run.end = ChildRun::End::kSilent;
            break;
        }
        if (exited) run.end = ChildRun::End::kExited;
    }
    GetExitCodeProcess(child.hProcess, &run.exitCode);
    CloseHandle(child.hProcess);
    CloseHandle(readEnd);
    return run;
}

}  // namespace check
