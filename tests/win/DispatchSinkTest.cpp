// The automation sink of the shell window events: name lookup, calls and
// their errors, interfaces and reference counts.
#include "win/ComRef.h"
#include "win/DispatchSink.h"

#include <gtest/gtest.h>

#include <oleauto.h>
#include <ocidl.h>
#include <stdexcept>
#include <vector>

namespace {

struct Call
{
    DISPID id;
    long cookie;
};

class DispatchSinkTest : public ::testing::Test
{
protected:
    DispatchSinkTest() : sink([this](DISPID id, long cookie) { calls.push_back({id, cookie}); }) {}

    // Invokes id as a method with the given arguments (last argument first,
    // as IDispatch wants them).
    HRESULT CallWith(DISPID id, std::vector<VARIANT> args, UINT* argError = nullptr, WORD flags = DISPATCH_METHOD,
                     EXCEPINFO* exception = nullptr)
    {
        DISPPARAMS params = {};
        params.rgvarg = args.empty() ? nullptr : args.data();
        params.cArgs = static_cast<UINT>(args.size());
        VARIANT result;
        VariantInit(&result);
        HRESULT hr = sink.Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, &result, exception, argError);
        VariantClear(&result);
        return hr;
    }

    static VARIANT Int(long value)
    {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = value;
        return v;
    }

    std::vector<Call> calls;
    CDispatchSink sink;
};

TEST_F(DispatchSinkTest, NamesMapToTheirIdsInAnyCase)
{
    struct Case
    {
        const wchar_t* name;
        DISPID id;
    };
    const Case cases[] = {{L"WindowRegistered", 200}, {L"windowregistered", 200}, {L"WINDOWREMOVED", 201},
                          {L"WindowRemoved", 201}};
    for (const Case& c : cases) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(c.name)};
        DISPID id = 0;
        EXPECT_EQ(sink.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), S_OK);
        EXPECT_EQ(id, c.id);
    }
}

TEST_F(DispatchSinkTest, UnknownNamesAndParameterNamesAreRefused)
{
    for (const wchar_t* name : {L"WindowRevoked", L"WindowRegistere", L"WindowRegisteredX", L""}) {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = 0;
        EXPECT_EQ(sink.GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNNAME);
        EXPECT_EQ(id, DISPID_UNKNOWN);
    }
    LPOLESTR withParameter[] = {const_cast<LPOLESTR>(L"WindowRemoved"), const_cast<LPOLESTR>(L"lCookie")};
    DISPID ids[2] = {0, 0};
    EXPECT_EQ(sink.GetIDsOfNames(IID_NULL, withParameter, 2, LOCALE_USER_DEFAULT, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], 201);
    EXPECT_EQ(ids[1], DISPID_UNKNOWN);

    DISPID id = 0;
    EXPECT_EQ(sink.GetIDsOfNames(IID_IDispatch, withParameter, 1, LOCALE_USER_DEFAULT, &id), DISP_E_UNKNOWNINTERFACE);
}

TEST_F(DispatchSinkTest, BothEventsReachTheCallbackWithTheCookie)
{
    EXPECT_EQ(CallWith(200, {Int(1234)}), S_OK);
    EXPECT_EQ(CallWith(201, {Int(-7)}), S_OK);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].id, 200);
    EXPECT_EQ(calls[0].cookie, 1234);
    EXPECT_EQ(calls[1].id, 201);
    EXPECT_EQ(calls[1].cookie, -7);
}

