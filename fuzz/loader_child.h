// A child process that hands file after file to the platform's bitmap loader, so that a file
// which crashes or hangs the loader is attributed to that file and the run goes on with a fresh
// child.
#pragma once

#include <string>

#include <windows.h>

namespace tavik::fuzz {

enum class LoadOutcome { kLoaded, kRefused, kCrashed, kHung };

class LoaderChild {
public:
    // The child is this program started with `childArgument`; it must answer each path line
    // with "1" (loaded) or "0" (refused) on a line of its own.
    explicit LoaderChild(std::string childArgument) : m_childArgument(std::move(childArgument)) {}
    ~LoaderChild() { Stop(); }
    LoaderChild(const LoaderChild&) = delete;
    LoaderChild& operator=(const LoaderChild&) = delete;

    LoadOutcome Load(const std::string& path, DWORD timeoutMs);

    // How the last crashed child ended, e.g. 0xC0000005.
    DWORD LastExitCode() const { return m_exitCode; }

private:
    bool Start();
    void Stop();
    bool Send(const std::string& line);

    std::string m_childArgument;
    HANDLE m_process = nullptr;
    HANDLE m_toChild = nullptr;
    HANDLE m_fromChild = nullptr;
    DWORD m_exitCode = 0;
};

}  // namespace tavik::fuzz
