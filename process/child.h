// A child process whose standard output this process reads through a pipe, line by line and with
// a deadline, and whose standard input and standard error are pipes too when asked for; otherwise
// they are this process's own.
#pragma once

#include <windows.h>

#include <vector>
#include <string>

namespace process {

// `program` and `arguments`, each quoted once by the rules programs use to split their command
// line: backslashes before a quote are doubled and the quote escaped.
std::string CommandLine(const std::string& program, const std::vector<std::string>& arguments);

// Which of a child's standard handles, besides its output, are pipes to this process.
struct ChildPipes {
    bool input = false;   // its standard input, for Child::Write
    bool errors = false;  // its standard error, for Child::Errors
};

class Child {
public:
    Child() = default;
    // Ends the child if it still runs.
    ~Child() { End(); }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // Starts `commandLine` with the pipes asked for. False when it cannot start, StartError then
    // saying why. A child already started is ended first.
    bool Start(const std::string& commandLine, ChildPipes pipes = {});
    DWORD Id() const { return m_id; }
    // GetLastError of the call that failed in Start: making a pipe or the process.
    DWORD StartError() const { return m_startError; }

    // The end of what it wrote to its standard error, when that is a pipe: what a runtime says as
    // it ends the process comes last. Read while its lines are.
    const std::string& Errors() const { return m_errors; }

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
    HANDLE m_errorsFromChild = nullptr;
    DWORD m_id = 0;
    DWORD m_exitCode = 0;
    DWORD m_startError = 0;
    std::string m_pending;
    std::string m_errors;
};

}  // namespace process
