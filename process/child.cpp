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

// An inheritable copy of one of this process's handles, for a child; nullptr for none.
HANDLE InheritableCopy(HANDLE handle)
{
    const HANDLE process = GetCurrentProcess();
    HANDLE copy = nullptr;
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(process, handle, process, &copy, 0, TRUE, DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

// What Errors keeps of a child's standard error.
constexpr std::size_t kErrorsKept = 4096;

// Appends what `pipe` holds now to `text`; whether it held anything.
bool Drain(HANDLE pipe, std::string& text)
{
    bool read = false;
    DWORD available = 0;
    while (pipe != nullptr && PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        char buffer[4096];
        DWORD got = 0;
        if (!ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr)) break;
        text.append(buffer, got);
        read = true;
    }
    return read;
}

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

bool Child::Start(const std::string& commandLine, ChildPipes pipes)
{
    End();
    m_pending.clear();
    m_errors.clear();
    m_exitCode = 0;
    m_startError = 0;
    HANDLE childIn = nullptr;
    HANDLE childOut = nullptr;
    HANDLE childError = nullptr;
    if (!CreatePipe(&m_fromChild, &childOut, nullptr, 0) ||
        (pipes.input && !CreatePipe(&childIn, &m_toChild, nullptr, 0)) ||
        (pipes.errors && !CreatePipe(&m_errorsFromChild, &childError, nullptr, 0))) {
        m_startError = GetLastError();
        for (HANDLE* handle : {&childIn, &childOut, &childError}) CloseIfOpen(*handle);
        End();
        return false;
    }
    // Only the child's ends are inherited, so a pipe breaks when the child ends.
    for (const HANDLE handle : {childIn, childOut, childError})
        if (handle != nullptr) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    if (!pipes.input) childIn = InheritableCopy(GetStdHandle(STD_INPUT_HANDLE));
    if (!pipes.errors) childError = InheritableCopy(GetStdHandle(STD_ERROR_HANDLE));

    // Children are started from more than one thread at once: each inherits its own handles and
    // none of another's, which would keep that one's pipe open after it ended.
    HANDLE inherited[3];
    DWORD count = 0;
    for (const HANDLE handle : {childIn, childOut, childError})
        if (handle != nullptr) inherited[count++] = handle;
    SIZE_T listBytes = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &listBytes);
    std::string listBuffer(listBytes, '\0');
    auto* const list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listBuffer.data());
    const bool listed = InitializeProcThreadAttributeList(list, 1, 0, &listBytes) &&
                        UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                                  count * sizeof(HANDLE), nullptr, nullptr);

    STARTUPINFOEXA startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = childIn;
    startup.StartupInfo.hStdOutput = childOut;
    startup.StartupInfo.hStdError = childError;
    startup.lpAttributeList = list;
    std::string line = commandLine;  // CreateProcessA may write to it
    PROCESS_INFORMATION started{};
    const bool ok = listed && CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, EXTENDED_STARTUPINFO_PRESENT,
                                             nullptr, nullptr, &startup.StartupInfo, &started);
    if (!ok) m_startError = GetLastError();
    if (listed) DeleteProcThreadAttributeList(list);
    CloseIfOpen(childIn);
    CloseIfOpen(childOut);
    CloseIfOpen(childError);
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
    // Both pipes are emptied, so that a child writing much to one never waits on it.
    const bool read = Drain(m_fromChild, m_pending);
    if (!Drain(m_errorsFromChild, m_errors)) return read;
    if (m_errors.size() > kErrorsKept) m_errors.erase(0, m_errors.size() - kErrorsKept);
    return true;
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
    CloseIfOpen(m_errorsFromChild);
    if (m_process != nullptr) {
        if (WaitForSingleObject(m_process, 0) != WAIT_OBJECT_0) TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, INFINITE);
        GetExitCodeProcess(m_process, &m_exitCode);
    }
    CloseIfOpen(m_process);
}

}  // namespace process
