#include "framework/ole_data_source.h"

#include <shlobj.h>

// ---- COleDropSource ----

BOOL COleDropSource::OnBeginDrag(LPCRECT lpRectStartDrag) {
    if (!lpRectStartDrag)
        return TRUE;
    const DWORD delay = GetProfileIntA("windows", "DragDelay", DD_DEFDRAGDELAY);
    const DWORD start = GetTickCount();
    for (;;) {
        if (GetAsyncKeyState(VK_LBUTTON) >= 0 && GetAsyncKeyState(VK_RBUTTON) >= 0)
            return FALSE;
        if (GetAsyncKeyState(VK_ESCAPE) < 0)
            return FALSE;
        POINT pt;
        if (GetCursorPos(&pt) && !PtInRect(lpRectStartDrag, pt))
            return TRUE;
        if (GetTickCount() - start >= delay)
            return TRUE;
        Sleep(10);
    }
}

STDMETHODIMP COleDropSource::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropSource)) {
        *ppv = static_cast<IDropSource*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleDropSource::AddRef() {
    return InterlockedIncrement(&m_cRef);
}
STDMETHODIMP_(ULONG) COleDropSource::Release() {
    return InterlockedDecrement(&m_cRef);
}

STDMETHODIMP COleDropSource::QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) {
    if (fEscapePressed)
        return DRAGDROP_S_CANCEL;
    if (!(grfKeyState & (MK_LBUTTON | MK_RBUTTON)))
        return DRAGDROP_S_DROP;
    return S_OK;
}

STDMETHODIMP COleDropSource::GiveFeedback(DWORD) {
    return DRAGDROP_S_USEDEFAULTCURSORS;
}

// ---- COleDataSource ----

namespace {

// A format request matches an offer when format, aspect and index agree and the asked media
// include global memory.
bool SameFormat(const FORMATETC& offer, const FORMATETC& asked) {
    return offer.cfFormat == asked.cfFormat && offer.dwAspect == asked.dwAspect &&
           offer.lindex == asked.lindex;
}

} // namespace

COleDataSource::~COleDataSource() {
    Empty();
}

void COleDataSource::Empty() {
    for (Entry& e : m_entries)
        GlobalFree(e.hGlobal);
    m_entries.clear();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal,
                                     LPFORMATETC lpFormatEtc) {
    FORMATETC fmt = {cfFormat, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    if (lpFormatEtc) {
        fmt = *lpFormatEtc;
        fmt.cfFormat = cfFormat;
        fmt.ptd = nullptr;
        fmt.tymed = TYMED_HGLOBAL;
    }
    for (Entry& e : m_entries) {
        if (SameFormat(e.fmt, fmt)) {
            if (e.hGlobal != hGlobal)
                GlobalFree(e.hGlobal);
            e.hGlobal = hGlobal;
            return;
        }
    }
    m_entries.push_back(Entry{fmt, hGlobal});
}

bool COleDataSource::SetClipboard() {
    const HRESULT hr = OleSetClipboard(this);
    Release();
    return SUCCEEDED(hr);
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT lpRectStartDrag,
                                      COleDropSource* pDropSource) {
    COleDropSource defaultSource;
    if (!pDropSource)
        pDropSource = &defaultSource;
    if (!pDropSource->OnBeginDrag(lpRectStartDrag))
        return DROPEFFECT_NONE;
    DWORD effect = DROPEFFECT_NONE;
    if (::DoDragDrop(this, pDropSource, dwEffects, &effect) != DRAGDROP_S_DROP)
        return DROPEFFECT_NONE;
    return effect;
}

const COleDataSource::Entry* COleDataSource::Lookup(const FORMATETC* pfmt, HRESULT* phr) const {
    *phr = DV_E_FORMATETC;
    if (!pfmt)
        return nullptr;
    for (const Entry& e : m_entries) {
        if (!SameFormat(e.fmt, *pfmt))
            continue;
        if (!(pfmt->tymed & TYMED_HGLOBAL)) {
            *phr = DV_E_TYMED;
            return nullptr;
        }
        *phr = S_OK;
        return &e;
    }
    return nullptr;
}

STDMETHODIMP COleDataSource::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
        *ppv = static_cast<IDataObject*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) COleDataSource::AddRef() {
    return InterlockedIncrement(&m_cRef);
}

