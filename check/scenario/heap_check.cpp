#include "check/scenario/heap_check.h"

#include <windows.h>
#include <malloc.h>

#include <algorithm>
#include <vector>

#include "check/scenario/send.h"

namespace check {

bool HeapsValid()
{
    std::vector<HANDLE> heaps(64);
    DWORD count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    if (count > heaps.size()) {
        heaps.resize(count);
        count = GetProcessHeaps(count, heaps.data());
    }
    heaps.resize(std::min<std::size_t>(count, heaps.size()));
    // The C runtime's own heap, should the platform not list it.
    if (const auto crt = reinterpret_cast<HANDLE>(_get_heap_handle());
        crt != nullptr && std::find(heaps.begin(), heaps.end(), crt) == heaps.end())
        heaps.push_back(crt);
    return std::all_of(heaps.begin(), heaps.end(), [](HANDLE heap) { return HeapValidate(heap, 0, nullptr); });
}

void EndForCorruptHeap()
{
    SendDying(Dying::kHeap);
    TerminateProcess(GetCurrentProcess(), STATUS_HEAP_CORRUPTION);
    for (;;) Sleep(INFINITE);
}

}  // namespace check
