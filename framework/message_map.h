// A dialog's message map: a table of rows, each naming a message (and for commands the control)
// and the member function that handles it. The dialog procedure looks rows up in one place and
// each row unpacks WPARAM/LPARAM into the handler's typed arguments.
#pragma once

#include <windows.h>

namespace fw {

class CDialog;

struct Message {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Calls the row's handler and gives the dialog procedure's answer.
using MessageHandler = INT_PTR (*)(CDialog& dialog, const Message& message);

struct MessageMapEntry {
    UINT message;
    int controlId;  // commands only; kAnyControl for other messages
    MessageHandler handler;

    static constexpr int kAnyControl = -1;

    // A command row matches its control's command code 0, which is what a button click
    // (BN_CLICKED), Enter on a default button and a menu choice all send.
    bool Matches(const Message& m) const
    {
        if (m.message != message) return false;
        return message != WM_COMMAND || (LOWORD(m.wParam) == controlId && HIWORD(m.wParam) == BN_CLICKED);
    }
};

namespace detail {

template <class Member>
struct OwnerOf;
template <class T, class R, class... Args>
struct OwnerOf<R (T::*)(Args...)> {
    using type = T;
};
template <class T, class R, class... Args>
struct OwnerOf<R (T::*)(Args...) const> {
    using type = T;
};

template <auto Handler>
auto& Owner(CDialog& dialog)
{
    return static_cast<typename OwnerOf<decltype(Handler)>::type&>(dialog);
}

inline INT_PTR AsReturnValue(bool value)
{
    return value ? TRUE : FALSE;
}
inline INT_PTR AsReturnValue(HICON icon)
{
    return reinterpret_cast<INT_PTR>(icon);
}

template <auto Handler>
INT_PTR Command(CDialog& dialog, const Message&)
{
    (Owner<Handler>(dialog).*Handler)();
    return TRUE;
}

// A handler that may decline returns false, and the procedure's FALSE leaves the message to the
// default dialog handling.
template <auto Handler>
INT_PTR SysCommand(CDialog& dialog, const Message& m)
{
    // The platform keeps the low four bits of a system command for itself. The cursor is in
    // screen coordinates, which are signed on a screen left of or above the primary one.
    const UINT command = static_cast<UINT>(m.wParam) & 0xFFF0;
    const POINT cursor{static_cast<short>(LOWORD(m.lParam)), static_cast<short>(HIWORD(m.lParam))};
    return AsReturnValue((Owner<Handler>(dialog).*Handler)(command, cursor));
}

template <auto Handler>
INT_PTR Paint(CDialog& dialog, const Message&)
{
    return AsReturnValue((Owner<Handler>(dialog).*Handler)());
}

// WM_INITDIALOG and WM_QUERYDRAGICON answer through the procedure's return value itself.
template <auto Handler>
INT_PTR ReturnValue(CDialog& dialog, const Message&)
{
    return AsReturnValue((Owner<Handler>(dialog).*Handler)());
}

// Other messages answer through DWLP_MSGRESULT.
template <auto Handler>
INT_PTR MessageResult(CDialog& dialog, const Message&)
{
    auto& owner = Owner<Handler>(dialog);
    SetWindowLongPtrA(owner.Hwnd(), DWLP_MSGRESULT, static_cast<LONG_PTR>((owner.*Handler)()));
    return TRUE;
}

}  // namespace detail

// One helper per message, each named after it; above each, the handler a row of it takes.

// void OnClicked();
template <auto Handler>
constexpr MessageMapEntry OnWmCommand(int controlId)
{
    return {WM_COMMAND, controlId, &detail::Command<Handler>};
}

// bool OnSysCommand(UINT command, POINT cursor);  the command without its low four bits; false
// leaves it to the default handling
template <auto Handler>
constexpr MessageMapEntry OnWmSysCommand()
{
    return {WM_SYSCOMMAND, MessageMapEntry::kAnyControl, &detail::SysCommand<Handler>};
}

// bool OnPaint();  false leaves the painting to the default handling
template <auto Handler>
constexpr MessageMapEntry OnWmPaint()
{
    return {WM_PAINT, MessageMapEntry::kAnyControl, &detail::Paint<Handler>};
}

// HICON OnQueryDragIcon();
template <auto Handler>
constexpr MessageMapEntry OnWmQueryDragIcon()
{
    return {WM_QUERYDRAGICON, MessageMapEntry::kAnyControl, &detail::ReturnValue<Handler>};
}

// bool OnInitDialog();  true lets the platform focus the first tab stop
template <auto Handler>
constexpr MessageMapEntry OnWmInitDialog()
{
    return {WM_INITDIALOG, MessageMapEntry::kAnyControl, &detail::ReturnValue<Handler>};
}

// LRESULT OnQuery();  for a message of the program's own (WM_APP and above): the answer
template <auto Handler>
constexpr MessageMapEntry OnWmApp(UINT message)
{
    return {message, MessageMapEntry::kAnyControl, &detail::MessageResult<Handler>};
}

}  // namespace fw
