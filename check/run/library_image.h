// What can be told about a library file before it is loaded: whether it is there, is a Windows
// image at all, and is built for this checker's architecture. A file that fails here cannot be
// judged, and the user is told why in words instead of with a loader error number.
#pragma once

#include <optional>
#include <string>

namespace check {

// Why `path` cannot be checked by this build, naming the file; nullopt for a DLL of this
// architecture.
std::optional<std::string> UnjudgeableImage(const std::string& path);

}  // namespace check
