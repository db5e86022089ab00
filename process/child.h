// A child process whose standard output this process reads through a pipe, line by line and with
// a deadline, and whose standard input is a pipe too when asked for. Its standard error is ours.
#pragma once

#include <windows.h>

#include <vector>
#include <string>

namespace process {

// `program` and `arguments`, each quoted once by the rules programs use to split their command
// line: backslashes before a quote are doubled and the quote escaped.
std::string CommandLine(const std::string& program, const std::vector<std::string>& arguments);

class Child {
public:
    Child() = default;
    // Ends the child if it still runs.
    ~Child() { End(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Starts `commandLine`; with `input`, its standard input is a pipe for Write. False when it
    // cannot start, StartError then saying why. A child already started is ended first.
    bool Start(const std::string& commandLine, bool input = false);
    DWORD Id() const { return m_id; }
    // GetLastError of the call that failed in Start: making a pipe or the process.
    DWORD StartError() const { return m_startError; }

    bool Write(const std::string& text);

    enum class Read { kLine, kExited, kTimedOut };
    // The next line of its output, without its line end, once one is complete. kExited when it
    // has ended and all it wrote has been read (a last line without its end is dropped);
    // kTimedOut when no line came within `timeoutMs`.
    Read ReadLine(std::string& line, DWORD timeoutMs);

    // Terminates the child if it still runs, and lets it go. Its exit code stays readable.
    void End();
    DWORD ExitCode() const { return m_exitCode; }

private:
    bool TakeLine(std::string& line);
    bool ReadAvailable();

    HANDLE m_process = nullptr;
    HANDLE m_toChild = nullptr;
    HANDLE m_fromChild = nullptr;
    DWORD m_id = 0;
    DWORD m_exitCode = 0;
    DWORD m_startError = 0;
    std::string m_pending;
};

}  // namespace process
