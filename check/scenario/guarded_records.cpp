#include "check/scenario/guarded_records.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace check {

namespace {

constexpr std::size_t kPage = 4096;
// Each loan takes a record page and the untouched page after it. Loans cycle through the slots,
// so a pointer kept up to this many loans later still lands on a page that faults.
constexpr std::size_t kSlots = 64;
constexpr std::size_t kSlotBytes = 2 * kPage;

struct Field {
    std::size_t offset;
    const char* name;
};
// In the order of the record, so the field at an offset is the last one starting at or before it.
constexpr Field kParamsFields[] = {
    {offsetof(OverlaySurfaceParams, width), "width"}, {offsetof(OverlaySurfaceParams, height), "height"},
    {offsetof(OverlaySurfaceParams, red), "red"},     {offsetof(OverlaySurfaceParams, green), "green"},
    {offsetof(OverlaySurfaceParams, blue), "blue"},   {offsetof(OverlaySurfaceParams, bitmapFile), "bitmapFile"}};
constexpr Field kRectFields[] = {{offsetof(OverlayRect, startX), "startX"},
                                 {offsetof(OverlayRect, startY), "startY"},
                                 {offsetof(OverlayRect, endX), "endX"},
                                 {offsetof(OverlayRect, endY), "endY"}};

// One guarded process at a time; the handler reaches it through these.
struct Guard {
    unsigned char* region = nullptr;
    std::size_t next = 0;
    std::size_t lentFrom = 0;  // slots from here to `next` belong to the call in progress
    // Slots from here to `lentFrom` belong to the call that returned while its caller's messages
    // are dispatched.
    std::size_t returnedFrom = 0;
    bool dispatching = false;
    std::vector<std::string> findings;
} g_guard;

std::size_t RecordSize(std::size_t slot)
{
    return slot % 2 == 0 ? sizeof(OverlaySurfaceParams) : sizeof(OverlayRect);
}

unsigned char* RecordPage(std::size_t slot)
{
    return g_guard.region + (slot % kSlots) * kSlotBytes;
}

bool IsLent(std::size_t slot)
{
    return slot >= g_guard.lentFrom && slot < g_guard.next;
}

std::string FieldAt(std::size_t slot, std::ptrdiff_t offset)
{
    const bool params = slot % 2 == 0;
    const char* record = params ? "OverlaySurfaceParams" : "OverlayRect";
    if (offset < 0) return std::string("before the start of ") + record;
    if (static_cast<std::size_t>(offset) >= RecordSize(slot)) return std::string("past the end of ") + record;
    const Field* field = params ? kParamsFields : kRectFields;
    const std::size_t count = params ? std::size(kParamsFields) : std::size(kRectFields);
    std::size_t i = count - 1;
    while (field[i].offset > static_cast<std::size_t>(offset)) --i;
    return std::string(record) + "." + field[i].name;
}

// The loan that used the slot at `index` last; g_guard.next when none did.
std::size_t LastLoanAt(std::size_t index)
{
    for (std::size_t slot = g_guard.next; slot-- > 0;)
        if (slot % kSlots == index) return slot;
    return g_guard.next;
}

LONG CALLBACK OnAccess(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode != EXCEPTION_ACCESS_VIOLATION || record.NumberParameters < 2)
        return EXCEPTION_CONTINUE_SEARCH;
    const auto address = reinterpret_cast<unsigned char*>(record.ExceptionInformation[1]);
    if (address < g_guard.region || address >= g_guard.region + kSlots * kSlotBytes) return EXCEPTION_CONTINUE_SEARCH;

    const std::size_t index = static_cast<std::size_t>(address - g_guard.region) / kSlotBytes;
    const std::size_t slot = LastLoanAt(index);
    std::string finding = record.ExceptionInformation[0] == 1 ? "wrote " : "read ";
    if (slot == g_guard.next) {
        finding += "memory beside the records";
    } else {
        finding += FieldAt(slot, address - (RecordPage(slot) + kPage - RecordSize(slot)));
        if (g_guard.dispatching && slot >= g_guard.returnedFrom && slot < g_guard.lentFrom)
            finding +=
                " after the call returned (kept the pointer and used it from a window procedure, timer or hook "
                "while the caller's messages were dispatched)";
        else if (!IsLent(slot))
            finding += " of a record from an earlier call (kept the pointer)";
    }
    if (g_guard.findings.size() < 16) g_guard.findings.push_back(finding);
    // Let the library go on: the pages become ordinary memory until they are lent again.
    VirtualAlloc(g_guard.region + index * kSlotBytes, kSlotBytes, MEM_COMMIT, PAGE_READWRITE);
    return EXCEPTION_CONTINUE_EXECUTION;
}

const void* Lend(const void* data, std::size_t size)
{
    const std::size_t slot = g_guard.next++;
    unsigned char* page = RecordPage(slot);
    VirtualFree(page, kSlotBytes, MEM_DECOMMIT);
    VirtualAlloc(page, kPage, MEM_COMMIT, PAGE_READWRITE);
    unsigned char* at = page + kPage - size;
    std::memcpy(at, data, size);
    DWORD previous = 0;
    VirtualProtect(page, kPage, PAGE_READONLY, &previous);
    return at;
}

}  // namespace

GuardedRecords::GuardedRecords()
    : m_region(VirtualAlloc(nullptr, kSlots * kSlotBytes, MEM_RESERVE, PAGE_NOACCESS)),
      m_handler(AddVectoredExceptionHandler(1, OnAccess))
{
    g_guard = {};
    g_guard.region = static_cast<unsigned char*>(m_region);
}

GuardedRecords::~GuardedRecords()
{
    RemoveVectoredExceptionHandler(m_handler);
    VirtualFree(m_region, 0, MEM_RELEASE);
    g_guard = {};
}

// Loans of params take even slots and loans of rects odd ones, so a slot tells its record type.
const OverlaySurfaceParams* GuardedRecords::LendParams(const OverlaySurfaceParams& params)
{
    if (g_guard.next % 2 != 0) ++g_guard.next;
    return static_cast<const OverlaySurfaceParams*>(Lend(&params, sizeof params));
}

const OverlayRect* GuardedRecords::LendRect(const OverlayRect& rect)
{
    if (g_guard.next % 2 == 0) ++g_guard.next;
    return static_cast<const OverlayRect*>(Lend(&rect, sizeof rect));
}

void GuardedRecords::Withdraw()
{
    for (std::size_t slot = g_guard.lentFrom; slot < g_guard.next; ++slot)
        VirtualFree(RecordPage(slot), kSlotBytes, MEM_DECOMMIT);
    g_guard.returnedFrom = g_guard.lentFrom;
    g_guard.lentFrom = g_guard.next;
    g_guard.dispatching = true;
}

std::vector<std::string> GuardedRecords::Release()
{
    Withdraw();
    g_guard.dispatching = false;
    std::vector<std::string> findings;
    findings.swap(g_guard.findings);
    return findings;
}

}  // namespace check
