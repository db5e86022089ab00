#include "check/scenario/heap_check.h"

#include <windows.h>
#include <malloc.h>

#include <algorithm>
#include <iterator>

#include "check/scenario/send.h"

namespace check {

bool HeapsValid()
{
    // Nothing here may allocate: the heap the library may have corrupted is the one it would use.
    // A process has a handful of heaps; past this many, the first ones are validated.
    static HANDLE heaps[256];
    const DWORD listed = GetProcessHeaps(std::size(heaps), heaps);
    const std::size_t count = std::min<std::size_t>(listed, std::size(heaps));
    for (std::size_t i = 0; i < count; ++i)
        if (!HeapValidate(heaps[i], 0, nullptr)) return false;
    // The C runtime's own heap, should the platform not list it.
    const auto crt = reinterpret_cast<HANDLE>(_get_heap_handle());
    return crt == nullptr || std::find(heaps, heaps + count, crt) != heaps + count || HeapValidate(crt, 0, nullptr);
}

void EndForCorruptHeap()
{
    SendDying(Dying::kHeap);
    TerminateProcess(GetCurrentProcess(), STATUS_HEAP_CORRUPTION);
    for (;;) Sleep(INFINITE);
}

}  // namespace check
