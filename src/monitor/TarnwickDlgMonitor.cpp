// The real-time monitor's members of the main window: the connection to the
// shell's window collection, its event handler, the pop-up sweep and the
// squash of one window.
#include <windows.h>
#include <exdisp.h>
#include <mmsystem.h>
#include <mshtml.h>
#include <ocidl.h>
#include <ole2.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "app/TarnwickDlg.h"
#include "monitor/BlockList.h"
#include "monitor/ComError.h"
#include "monitor/ShellWindows.h"
#include "monitor/SquashDate.h"
#include "tray/MySysTray.h"
#include "win/WinApp.h"

ComRef<IShellWindows> shellWindows;

namespace {

const char kNoShellWindows[] = "Shell Windows interface is not avilable";
const int kSquashSound = 139;

HINSTANCE MonitorModule()
{
    CWinApplication* app = CWinApplication::Current();
    return app != nullptr && app->instance != nullptr ? app->instance : GetModuleHandleA(nullptr);
}

// Runs one pass; an automation failure, or lack of memory, ends it there.
template <class Pass>
void RunGuarded(Pass pass)
{
    try {
        pass();
    } catch (const CComCallError&) {
        // The pass ends at the failure; what it squashed stays squashed and
        // the next event starts a new one.
    } catch (const std::exception&) {
    }
}

} // namespace

std::string CTarnwickDlg::StartSweepClock()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    now.wMilliseconds = 0;
    DATE stamp = 0;
    if (SystemTimeToVariantTime(&now, &stamp))
        sweepTime = stamp;
    SYSTEMTIME date;
    if (!VariantTimeToSystemTime(sweepTime, &date))
        date = now;
    return FormatSquashDate(date.wYear, date.wMonth, date.wDay);
}

void CTarnwickDlg::ConnectShellWindows()
{
    CoInitialize(nullptr);
    if (shellWindows)
        return;

    IUnknown* object = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER |
                                                                   CLSCTX_LOCAL_SERVER,
                                  IID_IUnknown, reinterpret_cast<void**>(&object));
    if (SUCCEEDED(hr) && object != nullptr) {
        hr = OleRun(object);
        if (SUCCEEDED(hr))
            hr = object->QueryInterface(IID_IShellWindows, shellWindows.ReceiveVoid());
        object->Release();
        if (SUCCEEDED(hr) && !shellWindows)
            hr = E_NOINTERFACE;
    } else if (SUCCEEDED(hr)) {
        hr = E_POINTER;
    }
    if (FAILED(hr)) {
        shellWindows.Reset();
        if (CWinApplication* app = CWinApplication::Current())
            app->MessageBox(kNoShellWindows, MB_OK);
        else
            MessageBoxA(hwnd, kNoShellWindows, nullptr, MB_OK);
        return;
    }

    // A collection without events still serves the start-up passes: a
    // failure here is silent. The subscription ends with the main window.
    ComRef<IConnectionPointContainer> container;
    if (FAILED(shellWindows->QueryInterface(IID_IConnectionPointContainer, container.ReceiveVoid())) || !container)
        return;
    ComRef<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(DIID_DShellWindowsEvents, point.Receive())) || !point)
        return;
    DWORD cookie = 0;
    if (SUCCEEDED(point->Advise(shellEvents.GetIDispatch(), &cookie)) && cookie != 0) {
        shellEventsPoint = point;
        shellEventsCookie = cookie;
    }
}

void CTarnwickDlg::DisconnectShellWindows()
{
    if (shellEventsPoint && shellEventsCookie != 0)
        shellEventsPoint->Unadvise(shellEventsCookie);
    shellEventsPoint.Reset();
    shellEventsCookie = 0;
}

void CTarnwickDlg::OnShellWindowEvent(long /*cookie*/)
{
    if ((GetKeyState(VK_CONTROL) & 0x8000) == 0 && popupBlocking == 1)
        RunGuarded([this] { SweepPopups(); });
    if (realTimeMonitoring == 1)
        RunGuarded([this] { InspectPages(); });
}

