#pragma once
#include <windows.h>
#include <oleauto.h>

#include <new>
#include <string>

// The error of a failed automation call of the real-time monitor: the
// failing status and the identifier of the interface that declares the
// member. The monitor's passes raise it and their callers (the event handler
// and the start-up) catch it; it never travels into the shell's calls.
class CComCallError
{
public:
    CComCallError(HRESULT status, REFIID iid) : status(status), iid(iid) {}

    HRESULT status;
    IID iid;
};

// Raises the error for any failed status; success statuses (S_OK, S_FALSE)
// pass.
inline void CheckCall(HRESULT hr, REFIID declaringInterface)
{
    if (FAILED(hr))
        throw CComCallError(hr, declaringInterface);
}

// A wide string of an automation call in the system's ANSI code page. A null
// string is the empty string. When the conversion fails, or memory for the
// result cannot be had, raises E_OUTOFMEMORY for declaringInterface.
inline std::string WideToAnsi(const wchar_t* text, REFIID declaringInterface)
{
    if (text == nullptr || text[0] == L'\0')
        return std::string();
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        throw CComCallError(E_OUTOFMEMORY, declaringInterface);
    std::string result;
    try {
        result.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        throw CComCallError(E_OUTOFMEMORY, declaringInterface);
    }
    if (WideCharToMultiByte(CP_ACP, 0, text, -1, &result[0], size, nullptr, nullptr) <= 0)
        throw CComCallError(E_OUTOFMEMORY, declaringInterface);
    // Drop the terminating NUL that the conversion wrote.
    result.resize(static_cast<std::size_t>(size) - 1);
    return result;
}

// Owns a BSTR that an automation call hands out.
class BstrHolder
{
public:
    BstrHolder() = default;
    ~BstrHolder() { SysFreeString(text); }
    BstrHolder(const BstrHolder&) = delete;
    BstrHolder& operator=(const BstrHolder&) = delete;

    // The address to pass as the call's output (the previous string is freed).
    BSTR* Receive()
    {
        SysFreeString(text);
        text = nullptr;
        return &text;
    }
    BSTR Get() const { return text; }

private:
    BSTR text = nullptr;
};
