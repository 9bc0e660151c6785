#include "SimCommandWindow.h"
#include "SimCommands.h"

namespace {

// The module that holds this code (the DLL when loaded as one).
HINSTANCE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ThisModule), &module);
    return module;
}

} // namespace

SimCommandWindow::SimCommandWindow(ShellSim& shell) : shell(shell)
{
    HINSTANCE module = ThisModule();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = module;
    wc.lpszClassName = simcommand::kWindowClass;
    RegisterClassA(&wc); // fails harmlessly when already registered
    hwnd = CreateWindowExA(0, simcommand::kWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, module, this);
}

SimCommandWindow::~SimCommandWindow()
{
    if (hwnd != nullptr)
        DestroyWindow(hwnd);
}

LRESULT CALLBACK SimCommandWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_COPYDATA) {
        auto* self = reinterpret_cast<SimCommandWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (self == nullptr || copy == nullptr)
            return 0;
        return simcommand::Execute(self->shell, copy->dwData, copy->lpData, copy->cbData);
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