long CTarnwickDlg::CountShellWindows()
{
    if (!shellWindows)
        throw CComCallError(E_POINTER, IID_IShellWindows);
    long count = 0;
    CheckCall(shellWindows->get_Count(&count), IID_IShellWindows);
    return count;
}

bool CTarnwickDlg::ReadBrowserWindow(long index, ComRef<IWebBrowser2>& browser, std::string& title,
                                     std::string& url)
{
    VARIANT position;
    VariantInit(&position);
    V_VT(&position) = VT_I4;
    V_I4(&position) = index;
    ComRef<IDispatch> item;
    CheckCall(shellWindows->Item(position, item.Receive()), IID_IShellWindows);
    if (!item)
        return false;
    if (FAILED(item->QueryInterface(IID_IWebBrowser2, browser.ReceiveVoid())) || !browser)
        return false;

    BstrHolder wideTitle, wideUrl;
    CheckCall(browser->get_LocationName(wideTitle.Receive()), IID_IWebBrowser);
    title = WideToAnsi(wideTitle.Get(), IID_IWebBrowser);
    CheckCall(browser->get_LocationURL(wideUrl.Receive()), IID_IWebBrowser);
    url = WideToAnsi(wideUrl.Get(), IID_IWebBrowser);
    return true;
}

void CTarnwickDlg::SweepPopups()
{
    // Windows that appear during the sweep wait for the next event.
    const long count = CountShellWindows();
    const std::string dateText = StartSweepClock();

    for (long index = 0; index < count; ++index) {
        ComRef<IWebBrowser2> browser;
        std::string title, url;
        if (!ReadBrowserWindow(index, browser, title, url))
            continue;

        // Only HTML pages: shell folder views and windows still without a
        // document are never squashed.
        ComRef<IDispatch> document;
        CheckCall(browser->get_Document(document.Receive()), IID_IWebBrowser);
        if (!document)
            continue;
        ComRef<IHTMLDocument2> page;
        if (FAILED(document->QueryInterface(IID_IHTMLDocument2, page.ReceiveVoid())) || !page)
            continue;

        if (url.find("kazaa") != std::string::npos || url.find("outlook") != std::string::npos)
            continue;

        int toolbar = 0;
        CheckCall(browser->get_ToolBar(&toolbar), IID_IWebBrowserApp);
        if (toolbar <= 0) {
            SquashWindow(browser.Get(), title.c_str(), url.c_str(), dateText.c_str(), "Popup");
            continue;
        }
        BlockList.ForEachHit(url.c_str(), [&](std::size_t) {
            SquashWindow(browser.Get(), title.c_str(), url.c_str(), dateText.c_str(), "Popup");
        });
    }
}

void CTarnwickDlg::SquashWindow(IWebBrowser2* browser, const char* title, const char* url, const char* dateText,
                                const char* type)
{
    // The box as it is on the screen now, not the stored setting.
    if (soundCheck.GetCheck() == BST_CHECKED)
        PlayWaveResource(kSquashSound);
    if (squashLogging == 1)
        LogSquash(title, url, dateText, type);
    if (animateIcon == 1) {
        sysTray.LoadAnimationFrames(149, 152);
        sysTray.StartAnimation(50, 1);
    }
    if (browser == nullptr)
        throw CComCallError(E_POINTER, IID_IWebBrowserApp);
    CheckCall(browser->Quit(), IID_IWebBrowserApp);
}

int CTarnwickDlg::PlayWaveResource(int id)
{
    char name[16];
    std::snprintf(name, sizeof name, "#%d", id);
    HINSTANCE module = MonitorModule();
    HRSRC found = FindResourceA(module, name, "WAVE");
    if (found == nullptr)
        return 0;
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr)
        return 0;
    const void* image = LockResource(loaded);
    if (image == nullptr)
        return 1;
    return PlaySoundA(static_cast<LPCSTR>(image), nullptr, SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
}
