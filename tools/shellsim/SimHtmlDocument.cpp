#include "SimHtmlDocument.h"
#include "SimState.h"

SimHtmlDocument::SimHtmlDocument() { SimState::ObjectCreated(); }
SimHtmlDocument::~SimHtmlDocument() { SimState::ObjectDestroyed(); }

HRESULT STDMETHODCALLTYPE SimHtmlDocument::QueryInterface(REFIID riid, void** out)
{
    if (out == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IHTMLDocument) ||
        IsEqualIID(riid, IID_IHTMLDocument2)) {
        *out = static_cast<IHTMLDocument2*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE SimHtmlDocument::AddRef() { return InterlockedIncrement(&refs); }

ULONG STDMETHODCALLTYPE SimHtmlDocument::Release()
{
    LONG left = InterlockedDecrement(&refs);
    if (left == 0)
        delete this;
    return left;
}

HRESULT STDMETHODCALLTYPE SimHtmlDocument::GetTypeInfoCount(UINT* count) { return simdispatch::TypeInfoCount(count); }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::GetTypeInfo(UINT, LCID, ITypeInfo** info) { return simdispatch::TypeInfo(info); }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return simdispatch::IdsOfNames(); }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return simdispatch::Invoke();
}

// Nothing of the page itself is ever read.
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_Script(IDispatch **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_all(IHTMLElementCollection **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_body(IHTMLElement **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_activeElement(IHTMLElement **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_images(IHTMLElementCollection **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_applets(IHTMLElementCollection **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_links(IHTMLElementCollection **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_forms(IHTMLElementCollection **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_anchors(IHTMLElementCollection **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_title(BSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_title(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_scripts(IHTMLElementCollection **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_designMode(BSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_designMode(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_selection(IHTMLSelectionObject **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_readyState(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_frames(IHTMLFramesCollection2 **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_embeds(IHTMLElementCollection **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_plugins(IHTMLElementCollection **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_alinkColor(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_alinkColor(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_bgColor(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_bgColor(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_fgColor(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_fgColor(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_linkColor(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_linkColor(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_vlinkColor(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_vlinkColor(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_referrer(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_location(IHTMLLocation **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_lastModified(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_URL(BSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_URL(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_domain(BSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_domain(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_cookie(BSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_cookie(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_expando(VARIANT_BOOL) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_expando(VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_charset(BSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_charset(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_defaultCharset(BSTR) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_defaultCharset(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_mimeType(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_fileSize(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_fileCreatedDate(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_fileModifiedDate(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_fileUpdatedDate(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_security(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_protocol(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_nameProp(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::write(SAFEARRAY *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::writeln(SAFEARRAY *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::open(BSTR, VARIANT, VARIANT, VARIANT, IDispatch **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::close() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::clear() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::queryCommandSupported(BSTR, VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::queryCommandEnabled(BSTR, VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::queryCommandState(BSTR, VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::queryCommandIndeterm(BSTR, VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::queryCommandText(BSTR, BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::queryCommandValue(BSTR, VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::execCommand(BSTR, VARIANT_BOOL, VARIANT, VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::execCommandShowHelp(BSTR, VARIANT_BOOL *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::createElement(BSTR, IHTMLElement **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onhelp(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onhelp(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onclick(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onclick(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_ondblclick(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_ondblclick(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onkeyup(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onkeyup(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onkeydown(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onkeydown(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onkeypress(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onkeypress(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onmouseup(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onmouseup(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onmousedown(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onmousedown(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onmousemove(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onmousemove(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onmouseout(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onmouseout(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onmouseover(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onmouseover(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onreadystatechange(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onreadystatechange(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onafterupdate(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onafterupdate(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onrowexit(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onrowexit(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onrowenter(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onrowenter(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_ondragstart(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_ondragstart(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onselectstart(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onselectstart(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::elementFromPoint(LONG, LONG, IHTMLElement **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_parentWindow(IHTMLWindow2 **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_styleSheets(IHTMLStyleSheetsCollection **) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onbeforeupdate(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onbeforeupdate(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::put_onerrorupdate(VARIANT) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::get_onerrorupdate(VARIANT *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::toString(BSTR *) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE SimHtmlDocument::createStyleSheet(BSTR, LONG, IHTMLStyleSheet **) { return E_NOTIMPL; }
