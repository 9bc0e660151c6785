#pragma once
#include <windows.h>
#include <wtypes.h>
#include <ocidl.h>
#include <string>
#include "win/Controls.h"
#include "win/ComRef.h"
#include "win/DispatchSink.h"
#include "win/DialogBase.h"
#include "win/GdiObject.h"

struct IWebBrowser2;

// The reading side of a definitions archive: the bytes of "deda.twk" from
// the start of the file.
struct DefinitionsArchive
{
    std::string bytes;
};

// The main window (dialog 102): the scan area with its result list, the
// picture links, the settings panel, and the target of every tray command.
// The application runs it modally for the whole run; its initialisation is
// the program's start-up sequence.
class CTarnwickDlg : public CDialogBase
{
public:
    // The program passes no parent.
    explicit CTarnwickDlg(HWND parent = nullptr);
    // Releases the fonts; the window's icon is a shared resource and stays.
    ~CTarnwickDlg() override;

    // Settings and autostart (TarnwickDlgSettings.cpp).
    // Reads the five settings of the profile into the fields and the boxes.
    void LoadSettings();
    // The OK command: writes the five boxes to the profile and says so. The
    // fields keep the values read at start-up.
    void SaveSettings();
    // True when the Run key holds a "Gravelin" value, of any type.
    bool IsAutostartOn();
    // Writes the running executable's path (quoted when it holds a space)
    // as the "Gravelin" Run value; false when the Run key cannot be opened
    // for writing.
    bool AddAutostart();
    // Deletes the "Gravelin" Run value; false when the Run key cannot be
    // opened with full access.
    bool RemoveAutostart();
    // Tray "Load at Startup": switches the Run value on or off.
    void ToggleAutostart();

    // The settings panel.
    // Measures both heights once and folds the panel away.
    void CollapseSettingsPanel();
    // Enables or disables the separator and every control after it
    // ("Enable Real Time system monitoring" stays enabled) and sets the
    // caption of the settings button.
    void EnableSettingsPanel(BOOL enable);
    // Button 1033: shows or hides the panel.
    void OnShowSettings();

    // Tray commands.
    // "Launch Tarnwick": the window may show, and shows.
    void OnLaunch();
    // "Enable Realtime Monitor": popupBlocking 1 <-> 0; other values stay.
    void OnToggleMonitor();
    // "Support": the maker's support page.
    void OnSupport();
    // "Exit": saves the squash log and ends the modal run with IDOK.
    void OnExitCommand();
    // The "Update Version" picture: the maker's news page.
    void OnUpdateVersion();

    // Members of other subsystems.
    // Fills the process-wide block list (monitor/TarnwickDlgBlockList.cpp).
    void BuildBlockList();
    // Reads "deda.twk" from startFolder into the definitions' records and
    // tokens (scan/TarnwickDlgDefinitions.cpp).
    void LoadSpywareDefinitions();
    // Reads "hist.twk" from startFolder into the squash log
    // (log/TarnwickDlgSquashLog.cpp).
    void LoadSquashLog();
    // Parses one line of "hist.twk" and appends its entry.
    void AddSquashLogLine(const std::string& line);
    // Appends one squash to the log.
    void LogSquash(const char* title, const char* url, const char* date, const char* type);
    // Tray command 32776 and button 1055: the log viewer, run modally.
    void ShowSquashLog();

    // The scan (scan/TarnwickDlgScan.cpp). Fills resultList with every
    // cookie file and every registered class named in the definitions that
    // is not yet disabled; false when the class list cannot be opened.
    bool ScanComputer();
    // Appends one row per "*.txt" entry of the cookie folder.
    void ScanTrackingCookies();
    // True when the browser's ActiveX Compatibility key has a subkey named
    // exactly name.
    bool IsKillBitKeyPresent(const char* name);
    // The "Check All" box: ticks or clears every row as the box now reads.
    void CheckAll();
    // Clean (scan/TarnwickDlgClean.cpp): deletes the ticked cookie files,
    // disables the ticked classes, empties the list and says so.
    void CleanFiles();

    // The real-time monitor (monitor/TarnwickDlgMonitor.cpp,
    // monitor/TarnwickDlgInspect.cpp). Failed automation calls end a pass
    // with a CComCallError (monitor/ComError.h); OnShellWindowEvent and the
    // start-up catch it.
    // Creates the process-wide Shell Windows reference and subscribes
    // shellEvents to the collection's events.
    void ConnectShellWindows();
    // Ends the subscription of ConnectShellWindows, so that the collection
    // keeps no pointer to a main window that is gone.
    void DisconnectShellWindows();
    // Both collection events: the pop-up sweep (Ctrl up, popupBlocking 1),
    // then the page inspection (realTimeMonitoring 1). Never raises.
    void OnShellWindowEvent(long cookie);
    // One pass over every window of the collection, squashing pop-ups.
    void SweepPopups();
    // One pass fetching every window's page and squashing the windows whose
    // page names a known spyware class.
    void InspectPages();
    // Sound, log entry and tray animation as the settings ask, then Quit.
    void SquashWindow(IWebBrowser2* browser, const char* title, const char* url, const char* dateText,
                      const char* type);
    // Plays the WAVE resource "#<id>" asynchronously from memory; 0 when
    // there is no such resource, 1 when it cannot be locked, else the result
    // of PlaySound. Virtual so that tests can hear it.
    virtual int PlayWaveResource(int id);

