#include "check/run/progress.h"

#include <windows.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "check/run/progress_text.h"

namespace check {

namespace {

bool IsConsole(DWORD standard)
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(standard), &mode) != FALSE;
}

// One writer at a time: the scenarios beside the others tell their progress from their own thread.
class Locked {
public:
    explicit Locked(SRWLOCK& lock) : m_lock(lock) { AcquireSRWLockExclusive(&m_lock); }
    ~Locked() { ReleaseSRWLockExclusive(&m_lock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

private:
    SRWLOCK& m_lock;
};

// Through the runtime's low-level write, which ends lines as the stream does, in one go: the
// stream functions write an unbuffered stream to a console a character at a time, and Wine's
// console takes about a millisecond for each.
void Write(const std::string& text, std::FILE* stream)
{
    std::fflush(stream);
    _write(_fileno(stream), text.data(), static_cast<unsigned>(text.size()));
}

class PhaseLines : public NoProgress {
public:
    void PhaseBegun(Phase phase) override
    {
        const Locked locked(m_lock);
        Write(PhaseLine(kChecks, phase) + "\n", stderr);
    }
    void Report(const std::string& text) override
    {
        const Locked locked(m_lock);
        NoProgress::Report(text);
    }

private:
    SRWLOCK m_lock = SRWLOCK_INIT;
};

class ConsoleLine : public Progress {
public:
    void PhaseBegun(Phase) override {}
    void Begun(Phase phase, const char* scenario) override
    {
        const Locked locked(m_lock);
        m_underWay.push_back({phase, scenario});
        Show();
    }
    void Counted(const char* scenario, std::uint32_t done, std::uint32_t total, const std::string& what) override
    {
        const Locked locked(m_lock);
        for (UnderWay& one : m_underWay)
            if (one.scenario == std::string(scenario)) {
                one.done = done;
                one.total = total;
                one.counted = what;
            }
        // Counts change often, and Wine's console takes about a millisecond a character.
        if (GetTickCount64() - m_shownAt >= kCountEveryMs) Show();
    }
    void Ended(const char* scenario) override
    {
        const Locked locked(m_lock);
        std::erase_if(m_underWay, [scenario](const UnderWay& one) { return one.scenario == std::string(scenario); });
        Show();
    }
    void Report(const std::string& text) override
    {
        const Locked locked(m_lock);
        Clear();
        Write(text, stdout);
        Show();
    }

private:
    // Kept short of the console's width: a line that wraps cannot be written over in place.
    static std::size_t Width()
    {
        CONSOLE_SCREEN_BUFFER_INFO info{};
        if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info) || info.dwSize.X < 2) return 79;
        return static_cast<std::size_t>(info.dwSize.X) - 1;
    }
    void Show()
    {
        const std::string line = StatusLine(m_underWay, Width());
        if (line == m_shown) return;
        if (line.empty()) return Clear();
        // What is longer of the last line is blanked out.
        const std::size_t blank = m_shown.size() > line.size() ? m_shown.size() - line.size() : 0;
        Write("\r" + line + std::string(blank, ' '), stderr);
        m_shown = line;
        m_shownAt = GetTickCount64();
    }
    void Clear()
    {
        if (m_shown.empty()) return;
        Write("\r" + std::string(m_shown.size(), ' ') + "\r", stderr);
        m_shown.clear();
    }

    static constexpr ULONGLONG kCountEveryMs = 250;
    SRWLOCK m_lock = SRWLOCK_INIT;
    std::vector<UnderWay> m_underWay;
    std::string m_shown;
    ULONGLONG m_shownAt = 0;
};

}  // namespace

void NoProgress::Report(const std::string& text)
{
    Write(text, stdout);
}

std::unique_ptr<Progress> ProgressOnStandardError(const std::string& library, bool reportShowsLibrary)
{
    const bool console = IsConsole(STD_ERROR_HANDLE);
    if (!(console && reportShowsLibrary && IsConsole(STD_OUTPUT_HANDLE))) Write("DravelCheck: checking " + library + "\n", stderr);
    if (console) return std::make_unique<ConsoleLine>();
    return std::make_unique<PhaseLines>();
}

}  // namespace check
