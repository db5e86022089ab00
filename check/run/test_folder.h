// The test files made and removed by the checking process, in a folder of its own under the
// system's temporary one.
#pragma once

#include <optional>
#include <string>

#include "check/test_files.h"

namespace check {

// The files in a folder whose name is begun by `prefix` and ends with this process's id.
TestFiles TempTestFiles(const std::string& prefix);

// Makes the folder and writes the bitmaps; nullopt, or what could not be made and the system's
// reason.
std::optional<std::string> MakeTestFiles(const TestFiles& files);
void RemoveTestFiles(const TestFiles& files);

}  // namespace check
