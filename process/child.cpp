#include "process/child.h"

#include <algorithm>

namespace process {

namespace {

void CloseIfOpen(HANDLE& handle)
{
    if (handle != nullptr) CloseHandle(handle);
    handle = nullptr;
}

// The longest pause between two looks at a silent child's pipe; the first pauses are shorter, so
// that a quick answer is taken at once.
constexpr DWORD kLongestPollMs = 4;

std::string Quoted(const std::string& argument)
{
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

}  // namespace

std::string CommandLine(const std::string& program, const std::vector<std::string>& arguments)
{
    std::string line = Quoted(program);
    for (const std::string& argument : arguments) line += " " + Quoted(argument);
    return line;
}

bool Child::Start(const std::string& commandLine, bool input)
{
    End();
    m_pending.clear();
    m_exitCode = 0;
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE childIn = nullptr;
    HANDLE childOut = nullptr;
    if (!CreatePipe(&m_fromChild, &childOut, &inheritable, 0)) return false;
    if (input && !CreatePipe(&childIn, &m_toChild, &inheritable, 0)) {
        CloseIfOpen(childOut);
        CloseIfOpen(m_fromChild);
        return false;
    }
    // Only the child's ends are inherited, so a pipe breaks when the child ends.
    SetHandleInformation(m_fromChild, HANDLE_FLAG_INHERIT, 0);
    if (m_toChild) SetHandleInformation(m_toChild, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input ? childIn : GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = childOut;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string line = commandLine;  // CreateProcessA may write to it
    PROCESS_INFORMATION started{};
    const bool ok =
        CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started);
    CloseIfOpen(childIn);
    CloseIfOpen(childOut);
    if (!ok) {
        End();
        return false;
    }
    CloseHandle(started.hThread);
    m_process = started.hProcess;
    m_id = started.dwProcessId;
    return true;
}

bool Child::Write(const std::string& text)
{
    DWORD written = 0;
    return m_toChild != nullptr &&
           WriteFile(m_toChild, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

bool Child::TakeLine(std::string& line)
{
    const std::size_t end = m_pending.find('\n');
    if (end == std::string::npos) return false;
    line = m_pending.substr(0, end);
    // A child writing in text mode ends its lines with "\r\n".
    if (!line.empty() && line.back() == '\r') line.pop_back();
    m_pending.erase(0, end + 1);
    return true;
}

bool Child::ReadAvailable()
{
    bool read = false;
    DWORD available = 0;
    while (PeekNamedPipe(m_fromChild, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(m_fromChild, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr)) break;
        m_pending.append(buffer, got);
        read = true;
    }
    return read;
}

Child::Read Child::ReadLine(std::string& line, DWORD timeoutMs)
{
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (DWORD pause = 1;;) {
        if (TakeLine(line)) return Read::kLine;
        if (m_process == nullptr) return Read::kExited;
        // Whether it had ended is asked before the pipe is read, so nothing it wrote is missed.
        const bool exited = WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
        if (ReadAvailable()) {
            pause = 1;
            continue;
        }
        if (exited) {
            GetExitCodeProcess(m_process, &m_exitCode);
            return Read::kExited;
        }
        if (GetTickCount64() >= deadline) return Read::kTimedOut;
        // Waiting on the process doubles as the pause between looks at the pipe.
        WaitForSingleObject(m_process, pause);
        pause = std::min(2 * pause, kLongestPollMs);
    }
}

void Child::End()
{
    CloseIfOpen(m_toChild);
    CloseIfOpen(m_fromChild);
    if (m_process != nullptr) {
        if (WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0) TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, INFINITE);
        GetExitCodeProcess(m_process, &m_exitCode);
    }
    CloseIfOpen(m_process);
}

}  // namespace process
