// The stand-in shell driven from another process: the command encoding, the
// "TarnwickShellSim" message window, shelldriver.exe against it, and
// shellsim.dll loaded as an in-process server.
#include <gtest/gtest.h>
#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>
#include <olectl.h>
#include <cstdio>
#include <string>
#include <vector>
#include "ShellSim.h"
#include "SimCommandWindow.h"
#include "SimCommands.h"

namespace {

// An event sink on the stack that records the DISPIDs, arguments and threads
// of its calls.
class RecordingSink : public IDispatch
{
public:
    LONG refs = 0;
    std::vector<std::pair<DISPID, LONG>> calls;
    std::vector<DWORD> threads;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override
    {
        *out = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        calls.emplace_back(dispid, params->cArgs == 1 ? params->rgvarg[0].lVal : -999);
        threads.push_back(GetCurrentThreadId());
        return S_OK;
    }
};

// Subscribes sink to the list's events; returns the cookie (0 on failure).
DWORD Subscribe(IUnknown* list, IUnknown* sink)
{
    IConnectionPointContainer* container = nullptr;
    if (FAILED(list->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))))
        return 0;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
    if (SUCCEEDED(container->FindConnectionPoint(DIID_DShellWindowsEvents, &point))) {
        point->Advise(sink, &cookie);
        point->Release();
    }
    container->Release();
    return cookie;
}

void Unsubscribe(IUnknown* list, DWORD cookie)
{
    IConnectionPointContainer* container = nullptr;
    ASSERT_EQ(S_OK, list->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)));
    IConnectionPoint* point = nullptr;
    ASSERT_EQ(S_OK, container->FindConnectionPoint(DIID_DShellWindowsEvents, &point));
    EXPECT_EQ(S_OK, point->Unadvise(cookie));
    point->Release();
    container->Release();
}

std::string BesideTheTest(const char* name)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path, length);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

// Runs shelldriver.exe with the given arguments while this thread goes on
// dispatching messages (the driver's commands arrive as sent messages).
// Returns its exit status (-1 if it could not run or hung).
int RunDriver(const std::string& arguments, std::string* output = nullptr)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return -1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string commandLine = "\"" + BesideTheTest("shelldriver.exe") + "\" " + arguments;
    PROCESS_INFORMATION process = {};
    BOOL started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                  nullptr, &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return -1;
    }
    CloseHandle(process.hThread);
    DWORD deadline = GetTickCount() + 30000;
    bool ended = false;
    while (!ended && GetTickCount() < deadline) {
        DWORD wait = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 500, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) {
            ended = true;
        } else {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }
    DWORD status = static_cast<DWORD>(-1);
    if (ended)
        GetExitCodeProcess(process.hProcess, &status);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hProcess);
    std::string text;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(readEnd);
    if (output != nullptr)
        *output = text;
    return ended ? static_cast<int>(status) : -1;
}

std::string Hex(HWND hwnd)
{
    char text[32];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(hwnd)));
    return text;
}

LRESULT Command(HWND target, ULONG_PTR command, const std::vector<BYTE>& args)
{
    COPYDATASTRUCT copy = {command, static_cast<DWORD>(args.size()),
                           args.empty() ? nullptr : const_cast<BYTE*>(args.data())};
    return SendMessageA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
}

TEST(ShellSimCommands, OpenArgumentsSurviveTheTripAndDamageIsRefused)
{
    SimWindowDetails details;
    details.title = L"Pop \x00e9 up";
    details.url = L"http://ads.example/x?y=1";
    details.toolBar = -3;
    details.document = SimDocument::NotHtml;
    details.isWebBrowser = false;
    std::vector<BYTE> bytes = simcommand::EncodeOpen(details);
    SimWindowDetails back;
    ASSERT_TRUE(simcommand::DecodeOpen(bytes.data(), bytes.size(), back));
    EXPECT_EQ(details.title, back.title);
    EXPECT_EQ(details.url, back.url);
    EXPECT_EQ(-3, back.toolBar);
    EXPECT_EQ(SimDocument::NotHtml, back.document);
    EXPECT_FALSE(back.isWebBrowser);

    for (size_t cut = 0; cut < bytes.size(); ++cut)
        EXPECT_FALSE(simcommand::DecodeOpen(bytes.data(), cut, back)) << cut;
    std::vector<BYTE> longer = bytes;
    longer.push_back(0);
    EXPECT_FALSE(simcommand::DecodeOpen(longer.data(), longer.size(), back));
    // Lengths that claim more than there is, even absurdly more.
    std::vector<BYTE> lying = bytes;
    lying[12] = 0xff;
    lying[13] = 0xff;
    lying[14] = 0xff;
    lying[15] = 0xff;
    EXPECT_FALSE(simcommand::DecodeOpen(lying.data(), lying.size(), back));
    std::vector<BYTE> badKind = bytes;
    badKind[4] = 7;
    EXPECT_FALSE(simcommand::DecodeOpen(badKind.data(), badKind.size(), back));

    std::vector<long> values;
    std::vector<BYTE> three = simcommand::EncodeInts({-1, 9, static_cast<long>(E_FAIL)});
    ASSERT_TRUE(simcommand::DecodeInts(three.data(), three.size(), 3, values));
    EXPECT_EQ((std::vector<long>{-1, 9, static_cast<long>(E_FAIL)}), values);
    EXPECT_FALSE(simcommand::DecodeInts(three.data(), three.size(), 2, values));
    EXPECT_FALSE(simcommand::DecodeInts(three.data(), three.size() - 1, 3, values));

    SimCall call = SimCall::Count;
    EXPECT_TRUE(simcommand::CallFromName("toolbar", call));
    EXPECT_EQ(SimCall::ToolBar, call);
    EXPECT_TRUE(simcommand::CallFromName("QueryWebBrowser", call));
    EXPECT_EQ(SimCall::QueryWebBrowser, call);
    EXPECT_FALSE(simcommand::CallFromName("Navigate", call));
}

