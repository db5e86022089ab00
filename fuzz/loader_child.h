// A child process that hands file after file to the platform's bitmap loader, so that a file
// which crashes or hangs the loader is attributed to that file and the run goes on with a fresh
// child.
#pragma once

#include <windows.h>

#include <string>

#include "process/child.h"

namespace tavik::fuzz {

enum class LoadOutcome { kLoaded, kRefused, kCrashed, kHung };

class LoaderChild {
public:
    // The child is this program started with `childArgument`; it must answer each path line
    // with "1" (loaded) or "0" (refused) on a line of its own.
    explicit LoaderChild(std::string childArgument) : m_childArgument(std::move(childArgument)) {}

    LoadOutcome Load(const std::string& path, DWORD timeoutMs);

    // How the last crashed child ended, e.g. 0xC0000005.
    DWORD LastExitCode() const { return m_child.ExitCode(); }

private:
    std::string m_childArgument;
    process::Child m_child;
};

}  // namespace tavik::fuzz
