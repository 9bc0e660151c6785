// The automation sink of the shell window events: name lookup, calls and
// their errors, interfaces and reference counts.
#include "win/DispatchSink.h"

#include <gtest/gtest.h>

#include <exdisp.h>
#include <oleauto.h>
#include <stdexcept>
#include <string>

namespace {

// Invokes id with one argument given as text (none when arg is null), which
// the sink converts to an integer.
HRESULT Call(CDispatchSink& sink, DISPID id, const wchar_t* arg, WORD flags = DISPATCH_METHOD,
             EXCEPINFO* info = nullptr, UINT named = 0, UINT* argError = nullptr)
{
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(arg);
    DISPID name = 0;
    DISPPARAMS params = {&v, &name, arg != nullptr ? 1u : 0u, named};
    HRESULT hr = sink.Invoke(id, IID_NULL, 0, flags, &params, nullptr, info, argError);
    VariantClear(&v);
    return hr;
}

TEST(DispatchSinkTest, TheTwoEventsReachTheCallbackWithTheCookie)
{
    std::string calls;
    CDispatchSink sink([&](DISPID id, long n) { calls += std::to_string(id) + ":" + std::to_string(n) + ";"; });
    struct Case { DISPID id; const wchar_t* arg; WORD flags; UINT named; HRESULT hr; };
    for (const Case& c : {Case{200, L"1234", DISPATCH_METHOD, 0, S_OK}, Case{201, L"-7", DISPATCH_METHOD, 0, S_OK},
                          Case{202, L"1", DISPATCH_METHOD, 0, DISP_E_MEMBERNOTFOUND},
                          Case{200, L"1", DISPATCH_PROPERTYGET, 0, DISP_E_MEMBERNOTFOUND},
                          Case{200, nullptr, DISPATCH_METHOD, 0, DISP_E_BADPARAMCOUNT},
                          Case{200, L"1", DISPATCH_METHOD, 1, DISP_E_NONAMEDARGS},
                          Case{201, L"twelve", DISPATCH_METHOD, 0, DISP_E_TYPEMISMATCH},
                          Case{201, L"1e20", DISPATCH_METHOD, 0, DISP_E_TYPEMISMATCH}}) {
        UINT argError = 9;
        EXPECT_EQ(Call(sink, c.id, c.arg, c.flags, nullptr, c.named, &argError), c.hr) << c.id;
        EXPECT_EQ(argError, c.hr == DISP_E_TYPEMISMATCH ? 0u : 9u) << "the argument at fault";
    }
    EXPECT_EQ(calls, "200:1234;201:-7;");
    DISPPARAMS none = {};
    EXPECT_EQ(sink.Invoke(200, IID_IDispatch, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);

    // A C++ exception must not unwind into the caller's COM machinery.
    sink.SetCallback([](DISPID, long) { throw std::runtime_error("sweep failed"); });
    EXCEPINFO info = {};
    EXPECT_EQ(Call(sink, 200, L"1", DISPATCH_METHOD, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, E_UNEXPECTED);
    EXPECT_EQ(Call(sink, 200, L"1"), DISP_E_EXCEPTION);
    sink.SetCallback(nullptr);
    EXPECT_EQ(Call(sink, 201, L"1"), S_OK);
}

TEST(DispatchSinkTest, NamesInterfacesAndReferences)
{
    CDispatchSink sink;
    struct Case { const wchar_t* names[2]; UINT count; HRESULT hr; DISPID ids[2]; };
    for (const Case& c : {Case{{L"WindowRegistered"}, 1, S_OK, {200}}, Case{{L"windowREMOVED"}, 1, S_OK, {201}},
                          Case{{L"WindowRegistere"}, 1, DISP_E_UNKNOWNNAME, {DISPID_UNKNOWN}},
                          Case{{L"WindowRemoved", L"lCookie"}, 2, DISP_E_UNKNOWNNAME, {201, DISPID_UNKNOWN}}}) {
        DISPID ids[2] = {0, 0};
        EXPECT_EQ(sink.GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(c.names), c.count, 0, ids), c.hr);
        EXPECT_TRUE(ids[0] == c.ids[0] && ids[1] == c.ids[1]) << c.names[0];
    }
    EXPECT_TRUE(IsEqualIID(kShellWindowsEventsIid, DIID_DShellWindowsEvents));
    void* object = nullptr;
    for (const IID* iid : {&IID_IUnknown, &IID_IDispatch, &kShellWindowsEventsIid}) {
        EXPECT_EQ(sink.QueryInterface(*iid, &object), S_OK);
        EXPECT_EQ(object, static_cast<void*>(sink.GetIDispatch()));
    }
    EXPECT_EQ(sink.QueryInterface(IID_IStream, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    for (ULONG left : {2u, 1u, 0u, 0u})
        EXPECT_EQ(sink.Release(), left) << "three references, and never below zero";
    UINT count = 7;
    EXPECT_EQ(sink.GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u) << "no type information";
    ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
    EXPECT_EQ(sink.GetTypeInfo(0, 0, &info), E_NOTIMPL);
    EXPECT_EQ(info, nullptr);
}

} // namespace