class ShellSimDriven : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(ShellSimDriven, TheMessageWindowCarriesOutCommands)
{
    {
        ShellSim shell;
        SimCommandWindow window(shell);
        ASSERT_NE(nullptr, window.Handle());
        RecordingSink sink;
        DWORD cookie = Subscribe(shell.Collection(), &sink);
        ASSERT_NE(0u, cookie);

        SimWindowDetails details;
        details.title = L"t";
        LRESULT id = Command(window.Handle(), simcommand::Open, simcommand::EncodeOpen(details));
        EXPECT_EQ(1, id);
        EXPECT_EQ(1, Command(window.Handle(), simcommand::WindowCount, {}));
        EXPECT_EQ(1, Command(window.Handle(), simcommand::AdviseCount, {}));
        EXPECT_EQ(1, Command(window.Handle(), simcommand::Fail,
                             simcommand::EncodeInts({static_cast<long>(id), static_cast<long>(SimCall::Quit),
                                                     static_cast<long>(E_FAIL)})));
        IDispatch* item = nullptr;
        VARIANT index;
        VariantInit(&index);
        index.vt = VT_I4;
        index.lVal = 0;
        IShellWindows* list = nullptr;
        ASSERT_EQ(S_OK, shell.Collection()->QueryInterface(IID_IShellWindows, reinterpret_cast<void**>(&list)));
        ASSERT_EQ(S_OK, list->Item(index, &item));
        IWebBrowser2* browser = nullptr;
        ASSERT_EQ(S_OK, item->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)));
        EXPECT_EQ(E_FAIL, browser->Quit());
        browser->Release();
        item->Release();
        list->Release();
        EXPECT_EQ(1, Command(window.Handle(), simcommand::QuitCount, {}));
        EXPECT_EQ(id, Command(window.Handle(), simcommand::QuitAt, simcommand::EncodeInts({0})));
        EXPECT_EQ(-1, Command(window.Handle(), simcommand::QuitAt, simcommand::EncodeInts({1})));
        EXPECT_EQ(1, Command(window.Handle(), simcommand::Close, simcommand::EncodeInts({static_cast<long>(id)})));
        EXPECT_EQ(0, shell.WindowCount());

        // Malformed or unknown commands change nothing and answer 0.
        EXPECT_EQ(0, Command(window.Handle(), simcommand::Open, {1, 2, 3}));
        EXPECT_EQ(0, Command(window.Handle(), simcommand::Close, {}));
        EXPECT_EQ(0, Command(window.Handle(), simcommand::Fail, simcommand::EncodeInts({1, 99, 5})));
        EXPECT_EQ(0, Command(window.Handle(), 12345, {}));
        EXPECT_EQ(0, shell.WindowCount());

        ASSERT_EQ(2u, sink.calls.size());
        EXPECT_EQ(std::make_pair(DISPID(200), LONG(id)), sink.calls[0]);
        EXPECT_EQ(std::make_pair(DISPID(201), LONG(id)), sink.calls[1]);
        Unsubscribe(shell.Collection(), cookie);
    }
    EXPECT_EQ(0, ShellSim::LiveObjects());
}

