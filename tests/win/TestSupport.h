#pragma once
// Support shared by the Windows test executables: message boxes answered and
// recorded, a message pump, a thread timer, registry cleanup.
#include <windows.h>
#include <shlwapi.h>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// While it lives, every message box that this thread shows (MessageBoxA and
// friends; the program's own dialogs are left alone) is recorded and
// answered at once by pressing the chosen button. Watchers nest: the newest
// one of the thread answers.
class MessageBoxWatcher
{
public:
    // One message box as it was shown.
    struct Box
    {
        HWND owner;               // its owner window (null when unowned)
        std::string caption;      // the title bar text
        std::string text;         // the message
        std::vector<int> buttons; // ids of its buttons (IDOK, IDYES, ...)
    };

    // Installs the hook; boxes are answered with answer (IDOK, IDYES, ...).
    explicit MessageBoxWatcher(int answer = IDOK);
    // Removes the hook.
    ~MessageBoxWatcher();
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

    // Changes the button pressed on the next boxes.
    void SetAnswer(int button) { answer = button; }
    // The boxes shown so far, in order.
    const std::vector<Box>& Boxes() const { return boxes; }

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK hook = nullptr;
    int answer;
    std::vector<Box> boxes;
    MessageBoxWatcher* previous = nullptr;
};

// Dispatches whatever messages are waiting, without waiting for more.
void PumpWaitingMessages();

// A thread timer that calls tick every periodMs inside whatever message loop
// is running (a modal dialog's or a message box's included); stopped when the
// object goes. One at a time.
class ThreadTimer
{
public:
    ThreadTimer(UINT periodMs, std::function<void()> tick);
    ~ThreadTimer();
    ThreadTimer(const ThreadTimer&) = delete;
    ThreadTimer& operator=(const ThreadTimer&) = delete;

private:
    UINT_PTR id = 0;
};

// A registry key tree that is deleted (with everything below it) when the
// object is made and again when it goes.
class ScopedRegistryKey
{
public:
    // root\path, e.g. HKEY_CURRENT_USER, "Software\\TarnwickTest-123".
    ScopedRegistryKey(HKEY root, std::string path) : root(root), path(std::move(path)) { Delete(); }
    ~ScopedRegistryKey() { Delete(); }

    // The key's path below its root.
    const std::string& Path() const { return path; }

private:
    void Delete() const { SHDeleteKeyA(root, path.c_str()); }
    HKEY root;
    std::string path;
};

// A name unique to this process and call ("<prefix>-<pid>-<tick>-<n>"), for
// test registry keys and the like.
std::string UniqueTestName(const char* prefix);
