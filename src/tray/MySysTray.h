#pragma once
#include <windows.h>
#include <shellapi.h>
#include <cstddef>
#include <ctime>
#include <vector>

// The notification-area icon of the program: a hidden window that receives
// the icon's mouse messages, the icon itself (added, changed, removed), a
// short frame animation and the popup menu (menu 129). It carries out no
// command itself: every command reaches the application's main window as an
// ordinary WM_COMMAND.
//
// All calls run on the user-interface thread; the animation timer and the
// icon's callback messages arrive through the hidden window's queue.
class MySysTray
{
public:
    // Id of the animation timer on the hidden window.
    static constexpr UINT kAnimationTimerId = 4567;
    // Size of the first form of NOTIFYICONDATAA (everything up to and
    // including the 64-character tip): the only form this class sends.
    static constexpr DWORD kNotifyDataSize = static_cast<DWORD>(offsetof(NOTIFYICONDATAA, szTip) + 64);
    // Characters of the tip text kept, not counting the terminating NUL.
    static constexpr std::size_t kMaxTipLength = 63;

    // Zeroes every field; creates no window and touches no shell state.
    MySysTray();
    // Removes the icon and destroys the hidden window (which ends any
    // timer of it). A running animation is not ended first.
    virtual ~MySysTray();

    MySysTray(const MySysTray&) = delete;
    MySysTray& operator=(const MySysTray&) = delete;

    // Creates the hidden window and adds the icon. The icon's messages go to
    // owner when it is a window, otherwise to the hidden window. The tip is
    // cut to its first 63 characters. False when the system is older than
    // major version 4 (then nothing is created) or when the shell refused
    // the icon (the hidden window then stays).
    BOOL Create(HWND owner, UINT callbackMessage, const char* tip, HICON icon, UINT iconId);
    // Removes the icon from the notification area, if it is there.
    void DeleteIcon();
    // Shows another icon (the tip and callback are not sent again). False
    // when the icon is not in the notification area or the shell refused.
    BOOL ChangeIcon(HICON icon);
    // The icon shown, or none while the icon is not in the notification area.
    HICON CurrentIcon() const;

    // Reloads the animation frames: the icons firstId to lastId inclusive,
    // in that order, from the program's module (an id without an icon
    // gives an empty handle). False, with the frames unchanged, when
    // firstId is above lastId or lastId is no valid resource id (above
    // 65535); false with no frames when memory runs out.
    BOOL LoadAnimationFrames(UINT firstId, UINT lastId);
    // Ends a running animation (restoring its icon), remembers the icon
    // shown now and starts the frame timer with the given period. The
    // animation ends by itself once the clock's whole second has advanced
    // by more than seconds since the start; seconds <= 0 runs it until
    // EndAnimation. True when the timer was started.
    BOOL StartAnimation(UINT periodMs, int seconds);
    // Shows the next frame (after the last one the first). False when there
    // are no frames or the icon could not be changed.
    BOOL NextFrame();
    // Stops the frame timer and shows the icon remembered at the start.
    // False when no animation was running.
    BOOL EndAnimation();

    // The hidden window, or none before Create.
    HWND GetSafeHwnd() const { return hwnd; }

    // The hidden window's procedure: the callback message goes to
    // OnTrayMessage, WM_TIMER to the timer handler, the rest to the
    // system's default procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // One mouse action on the icon (wParam = icon id, low word of lParam =
    // mouse message). A right button release tracks the popup menu at the
    // cursor, owned by the main window; a double click sends the default
    // item's command to the main window; everything else is ignored.
    // 0 when wParam is not this icon's id or the menu cannot be loaded,
    // otherwise 1.
    virtual LRESULT OnTrayMessage(WPARAM wParam, LPARAM lParam);

protected:
    // Any WM_TIMER of the hidden window: the next frame, or the end of the
    // animation once its time is over. The timer id is not examined.
    void OnTimer(UINT_PTR timerId);

    HWND hwnd;                          // the hidden window

    BOOL iconAdded;                     // the icon is in the notification area
    NOTIFYICONDATAA notifyData;         // what Shell_NotifyIcon is given
    std::vector<HICON> frames;          // animation frames, in load order
    UINT timerId;                       // running animation timer, 0 if none
    int frameIndex;                     // frame shown last
    std::time_t animationStart;         // start of the animation, whole seconds
    int animationSeconds;               // duration; <= 0 until stopped
    HICON savedIcon;                    // icon to restore when the animation ends
    UINT defaultItem;                   // popup default item: position or command id
    BOOL defaultItemByPosition;         // defaultItem is a position

private:
    static LRESULT CALLBACK HiddenWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// True when a GetVersion() result names a system that has the notification
// area (major version, in the low byte, 4 or later).
bool TraySupportedVersion(DWORD version);

// The process-wide tray icon object.
extern MySysTray sysTray;
