// The library's five entry points: the state of one open overlay and the order of checks.
#include <windows.h>

#include <atomic>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "dravel/dravel_codes.h"
#include "dravel/overlay_checks.h"
#include "dravel/overlay_window.h"
#include "dravel/surface.h"
#include "dravel/trace_line.h"
#include "overlay/overlay_api.h"

namespace {

using namespace dravel;

struct OpenOverlay {
    explicit OpenOverlay(HINSTANCE module) : window(module) {}

    OverlayWindow window;
    std::optional<Surface> surface;  // empty while nothing is set
};

HINSTANCE g_module = nullptr;
// The thread that opened the library, 0 while it is closed. Any thread may read it, so that a
// call from another thread is refused before it touches anything.
std::atomic<DWORD> g_owner{0};
// Reached only from the owner thread. A plain pointer on purpose: at process exit the system takes
// the window and the memory back, and no destructor of ours should run then.
OpenOverlay* g_overlay = nullptr;

Code CheckCaller()
{
    const DWORD owner = g_owner.load();
    if (owner == 0) return kNotOpen;
    return owner == GetCurrentThreadId() ? kOk : kWrongThread;
}

void Release()
{
    delete g_overlay;
    g_overlay = nullptr;
    g_owner = 0;
}

Code Open()
{
    if (const Code code = CheckCaller(); code != kNotOpen) return code == kOk ? kAlreadyOpen : code;
    auto overlay = std::make_unique<OpenOverlay>(g_module);
    if (!overlay->window.IsMade()) return kWindowFailed;
    // Another thread may have opened it meanwhile; then this window goes again.
    DWORD closed = 0;
    if (!g_owner.compare_exchange_strong(closed, GetCurrentThreadId())) return kWrongThread;
    g_overlay = overlay.release();
    return kOk;
}

Code Close()
{
    if (const Code code = CheckCaller(); code != kOk) return code;
    Release();
    return kOk;
}

// Everything is built and shown before the new surface replaces the old one, so after a failure
// the previous setting is still on the screen and still the one Move & show moves.
Code SetAndShow(const OverlaySurfaceParams* params, const OverlayRect* rect)
{
    if (const Code code = CheckCaller(); code != kOk) return code;
    if (!params || !rect) return kPointer;
    SurfaceRequest request;
    if (const Code code = ReadSurfaceRequest(*params, request); code != kOk) return code;
    Placement placement;
    if (const Code code = ReadPlacement(*rect, placement); code != kOk) return code;
    Surface surface;
    if (const Code code = BuildSurface(request, surface); code != kOk) return code;
    if (const Code code = g_overlay->window.Show(surface, placement); code != kOk) return code;
    g_overlay->surface = std::move(surface);
    return kOk;
}

Code MoveAndShow(const OverlayRect* rect)
{
    if (const Code code = CheckCaller(); code != kOk) return code;
    if (!rect) return kPointer;
    Placement placement;
    if (const Code code = ReadPlacement(*rect, placement); code != kOk) return code;
    if (!g_overlay->surface) return kNothingSet;
    return g_overlay->window.Move(*g_overlay->surface, placement);
}

Code ClearSetting()
{
    if (const Code code = CheckCaller(); code != kOk) return code;
    if (!g_overlay->surface) return kNothingSet;
    g_overlay->window.Hide();
    g_overlay->surface.reset();
    return kOk;
}

std::string NoArguments()
{
    return {};
}

// Runs one entry point and writes its trace line. No exception may cross the C boundary: running
// out of memory becomes E_OUTOFMEMORY, and a trace line that cannot be made is left out.
template <typename Call, typename Describe>
OverlayResult Traced(const char* name, Call call, Describe describeArguments) noexcept
{
    Code code;
    try {
        code = call();
    } catch (const std::bad_alloc&) {
        code = kOutOfMemory;
    }
    try {
        OutputDebugStringA(TraceLine(name, describeArguments(), code).c_str());
    } catch (const std::bad_alloc&) {
    }
    return code;
}

}  // namespace

extern "C" {

OverlayResult OVERLAY_CALL OverlayOpen(void)
{
    return Traced("OverlayOpen", Open, NoArguments);
}

OverlayResult OVERLAY_CALL OverlayClose(void)
{
    return Traced("OverlayClose", Close, NoArguments);
}

OverlayResult OVERLAY_CALL OverlaySetAndShow(const OverlaySurfaceParams* params, const OverlayRect* rect)
{
    return Traced(
        "OverlaySetAndShow", [&] { return SetAndShow(params, rect); },
        [&] { return DescribeSurfaceCall(params, rect); });
}

OverlayResult OVERLAY_CALL OverlayMoveAndShow(const OverlayRect* rect)
{
    return Traced(
        "OverlayMoveAndShow", [&] { return MoveAndShow(rect); }, [&] { return DescribeRect(rect); });
}

OverlayResult OVERLAY_CALL OverlayClearSetting(void)
{
    return Traced("OverlayClearSetting", ClearSetting, NoArguments);
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) g_module = module;
    // reserved is null on FreeLibrary: the process goes on, so the window and surface go now. At
    // process exit the system reclaims them, and touching windows then can hang.
    if (reason == DLL_PROCESS_DETACH && reserved == nullptr) Release();
    return TRUE;
}

}  // extern "C"
