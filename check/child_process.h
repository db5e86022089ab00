// Runs a command as a child process and reads its standard output line by line, ending it when it
// stays silent too long. Before it is ended, the dialogs it has open are noted: a library that
// waits on a message box hangs its caller.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace check {

struct ChildRun {
    enum class End { kExited, kSilent, kNotStarted } end = End::kNotStarted;
    DWORD exitCode = 0;
    std::vector<std::string> lines;
    // The texts of the child's message boxes when it was ended for silence.
    std::vector<std::string> openBoxes;
};

ChildRun RunChild(const std::string& commandLine, DWORD silenceMs);

// A command-line argument quoted for CommandLineToArgv rules.
std::string Quoted(const std::string& argument);

}  // namespace check
