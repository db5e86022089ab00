#include "check/scenario/own_module.h"

#include "check/scenario/send.h"

namespace check {

bool ModuleLoaded(HMODULE module)
{
    HMODULE found = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              reinterpret_cast<LPCSTR>(module), &found) &&
           found == module;
}

void EndForSelfUnload()
{
    SendDying(Dying::kUnloaded);
    TerminateProcess(GetCurrentProcess(), ERROR_MOD_NOT_FOUND);
    for (;;) Sleep(INFINITE);
}

}  // namespace check