TEST_F(DispatchSinkTest, WrongMemberOrCallKindIsNotFound)
{
    EXPECT_EQ(CallWith(202, {Int(1)}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(CallWith(0, {Int(1)}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(CallWith(200, {Int(1)}, nullptr, DISPATCH_PROPERTYGET), DISP_E_MEMBERNOTFOUND);
    DISPPARAMS params = {};
    VARIANT arg = Int(1);
    params.rgvarg = &arg;
    params.cArgs = 1;
    EXPECT_EQ(sink.Invoke(200, IID_IDispatch, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              DISP_E_UNKNOWNINTERFACE);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchSinkTest, WrongArgumentCountIsRefused)
{
    EXPECT_EQ(CallWith(200, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(CallWith(201, {Int(1), Int(2)}), DISP_E_BADPARAMCOUNT);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchSinkTest, ArgumentIsCoercedToAnInteger)
{
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"12");
    EXPECT_EQ(CallWith(200, {text}), S_OK);
    VariantClear(&text);

    VARIANT real;
    VariantInit(&real);
    real.vt = VT_R8;
    real.dblVal = 3.0;
    EXPECT_EQ(CallWith(201, {real}), S_OK);

    short small = -9;
    VARIANT byRef;
    VariantInit(&byRef);
    byRef.vt = VT_I2 | VT_BYREF;
    byRef.piVal = &small;
    EXPECT_EQ(CallWith(200, {byRef}), S_OK);

    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].cookie, 12);
    EXPECT_EQ(calls[1].cookie, 3);
    EXPECT_EQ(calls[2].cookie, -9);
}

TEST_F(DispatchSinkTest, UnconvertibleArgumentIsATypeMismatch)
{
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(L"twelve");
    UINT argError = 99;
    EXPECT_EQ(CallWith(200, {text}, &argError), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 0u);
    VariantClear(&text);

    VARIANT huge;
    VariantInit(&huge);
    huge.vt = VT_R8;
    huge.dblVal = 1e20;
    EXPECT_EQ(CallWith(201, {huge}), DISP_E_TYPEMISMATCH);
    EXPECT_TRUE(calls.empty());
}

TEST_F(DispatchSinkTest, ExceptionsOfTheCallbackDoNotEscape)
{
    sink.SetCallback([](DISPID, long) { throw std::runtime_error("sweep failed"); });
    EXCEPINFO info;
    info.scode = 0;
    EXPECT_EQ(CallWith(200, {Int(1)}, nullptr, DISPATCH_METHOD, &info), DISP_E_EXCEPTION);
    EXPECT_NE(info.scode, 0);
    EXPECT_EQ(info.wCode, 0);

    sink.SetCallback([](DISPID, long) { throw 42; });
    EXPECT_EQ(CallWith(201, {Int(1)}), DISP_E_EXCEPTION);

    sink.SetCallback(nullptr);
    EXPECT_EQ(CallWith(201, {Int(1)}), S_OK) << "no callback: the event is accepted";
}

TEST_F(DispatchSinkTest, InterfacesAndReferences)
{
    EXPECT_EQ(sink.RefCount(), 0u);
    {
        ComRef<IUnknown> unknown;
        ComRef<IDispatch> dispatch;
        ComRef<IDispatch> events;
        ASSERT_EQ(sink.QueryInterface(IID_IUnknown, unknown.ReceiveVoid()), S_OK);
        ASSERT_EQ(sink.QueryInterface(IID_IDispatch, dispatch.ReceiveVoid()), S_OK);
        ASSERT_EQ(sink.QueryInterface(kShellWindowsEventsIid, events.ReceiveVoid()), S_OK);
        EXPECT_EQ(static_cast<void*>(unknown.Get()), static_cast<void*>(sink.GetIDispatch()));
        EXPECT_EQ(dispatch.Get(), sink.GetIDispatch());
        EXPECT_EQ(events.Get(), sink.GetIDispatch());
        EXPECT_EQ(sink.RefCount(), 3u);

        ComRef<IConnectionPointContainer> container;
        EXPECT_EQ(sink.QueryInterface(IID_IConnectionPointContainer, container.ReceiveVoid()), E_NOINTERFACE);
        EXPECT_FALSE(container);
        EXPECT_EQ(sink.QueryInterface(IID_IDispatch, nullptr), E_POINTER);
    }
    EXPECT_EQ(sink.RefCount(), 0u) << "every reference handed out came back";

    UINT count = 7;
    EXPECT_EQ(sink.GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u) << "no type information";
    ComRef<ITypeInfo> info;
    EXPECT_EQ(sink.GetTypeInfo(0, LOCALE_USER_DEFAULT, info.Receive()), E_NOTIMPL);
    EXPECT_FALSE(info);

    const IID expected = {0xFE4106E0, 0x399A, 0x11D0, {0xA4, 0x8C, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};
    EXPECT_TRUE(IsEqualIID(kShellWindowsEventsIid, expected));
}

} // namespace
