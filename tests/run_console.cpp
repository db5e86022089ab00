#include "tests/run_console.h"

#include "console/tavik_dlg.h"
#include "res/resource.h"
#include "tests/fake_overlay.h"

namespace tavik::test {

INT_PTR RunConsole(const DialogDriver::Script& script, UINT limitMs)
{
    tavik::CTavikDlg console(FakeOverlay::table);
    return DialogDriver::Run([&] { return console.DoModal(); }, script, limitMs);
}

std::map<int, std::wstring> TextsOf(const DialogDriver& driver)
{
    std::map<int, std::wstring> texts;
    for (int id = IDC_OPEN_RUN; id <= IDC_MOVE_END_Y; ++id)
        if (const HWND item = driver.Item(id)) texts[id] = WideText(item);
    return texts;
}

}  // namespace tavik::test
