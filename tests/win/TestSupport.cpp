#include "TestSupport.h"

#include <shlwapi.h>
#include <utility>

namespace {

// The watcher of this thread (watchers nest: each one remembers the one
// before it).
thread_local MessageBoxWatcher* currentWatcher = nullptr;

std::string WindowText(HWND window)
{
    char buffer[4096] = {};
    int length = GetWindowTextA(window, buffer, sizeof(buffer));
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

bool IsMessageBox(HWND window)
{
    char className[32] = {};
    if (GetClassNameA(window, className, sizeof(className)) == 0 || lstrcmpA(className, "#32770") != 0)
        return false;
    // The program's own dialogs belong to its module; a message box belongs
    // to the system (user32 on Windows, no module under Wine). It keeps its
    // message in a static control with id 0xFFFF.
    HINSTANCE module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    if (module == GetModuleHandleA(nullptr))
        return false;
    HWND text = GetDlgItem(window, 0xFFFF);
    if (text == nullptr)
        return false;
    char textClass[16] = {};
    return GetClassNameA(text, textClass, sizeof(textClass)) != 0 && lstrcmpiA(textClass, "Static") == 0;
}

void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher(int answer) : answer(answer)
{
    previous = currentWatcher;
    currentWatcher = this;
    hook = SetWindowsHookExA(WH_CBT, HookProc, nullptr, GetCurrentThreadId());
    // A box that is never activated (no window manager, or another window
    // holds the activation) is still caught when its dialog initialises.
    initHook = SetWindowsHookExA(WH_CALLWNDPROCRET, InitHookProc, nullptr, GetCurrentThreadId());
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    if (hook != nullptr)
        UnhookWindowsHookEx(hook);
    if (initHook != nullptr)
        UnhookWindowsHookEx(initHook);
    currentWatcher = previous;
}

LRESULT CALLBACK MessageBoxWatcher::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxWatcher* watcher = currentWatcher;
    if (code == HCBT_ACTIVATE && watcher != nullptr)
        watcher->Seen(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MessageBoxWatcher::InitHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    MessageBoxWatcher* watcher = currentWatcher;
    const CWPRETSTRUCT* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && watcher != nullptr && call->message == WM_INITDIALOG)
        watcher->Seen(call->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MessageBoxWatcher::Seen(HWND window)
{
    if (!IsMessageBox(window))
        return;
    for (HWND done : answered) {
        if (done == window)
            return;
    }
    answered.push_back(window);

    Box box;
    box.owner = GetWindow(window, GW_OWNER);
    box.caption = WindowText(window);
    box.text = WindowText(GetDlgItem(window, 0xFFFF));
    for (int id = IDOK; id <= IDCONTINUE; ++id) {
        if (GetDlgItem(window, id) != nullptr)
            box.buttons.push_back(id);
    }
    boxes.push_back(std::move(box));

    HWND button = GetDlgItem(window, answer);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void PumpWaitingMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave the quit request for the loop it belongs to.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        PumpWaitingMessages();
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

ScopedRegistryKey::ScopedRegistryKey(HKEY root, std::string path) : root(root), path(std::move(path))
{
    SHDeleteKeyA(root, this->path.c_str());
}

ScopedRegistryKey::~ScopedRegistryKey()
{
    SHDeleteKeyA(root, path.c_str());
}

ScopedTempFolder::ScopedTempFolder(const char* prefix)
{
    char temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(MAX_PATH, temp);
    if (length == 0 || length > MAX_PATH)
        return;
    std::string base(temp, length);
    if (!base.empty() && base.back() == '\\')
        base.pop_back();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = base + "\\" + UniqueTestName(prefix);
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path = candidate;
            return;
        }
    }
}

ScopedTempFolder::~ScopedTempFolder()
{
    if (!path.empty())
        RemoveTree(path);
}

std::string UniqueTestName(const char* prefix)
{
    static LONG counter = 0;
    LONG n = InterlockedIncrement(&counter);
    return std::string(prefix != nullptr ? prefix : "twk") + "-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(GetTickCount()) + "-" + std::to_string(n);
}

namespace {
std::function<void()>& TimerTick()
{
    static std::function<void()> tick;
    return tick;
}
} // namespace

ThreadTimer::ThreadTimer(UINT periodMs, std::function<void()> tick)
{
    TimerTick() = std::move(tick);
    id = SetTimer(nullptr, 0, periodMs, &ThreadTimer::Proc);
}

ThreadTimer::~ThreadTimer()
{
    KillTimer(nullptr, id);
    TimerTick() = nullptr;
}

void CALLBACK ThreadTimer::Proc(HWND, UINT, UINT_PTR, DWORD)
{
    if (TimerTick())
        TimerTick()();
}
