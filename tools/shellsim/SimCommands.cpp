#include "SimCommands.h"
#include <cstring>

namespace simcommand {

namespace {

void PutInt(std::vector<BYTE>& out, long value)
{
    INT32 v = static_cast<INT32>(value);
    const BYTE* p = reinterpret_cast<const BYTE*>(&v);
    out.insert(out.end(), p, p + sizeof v);
}

INT32 GetInt(const BYTE* p)
{
    INT32 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void PutText(std::vector<BYTE>& out, const std::wstring& text)
{
    for (wchar_t c : text) {
        UINT16 unit = static_cast<UINT16>(c);
        const BYTE* p = reinterpret_cast<const BYTE*>(&unit);
        out.insert(out.end(), p, p + sizeof unit);
    }
}

std::wstring GetText(const BYTE* p, size_t units)
{
    std::wstring text;
    text.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        UINT16 unit;
        std::memcpy(&unit, p + 2 * i, sizeof unit);
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

const size_t kOpenHeader = 5 * 4;

} // namespace

std::vector<BYTE> EncodeOpen(const SimWindowDetails& details)
{
    std::vector<BYTE> out;
    PutInt(out, details.toolBar);
    PutInt(out, static_cast<long>(details.document));
    PutInt(out, details.isWebBrowser ? 1 : 0);
    PutInt(out, static_cast<long>(details.title.size()));
    PutInt(out, static_cast<long>(details.url.size()));
    PutText(out, details.title);
    PutText(out, details.url);
    return out;
}

bool DecodeOpen(const void* data, size_t size, SimWindowDetails& details)
{
    if (data == nullptr || size < kOpenHeader)
        return false;
    const BYTE* p = static_cast<const BYTE*>(data);
    INT32 document = GetInt(p + 4);
    UINT32 titleUnits = static_cast<UINT32>(GetInt(p + 12));
    UINT32 urlUnits = static_cast<UINT32>(GetInt(p + 16));
    if (document < 0 || document > static_cast<INT32>(SimDocument::None))
        return false;
    // 64-bit sums: no overflow whatever the lengths claim.
    unsigned long long expected = kOpenHeader + 2ull * titleUnits + 2ull * urlUnits;
    if (expected != size)
        return false;
    details.toolBar = GetInt(p);
    details.document = static_cast<SimDocument>(document);
    details.isWebBrowser = GetInt(p + 8) != 0;
    details.title = GetText(p + kOpenHeader, titleUnits);
    details.url = GetText(p + kOpenHeader + 2 * size_t(titleUnits), urlUnits);
    return true;
}

std::vector<BYTE> EncodeInts(const std::vector<long>& values)
{
    std::vector<BYTE> out;
    for (long v : values)
        PutInt(out, v);
    return out;
}

bool DecodeInts(const void* data, size_t size, size_t count, std::vector<long>& values)
{
    if (size != 4 * count || (count > 0 && data == nullptr))
        return false;
    values.clear();
    for (size_t i = 0; i < count; ++i)
        values.push_back(GetInt(static_cast<const BYTE*>(data) + 4 * i));
    return true;
}

bool CallFromName(const std::string& name, SimCall& call)
{
    static const struct
    {
        const char* name;
        SimCall call;
    } names[] = {
        {"Count", SimCall::Count},
        {"Item", SimCall::Item},
        {"QueryShellWindows", SimCall::QueryShellWindows},
        {"Run", SimCall::Run},
        {"FindConnectionPoint", SimCall::FindConnectionPoint},
        {"Advise", SimCall::Advise},
        {"LocationName", SimCall::LocationName},
        {"LocationURL", SimCall::LocationURL},
        {"Document", SimCall::Document},
        {"ToolBar", SimCall::ToolBar},
        {"Quit", SimCall::Quit},
        {"QueryWebBrowser", SimCall::QueryWebBrowser},
    };
    for (const auto& entry : names) {
        if (lstrcmpiA(entry.name, name.c_str()) == 0) {
            call = entry.call;
            return true;
        }
    }
    return false;
}

LRESULT Execute(ShellSim& shell, ULONG_PTR command, const void* data, size_t size)
{
    std::vector<long> args;
    switch (command) {
    case Open: {
        SimWindowDetails details;
        if (!DecodeOpen(data, size, details))
            return 0;
        return shell.OpenWindow(details);
    }
    case Close:
        if (!DecodeInts(data, size, 1, args))
            return 0;
        shell.CloseWindow(static_cast<int>(args[0]));
        return 1;
    case QuitCount:
        return static_cast<LRESULT>(shell.QuitCalls().size());
    case QuitAt: {
        if (!DecodeInts(data, size, 1, args))
            return 0;
        std::vector<int> quits = shell.QuitCalls();
        if (args[0] < 0 || static_cast<size_t>(args[0]) >= quits.size())
            return -1;
        return quits[static_cast<size_t>(args[0])];
    }
    case AdviseCount:
        return shell.AdviseCount();
    case WindowCount:
        return shell.WindowCount();
    case Fail:
        if (!DecodeInts(data, size, 3, args) || args[1] < 0 ||
            args[1] > static_cast<long>(SimCall::QueryWebBrowser))
            return 0;
        shell.FailCall(static_cast<int>(args[0]), static_cast<SimCall>(args[1]), static_cast<HRESULT>(args[2]));
        return 1;
    default:
        return 0;
    }
}

} // namespace simcommand