TEST_F(ShellSimDriven, TheDriverCommandsFromAnotherProcess)
{
    ShellSim shell;
    SimCommandWindow window(shell);
    RecordingSink sink;
    DWORD cookie = Subscribe(shell.Collection(), &sink);
    ASSERT_NE(0u, cookie);
    std::string target = "--window " + Hex(window.Handle()) + " ";

    std::string out;
    ASSERT_EQ(0, RunDriver(target + "open \"Pop up\" http://pop.example/ 0 html", &out));
    EXPECT_EQ("1", out.substr(0, out.find_first_of("\r\n")));
    ASSERT_EQ(0, RunDriver(target + "open Folder file:///C:/ 1 nothtml notbrowser", &out));
    EXPECT_EQ("2", out.substr(0, out.find_first_of("\r\n")));
    ASSERT_EQ(2, shell.WindowCount());
    ASSERT_EQ(2u, sink.calls.size());
    EXPECT_EQ(std::make_pair(DISPID(200), LONG(1)), sink.calls[0]);
    // Fired on this thread, the one that owns the message window.
    EXPECT_EQ(GetCurrentThreadId(), sink.threads[0]);

    IShellWindows* list = nullptr;
    ASSERT_EQ(S_OK, shell.Collection()->QueryInterface(IID_IShellWindows, reinterpret_cast<void**>(&list)));
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = 0;
    IDispatch* item = nullptr;
    ASSERT_EQ(S_OK, list->Item(index, &item));
    IWebBrowser2* browser = nullptr;
    ASSERT_EQ(S_OK, item->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)));
    BSTR title = nullptr;
    ASSERT_EQ(S_OK, browser->get_LocationName(&title));
    EXPECT_STREQ(L"Pop up", title);
    SysFreeString(title);
    int toolBar = -1;
    EXPECT_EQ(S_OK, browser->get_ToolBar(&toolBar));
    EXPECT_EQ(0, toolBar);

    ASSERT_EQ(0, RunDriver(target + "fail 1 ToolBar 0x80004005"));
    EXPECT_EQ(E_FAIL, browser->get_ToolBar(&toolBar));
    browser->Quit();
    browser->Quit();
    ASSERT_EQ(0, RunDriver(target + "quits", &out));
    EXPECT_EQ("1 1", out.substr(0, out.find_first_of("\r\n")));
    ASSERT_EQ(0, RunDriver(target + "advises", &out));
    EXPECT_EQ("1", out.substr(0, out.find_first_of("\r\n")));
    ASSERT_EQ(0, RunDriver(target + "close 1"));
    ASSERT_EQ(0, RunDriver(target + "windows", &out));
    EXPECT_EQ("1", out.substr(0, out.find_first_of("\r\n")));
    ASSERT_EQ(3u, sink.calls.size());
    EXPECT_EQ(std::make_pair(DISPID(201), LONG(1)), sink.calls[2]);

    EXPECT_EQ(1, RunDriver(target + "open only-a-title"));
    EXPECT_EQ(1, RunDriver(target + "fail 1 Navigate 1"));
    EXPECT_EQ(1, RunDriver(target + "dance"));
    EXPECT_EQ(3, RunDriver("--window 1234 windows"));

    browser->Release();
    item->Release();
    list->Release();
    Unsubscribe(shell.Collection(), cookie);
}

TEST_F(ShellSimDriven, TheDllServesTheClassAndItsWindowOnTheLoadingThread)
{
    HMODULE dll = LoadLibraryA(BesideTheTest("shellsim.dll").c_str());
    ASSERT_NE(nullptr, dll);
    typedef HRESULT(STDAPICALLTYPE * GetClassObjectFn)(REFCLSID, REFIID, void**);
    typedef HRESULT(STDAPICALLTYPE * CanUnloadFn)();
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(dll, "DllGetClassObject")));
    auto canUnload = reinterpret_cast<CanUnloadFn>(reinterpret_cast<void*>(GetProcAddress(dll, "DllCanUnloadNow")));
    ASSERT_NE(nullptr, getClassObject);
    ASSERT_NE(nullptr, canUnload);
    EXPECT_NE(nullptr, GetProcAddress(dll, "DllRegisterServer"));
    EXPECT_EQ(S_FALSE, canUnload());

    IClassFactory* factory = nullptr;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE,
              getClassObject(CLSID_InternetExplorer, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    ASSERT_EQ(S_OK, getClassObject(CLSID_ShellWindows, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    IShellWindows* list = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IShellWindows, reinterpret_cast<void**>(&list)));
    factory->Release();

    HWND mailbox = FindWindowExA(HWND_MESSAGE, nullptr, "TarnwickShellSim", nullptr);
    ASSERT_NE(nullptr, mailbox);
    EXPECT_EQ(GetCurrentThreadId(), GetWindowThreadProcessId(mailbox, nullptr));

    RecordingSink sink;
    DWORD cookie = Subscribe(list, &sink);
    ASSERT_NE(0u, cookie);
    std::string out;
    // Without --window the driver finds the DLL's window by its class.
    ASSERT_EQ(0, RunDriver("open \"In the DLL\" http://dll.example/ 1 none", &out));
    ASSERT_EQ(1u, sink.calls.size());
    EXPECT_EQ(200, sink.calls[0].first);
    EXPECT_EQ(GetCurrentThreadId(), sink.threads[0]);
    LONG count = 0;
    EXPECT_EQ(S_OK, list->get_Count(&count));
    EXPECT_EQ(1, count);
    ASSERT_EQ(0, RunDriver("close " + std::to_string(sink.calls[0].second)));
    EXPECT_EQ(S_OK, list->get_Count(&count));
    EXPECT_EQ(0, count);

    // The window list and its window stay for the life of the process; the
    // stack sink must not.
    Unsubscribe(list, cookie);
    EXPECT_EQ(0, sink.refs);
    list->Release();
}

} // namespace
