#include "platform/system_error.h"

namespace platform {

std::string SystemErrorText(DWORD error)
{
    const std::string number = "(error " + std::to_string(error) + ")";
    char text[512] = {};
    DWORD length = 0;
    for (const WORD language : {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)})
        if (length == 0)
            length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, language,
                                    text, sizeof text, nullptr);
    std::string said(text, length);
    while (!said.empty() && (said.back() == '\n' || said.back() == '\r' || said.back() == ' ')) said.pop_back();
    return said.empty() ? number : said + " " + number;
}

}  // namespace platform
