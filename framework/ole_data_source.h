// The OLE data source for the clipboard and drag and drop: a small reference-counted IDataObject
// that offers global memory blocks, and the drop source used while dragging.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <vector>

// The effect of a drop: a combination of DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK.
typedef DWORD DROPEFFECT;

// Answers the OLE drag loop. The default: Escape cancels; the drag drops once neither the left
// nor the right mouse button is held. Lives on the stack or inside its owner: DoDragDrop takes
// and returns its references within the call, so the count never deletes the object.
class COleDropSource : public IDropSource {
public:
    COleDropSource() = default;
    COleDropSource(const COleDropSource&) = delete;
    COleDropSource& operator=(const COleDropSource&) = delete;
    virtual ~COleDropSource() = default;

    // With a start rectangle (screen coordinates): waits until the cursor leaves it or the
    // system's drag delay passes; false when the buttons were released or Escape pressed first,
    // and then no drag takes place.
    virtual BOOL OnBeginDrag(LPCRECT lpRectStartDrag);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP QueryContinueDrag(BOOL fEscapePressed, DWORD grfKeyState) override;
    STDMETHODIMP GiveFeedback(DWORD dwEffect) override;

private:
    LONG m_cRef = 1;
};

// Owns the blocks given to CacheGlobalData and frees them when it dies.
//
// Lifetime: the creator holds the first reference. A data source on the stack (a drag) simply
// goes out of scope after DoDragDrop. SetClipboard hands the creator's reference to the
// clipboard, so the object must then come from new, and the clipboard deletes it when it lets go.
class COleDataSource : public IDataObject {
public:
    COleDataSource() = default;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;
    virtual ~COleDataSource();

    // Takes over hGlobal (freed with the source, or when the same format is cached again).
    // lpFormatEtc describes the format (aspect, index); its medium is always TYMED_HGLOBAL and
    // target devices are not kept.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    // Frees every cached block.
    void Empty();

    // Puts the object on the OLE clipboard and gives up the creator's reference, also on
    // failure (so a source made with new never leaks). True on success.
    bool SetClipboard();

    // Runs the OLE drag loop; returns the effect of the drop, DROPEFFECT_NONE when cancelled.
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = nullptr, COleDropSource* pDropSource = nullptr);

    IDataObject* GetDataObject() { return this; }

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    // IDataObject
    STDMETHODIMP GetData(FORMATETC* pformatetcIn, STGMEDIUM* pmedium) override;
    STDMETHODIMP GetDataHere(FORMATETC* pformatetc, STGMEDIUM* pmedium) override;
    STDMETHODIMP QueryGetData(FORMATETC* pformatetc) override;
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC* pformatectIn, FORMATETC* pformatetcOut) override;
    STDMETHODIMP SetData(FORMATETC* pformatetc, STGMEDIUM* pmedium, BOOL fRelease) override;
    STDMETHODIMP EnumFormatEtc(DWORD dwDirection, IEnumFORMATETC** ppenumFormatEtc) override;
    STDMETHODIMP DAdvise(FORMATETC* pformatetc, DWORD advf, IAdviseSink* pAdvSink,
                         DWORD* pdwConnection) override;
    STDMETHODIMP DUnadvise(DWORD dwConnection) override;
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA** ppenumAdvise) override;

private:
    struct Entry {
        FORMATETC fmt;
        HGLOBAL hGlobal;
    };
    // The entry that serves the request, or none; *phr tells why there is none.
    const Entry* Lookup(const FORMATETC* pfmt, HRESULT* phr) const;

    std::vector<Entry> m_entries;
    LONG m_cRef = 1;
};

// Initialises OLE on the calling thread; false on failure.
BOOL AfxOleInit();
// At exit: renders our data still on the clipboard so that it survives us, then ends OLE.
void AfxOleTerm();
