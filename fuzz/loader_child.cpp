#include "fuzz/loader_child.h"

#include <stdexcept>

#include "platform/module_path.h"

namespace tavik::fuzz {

LoadOutcome LoaderChild::Load(const std::string& path, DWORD timeoutMs)
{
    // A child that died between files is restarted; the file is not to blame.
    if (!m_child.Write(path + '\n')) {
        if (!m_child.Start(process::CommandLine(platform::ModuleFileName(), {m_childArgument}), {.input = true}) ||
            !m_child.Write(path + '\n'))
            throw std::runtime_error("cannot start the loading child");
    }
    std::string answer;
    switch (m_child.ReadLine(answer, timeoutMs)) {
        case process::Child::Read::kLine:
            return answer.starts_with('1') ? LoadOutcome::kLoaded : LoadOutcome::kRefused;
        case process::Child::Read::kExited:
            m_child.End();
            return LoadOutcome::kCrashed;
        case process::Child::Read::kTimedOut:
            break;
    }
    m_child.End();
    return LoadOutcome::kHung;
}

}  // namespace tavik::fuzz
