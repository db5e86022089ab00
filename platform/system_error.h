// The system's own words for an error number, as GetLastError gives it.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// "The system cannot find the file specified. (error 2)": the system's English text where it has
// one, else its text in the user's language, without its line end; the number alone when it has
// none.
std::string SystemErrorText(DWORD error);

}  // namespace platform