    // Control fields, bound to their controls once the window exists.
    CControl statusLine;              // 1051 "Protecting you against ..."
    CButtonControl popupCheck;        // 1026 "Enable Popup Blocker" (Pop)
    CButtonControl realTimeCheck;     // 1027 "Enable Real Time system monitoring" (Real)
    CControl scanStatus;              // 1050 progress text of the scan
    CControl cleanPicture;            // 1048 picture link "Clean"
    CControl updatePicture;           // 1040 picture link "Update Version"
    CControl exitPicture;             // 1041 picture link "Exit"
    CControl scanPicture;             // 1037 picture link "Scan My Computer"
    CButtonControl settingsButton;    // 1033 "Show Settings >>"
    CControl separatorLine;           // 1012 top edge of the settings panel
    CControl summaryLine;             // 1023 result summary
    CButtonControl checkAllBox;       // 1021 "Check All"
    CListViewControl resultList;      // 1020 scan results
    CButtonControl soundCheck;        // 1005 "Play Sound " (Sound)
    CButtonControl squashLogCheck;    // 1001 "What did I squash?" (AppLog)
    CButtonControl animateCheck;      // 1003 "Animate icon when spyware is destroyed" (Anim)
    CButtonControl exitButton;        // 2 hidden "Exit", the cancel command
    CButtonControl saveButton;        // 1 "Save Settings", the OK command

    HCURSOR handCursor = nullptr;     // shown over the picture links; loaded at the first mouse move
    int collapsedHeight = 0;          // window height without the settings panel
    int fullHeight = 0;               // window height with the settings panel
    BOOL settingsShown = TRUE;        // the settings panel is shown
    bool showAllowed = false;         // the window may become visible
    DATE sweepTime = 0;               // start of the current monitor pass (automation date)
    GdiObject<HFONT> scanFont;        // Tahoma, bold, 10 points: scanStatus
    GdiObject<HFONT> summaryFont;     // Arial, bold, underlined, 14 pixels: summaryLine
    GdiObject<HFONT> statusFont;      // Tahoma, bold, underlined, 12 pixels: statusLine
    int popupBlocking = 0;            // "Pop"
    int squashLogging = 0;            // "AppLog"
    int realTimeMonitoring = 0;       // "Real"
    int animateIcon = 0;              // "Anim"
    int playSound = 0;                // "Sound" as read at start-up
    std::string startFolder;          // folder of the data files: the working directory at start-up
                                      // unless the application object set it before
    HICON appIcon = nullptr;          // icon 132, the window's big and small icon
    // The port of the page inspection's HTTP client. The program always
    // fetches from 80; tests point it at a loopback server of theirs.
    int inspectionPort = 80;
    // The pause after each class key of the scan, in milliseconds; tests
    // shorten it.
    DWORD scanPauseMs = 35;
    // The main window as the automation object that the shell's window
    // collection calls with its events.
    CDispatchSink shellEvents{[this](DISPID, long cookie) { OnShellWindowEvent(cookie); }};
    // Where shellEvents is subscribed, and the subscription's cookie (0: none).
    ComRef<IConnectionPoint> shellEventsPoint;
    DWORD shellEventsCookie = 0;

protected:
    // Binds the control fields to the dialog's controls.
    void DoDataExchange();
    // The start-up sequence.
    BOOL OnInitDialog() override;
    // "Save Settings" and the Enter key.
    void OnOK() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnSysCommand(UINT command, LPARAM lParam) override;
    bool OnPaint() override;
    HICON OnQueryDragIcon() override;
    // The visibility gate.
    bool OnWindowPosChanging(WINDOWPOS* pos) override;
    bool OnClose() override;
    // OnPictureHover.
    bool OnMouseMove(UINT flags, POINT point) override;
    // OnPictureClick.
    bool OnLButtonDown(UINT flags, POINT point) override;
    bool OnInitMenuPopup(HMENU popup, UINT index, BOOL systemMenu) override;

public:
    // Reads the records of the definitions file from archive (positioned at
    // its start), replacing the previous records. flag is not used.
    virtual void SerializeDefinitions(DefinitionsArchive& archive, int flag);

protected:
    // Start-up step 14: adds the tray icon; nonzero when it is in the
    // notification area.
    virtual BOOL CreateTrayIcon();

private:
    // Sets sweepTime to the local date and time and returns its date text.
    std::string StartSweepClock();
    // The number of windows of the shell's collection, read once per pass.
    long CountShellWindows();
    // The window at index of the collection as a web browser, with its page
    // title and address; false for an index that holds no window or one that
    // is no web browser.
    bool ReadBrowserWindow(long index, ComRef<IWebBrowser2>& browser, std::string& title, std::string& url);
    // Loads handCursor: cursor 106 of winhlp32.exe, else the system's hand.
    void LoadHandCursor();
    // The screen point lies on the link's window rectangle.
    static bool OnLink(const CControl& link, POINT screenPoint);
};
