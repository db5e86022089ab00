#include "check/system_names.h"

#include <algorithm>
#include <iterator>

#include "check/numbers.h"

namespace check {

namespace {

struct Named {
    unsigned value;
    const char* name;
};

// In number order, so that one is found by halving.
constexpr Named kMessages[] = {
    {0x0000, "WM_NULL"},
    {0x0001, "WM_CREATE"},
    {0x0002, "WM_DESTROY"},
    {0x0003, "WM_MOVE"},
    {0x0005, "WM_SIZE"},
    {0x0006, "WM_ACTIVATE"},
    {0x0007, "WM_SETFOCUS"},
    {0x0008, "WM_KILLFOCUS"},
    {0x000A, "WM_ENABLE"},
    {0x000B, "WM_SETREDRAW"},
    {0x000C, "WM_SETTEXT"},
    {0x000D, "WM_GETTEXT"},
    {0x000E, "WM_GETTEXTLENGTH"},
    {0x000F, "WM_PAINT"},
    {0x0010, "WM_CLOSE"},
    {0x0011, "WM_QUERYENDSESSION"},
    {0x0012, "WM_QUIT"},
    {0x0013, "WM_QUERYOPEN"},
    {0x0014, "WM_ERASEBKGND"},
    {0x0015, "WM_SYSCOLORCHANGE"},
    {0x0016, "WM_ENDSESSION"},
    {0x0018, "WM_SHOWWINDOW"},
    {0x001A, "WM_SETTINGCHANGE"},
    {0x001C, "WM_ACTIVATEAPP"},
    {0x001D, "WM_FONTCHANGE"},
    {0x001F, "WM_CANCELMODE"},
    {0x0020, "WM_SETCURSOR"},
    {0x0021, "WM_MOUSEACTIVATE"},
    {0x0024, "WM_GETMINMAXINFO"},
    {0x0030, "WM_SETFONT"},
    {0x0031, "WM_GETFONT"},
    {0x0046, "WM_WINDOWPOSCHANGING"},
    {0x0047, "WM_WINDOWPOSCHANGED"},
    {0x004A, "WM_COPYDATA"},
    {0x004E, "WM_NOTIFY"},
    {0x007B, "WM_CONTEXTMENU"},
    {0x007E, "WM_DISPLAYCHANGE"},
    {0x007F, "WM_GETICON"},
    {0x0080, "WM_SETICON"},
    {0x0081, "WM_NCCREATE"},
    {0x0082, "WM_NCDESTROY"},
    {0x0083, "WM_NCCALCSIZE"},
    {0x0084, "WM_NCHITTEST"},
    {0x0085, "WM_NCPAINT"},
    {0x0086, "WM_NCACTIVATE"},
    {0x00A0, "WM_NCMOUSEMOVE"},
    {0x00A1, "WM_NCLBUTTONDOWN"},
    {0x0100, "WM_KEYDOWN"},
    {0x0101, "WM_KEYUP"},
    {0x0102, "WM_CHAR"},
    {0x0104, "WM_SYSKEYDOWN"},
    {0x0105, "WM_SYSKEYUP"},
    {0x0106, "WM_SYSCHAR"},
    {0x0110, "WM_INITDIALOG"},
    {0x0111, "WM_COMMAND"},
    {0x0112, "WM_SYSCOMMAND"},
    {0x0113, "WM_TIMER"},
    {0x0114, "WM_HSCROLL"},
    {0x0115, "WM_VSCROLL"},
    {0x0116, "WM_INITMENU"},
    {0x011F, "WM_MENUSELECT"},
    {0x0121, "WM_ENTERIDLE"},
    {0x0200, "WM_MOUSEMOVE"},
    {0x0201, "WM_LBUTTONDOWN"},
    {0x0202, "WM_LBUTTONUP"},
    {0x0203, "WM_LBUTTONDBLCLK"},
    {0x0204, "WM_RBUTTONDOWN"},
    {0x0205, "WM_RBUTTONUP"},
    {0x0207, "WM_MBUTTONDOWN"},
    {0x0208, "WM_MBUTTONUP"},
    {0x020A, "WM_MOUSEWHEEL"},
    {0x0210, "WM_PARENTNOTIFY"},
    {0x0215, "WM_CAPTURECHANGED"},
    {0x0231, "WM_ENTERSIZEMOVE"},
    {0x0232, "WM_EXITSIZEMOVE"},
    {0x0233, "WM_DROPFILES"},
    {0x0300, "WM_CUT"},
    {0x0301, "WM_COPY"},
    {0x0302, "WM_PASTE"},
    {0x0303, "WM_CLEAR"},
    {0x0304, "WM_UNDO"},
    {0x0312, "WM_HOTKEY"},
    {0x0317, "WM_PRINT"},
    {0x0318, "WM_PRINTCLIENT"},
};

constexpr unsigned kUser = 0x0400;
constexpr unsigned kApp = 0x8000;
constexpr unsigned kRegistered = 0xC000;

constexpr bool InNumberOrder()
{
    for (std::size_t i = 1; i < std::size(kMessages); ++i)
        if (kMessages[i - 1].value >= kMessages[i].value) return false;
    return true;
}
static_assert(InNumberOrder(), "the messages are listed in number order, each once");

constexpr Named kThreadPriorities[] = {
    {static_cast<unsigned>(-15), "idle"},
    {static_cast<unsigned>(-2), "lowest"},
    {static_cast<unsigned>(-1), "below normal"},
    {0, "normal"},
    {1, "above normal"},
    {2, "highest"},
    {15, "time-critical"},
};

constexpr Named kPriorityClasses[] = {
    {0x0040, "idle"},         {0x4000, "below normal"}, {0x0020, "normal"},
    {0x8000, "above normal"}, {0x0080, "high"},         {0x0100, "realtime"},
};

template <std::size_t N>
const char* NameOf(const Named (&names)[N], unsigned value)
{
    const auto found =
        std::find_if(std::begin(names), std::end(names), [value](const Named& named) { return named.value == value; });
    return found == std::end(names) ? nullptr : found->name;
}

}  // namespace

std::string MessageText(unsigned message)
{
    const std::string number = " (" + Hex(message) + ")";
    const auto found = std::lower_bound(std::begin(kMessages), std::end(kMessages), message,
                                        [](const Named& named, unsigned value) { return named.value < value; });
    if (found != std::end(kMessages) && found->value == message) return found->name + number;
    if (message >= kUser && message < kApp) return "WM_USER+" + std::to_string(message - kUser) + number;
    if (message >= kApp && message < kRegistered) return "WM_APP+" + std::to_string(message - kApp) + number;
    if (message >= kRegistered && message <= 0xFFFF) return "a registered message" + number;
    return "message " + Hex(message);
}

std::string ThreadPriorityText(int priority)
{
    const char* name = NameOf(kThreadPriorities, static_cast<unsigned>(priority));
    return name ? name : "priority " + std::to_string(priority);
}

std::string PriorityClassText(unsigned priorityClass)
{
    const char* name = NameOf(kPriorityClasses, priorityClass);
    return name ? name : "priority class " + Hex(priorityClass);
}

}  // namespace check
