// The display scale: awareness declared at start-up and the scale of a window.
// The functions of Windows 8.1 and 10 are looked up by name so that the
// program still starts where they are missing.
#include "framework/display_scale.h"

namespace {

using SetContextFn = BOOL(WINAPI*)(HANDLE);
using SetAwarenessFn = HRESULT(WINAPI*)(int);
using SetAwareFn = BOOL(WINAPI*)();
using DpiForWindowFn = UINT(WINAPI*)(HWND);
using DpiForSystemFn = UINT(WINAPI*)();
using MetricForDpiFn = int(WINAPI*)(int, UINT);

template <typename Fn> Fn Lookup(const char* module, const char* name)
{
    HMODULE handle = GetModuleHandleA(module);
    if (!handle) handle = LoadLibraryA(module);
    if (!handle) return nullptr;
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
}

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2 and _PER_MONITOR_AWARE.
const HANDLE PerMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
const HANDLE PerMonitor = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));

UINT ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : DesignDpi;
}

} // namespace

int DeclareDpiAwareness()
{
    if (auto set = Lookup<SetContextFn>("user32.dll", "SetProcessDpiAwarenessContext")) {
        if (set(PerMonitorV2) || set(PerMonitor)) return 2;
        // Already declared (by the manifest, say) counts as declared.
        if (GetLastError() == ERROR_ACCESS_DENIED) return 2;
    }
    if (auto set = Lookup<SetAwarenessFn>("shcore.dll", "SetProcessDpiAwareness")) {
        HRESULT result = set(2); // PROCESS_PER_MONITOR_DPI_AWARE
        if (SUCCEEDED(result) || result == E_ACCESSDENIED) return 2;
    }
    if (auto set = Lookup<SetAwareFn>("user32.dll", "SetProcessDPIAware")) {
        if (set()) return 1;
    }
    return 0;
}

UINT SystemDpi()
{
    static const DpiForSystemFn forSystem = Lookup<DpiForSystemFn>("user32.dll", "GetDpiForSystem");
    if (forSystem) {
        UINT dpi = forSystem();
        if (dpi) return dpi;
    }
    return ScreenDpi();
}

namespace {
const char* const DpiProperty = "Ravelbook.Dpi";

HWND RootOf(HWND window)
{
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    return root ? root : window;
}
} // namespace

void NoteWindowDpi(HWND window, UINT dpi)
{
    HWND root = RootOf(window);
    if (root && dpi) SetPropA(root, DpiProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dpi)));
}

void ForgetWindowDpi(HWND window)
{
    if (window) RemovePropA(window, DpiProperty);
}

UINT WindowDpi(HWND window)
{
    static const DpiForWindowFn forWindow = Lookup<DpiForWindowFn>("user32.dll", "GetDpiForWindow");
    if (HWND root = RootOf(window)) {
        UINT noted = static_cast<UINT>(reinterpret_cast<UINT_PTR>(GetPropA(root, DpiProperty)));
        if (noted) return noted;
    }
    if (window && forWindow) {
        UINT dpi = forWindow(window);
        if (dpi) return dpi;
    }
    return SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi)
{
    static const MetricForDpiFn forDpi = Lookup<MetricForDpiFn>("user32.dll", "GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    UINT system = SystemDpi();
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(system));
}
