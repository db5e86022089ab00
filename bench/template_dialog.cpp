// The console's own template shown by the bare program's dialog procedure: separates what the
// 52 controls cost from what the program adds on top of them.
#include "bench/bare_dialog_proc.h"
#include "res/resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_TAVIK_DIALOG), nullptr, BareDialogProc, 0);
    return 0;
}
