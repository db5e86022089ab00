#include "fuzz/loader_child.h"

#include <stdexcept>

#include "framework/module_path.h"

namespace tavik::fuzz {

namespace {

void CloseIfOpen(HANDLE& handle)
{
    if (handle != nullptr) CloseHandle(handle);
    handle = nullptr;
}

}  // namespace

bool LoaderChild::Start()
{
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE childIn = nullptr;
    HANDLE childOut = nullptr;
    if (!CreatePipe(&childIn, &m_toChild, &inheritable, 0)) return false;
    if (!CreatePipe(&m_fromChild, &childOut, &inheritable, 0)) {
        CloseHandle(childIn);
        return false;
    }
    // Only the child's ends are inherited, so the pipes break when the child dies.
    SetHandleInformation(m_toChild, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(m_fromChild, HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childIn;
    startup.hStdOutput = childOut;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string commandLine = '"' + fw::ModuleFileName() + "\" " + m_childArgument;
    PROCESS_INFORMATION process{};
    const bool started = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                        &startup, &process);
    CloseHandle(childIn);
    CloseHandle(childOut);
    if (!started) return false;
    CloseHandle(process.hThread);
    m_process = process.hProcess;
    return true;
}

void LoaderChild::Stop()
{
    CloseIfOpen(m_toChild);
    CloseIfOpen(m_fromChild);
    if (m_process != nullptr) {
        TerminateProcess(m_process, 1);
        WaitForSingleObject(m_process, INFINITE);
    }
    CloseIfOpen(m_process);
}

bool LoaderChild::Send(const std::string& line)
{
    DWORD written = 0;
    return WriteFile(m_toChild, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
           written == line.size();
}

LoadOutcome LoaderChild::Load(const std::string& path, DWORD timeoutMs)
{
    // A child that died between files is restarted; the file is not to blame.
    if (m_process == nullptr || !Send(path + '\n')) {
        Stop();
        if (!Start() || !Send(path + '\n')) throw std::runtime_error("cannot start the loading child");
    }
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    std::string answer;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(m_fromChild, nullptr, 0, nullptr, &available, nullptr)) available = 0;
        char c = 0;
        DWORD read = 0;
        if (available > 0 && ReadFile(m_fromChild, &c, 1, &read, nullptr) && read == 1) {
            if (c != '\n') {
                answer += c;
                continue;
            }
            // The child's stdout is in text mode: the line may end in "\r\n".
            return answer.starts_with('1') ? LoadOutcome::kLoaded : LoadOutcome::kRefused;
        }
        // Waiting on the process doubles as the pause between polls of the pipe.
        if (WaitForSingleObject(m_process, 1) == WAIT_OBJECT_0) {
            GetExitCodeProcess(m_process, &m_exitCode);
            Stop();
            return LoadOutcome::kCrashed;
        }
        if (GetTickCount64() > deadline) {
            Stop();
            return LoadOutcome::kHung;
        }
    }
}

}  // namespace tavik::fuzz
