// The bare program the benchmarks measure Tavik against: DialogBox with one button and nothing
// else.
#include "bench/bare_dialog.h"
#include "bench/bare_dialog_proc.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_BARE), nullptr, BareDialogProc, 0);
    return 0;
}