STDMETHODIMP_(ULONG) COleDataSource::Release() {
    const LONG n = InterlockedDecrement(&m_cRef);
    if (n == 0)
        delete this;
    return n;
}

STDMETHODIMP COleDataSource::GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) {
    if (!pmedium)
        return E_POINTER;
    HRESULT hr;
    const Entry* e = Lookup(pformatetcIn, &hr);
    if (!e)
        return hr;
    // The receiver owns what it gets: hand out a copy, keep ours for the next request.
    HANDLE copy = OleDuplicateData(e->hGlobal, e->fmt.cfFormat, GMEM_MOVEABLE | GMEM_DDESHARE);
    if (!copy)
        return E_OUTOFMEMORY;
    pmedium->tymed = TYMED_HGLOBAL;
    pmedium->hGlobal = copy;
    pmedium->pUnkForRelease = nullptr;
    return S_OK;
}

STDMETHODIMP COleDataSource::GetDataHere(FORMATETC* pformatetc, STGMEDIUM* pmedium) {
    if (!pmedium)
        return E_POINTER;
    HRESULT hr;
    const Entry* e = Lookup(pformatetc, &hr);
    if (!e)
        return hr;
    if (pmedium->tymed != TYMED_HGLOBAL || !pmedium->hGlobal)
        return DV_E_TYMED;
    const SIZE_T size = GlobalSize(e->hGlobal);
    if (GlobalSize(pmedium->hGlobal) < size)
        return STG_E_MEDIUMFULL;
    const void* src = GlobalLock(e->hGlobal);
    void* dst = GlobalLock(pmedium->hGlobal);
    if (src && dst)
        memcpy(dst, src, size);
    if (dst)
        GlobalUnlock(pmedium->hGlobal);
    if (src)
        GlobalUnlock(e->hGlobal);
    return src && dst ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP COleDataSource::QueryGetData(FORMATETC* pformatetc) {
    HRESULT hr;
    Lookup(pformatetc, &hr);
    return hr;
}

STDMETHODIMP COleDataSource::GetCanonicalFormatEtc(FORMATETC* pformatectIn,
                                                   FORMATETC* pformatetcOut) {
    if (!pformatetcOut)
        return E_POINTER;
    if (pformatectIn)
        *pformatetcOut = *pformatectIn;
    pformatetcOut->ptd = nullptr;
    return DATA_S_SAMEFORMATETC;
}

STDMETHODIMP COleDataSource::SetData(FORMATETC*, STGMEDIUM*, BOOL) {
    return E_NOTIMPL;
}

STDMETHODIMP COleDataSource::EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) {
    if (!ppenumFormatEtc)
        return E_POINTER;
    *ppenumFormatEtc = nullptr;
    if (dwDirection != DATADIR_GET)
        return E_NOTIMPL;
    std::vector<FORMATETC> formats;
    for (const Entry& e : m_entries)
        formats.push_back(e.fmt);
    return SHCreateStdEnumFmtEtc(static_cast<UINT>(formats.size()), formats.data(),
                                 ppenumFormatEtc);
}

STDMETHODIMP COleDataSource::DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) {
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP COleDataSource::DUnadvise(DWORD) {
    return OLE_E_ADVISENOTSUPPORTED;
}

STDMETHODIMP COleDataSource::EnumDAdvise(IEnumSTATDATA**) {
    return OLE_E_ADVISENOTSUPPORTED;
}

// ---- OLE start and end ----

BOOL AfxOleInit() {
    return SUCCEEDED(OleInitialize(nullptr));
}

void AfxOleTerm() {
    // Does nothing when the clipboard holds another program's data.
    OleFlushClipboard();
    OleUninitialize();
}
