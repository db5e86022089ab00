#include "check/scenario/import_slots.h"

namespace check {

void ForEachImportSlot(HMODULE library, const std::function<void(const char* name, ULONG_PTR& slot)>& visit)
{
    auto* base = reinterpret_cast<unsigned char*>(library);
    const auto* headers =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.Size == 0) return;
    for (auto* module = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name != 0; ++module) {
        // The name table runs beside the slots; without one, the slots are all there is.
        const auto* name = module->OriginalFirstThunk == 0
                               ? nullptr
                               : reinterpret_cast<const IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        for (auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk); slot->u1.Function != 0;
             ++slot) {
            const char* imported = nullptr;
            if (name != nullptr && !IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal))
                imported = reinterpret_cast<const char*>(
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)->Name);
            visit(imported, slot->u1.Function);
            if (name != nullptr) ++name;
        }
    }
}

void PointSlot(ULONG_PTR& slot, const void* function)
{
    DWORD previous = 0;
    VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &previous);
    slot = reinterpret_cast<ULONG_PTR>(function);
    VirtualProtect(&slot, sizeof slot, previous, &previous);
}

}  // namespace check
