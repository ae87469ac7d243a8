// A context-menu object and a folder of the test's own, so that the tests see exactly what the
// menu code asks of the shell and what it forwards.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <vector>

struct MenuCall {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    int version; // 2: HandleMenuMsg, 3: HandleMenuMsg2
};

struct InvokeCall {
    DWORD cbSize;
    DWORD fMask;
    HWND hwnd;
    UINT_PTR verb;
    int nShow;
};

// Offers IContextMenu, and IContextMenu2/3 up to its version.
class FakeContextMenu : public IContextMenu3 {
public:
    explicit FakeContextMenu(int version) : m_version(version) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IContextMenu) ||
            (IsEqualIID(riid, IID_IContextMenu2) && m_version >= 2) ||
            (IsEqualIID(riid, IID_IContextMenu3) && m_version >= 3)) {
            *ppv = static_cast<IContextMenu3*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }

    STDMETHODIMP QueryContextMenu(HMENU hmenu, UINT indexMenu, UINT idCmdFirst, UINT idCmdLast,
                                  UINT uFlags) override {
        m_queries.push_back({hmenu, indexMenu, idCmdFirst, idCmdLast, uFlags});
        return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
    }
    STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* pici) override {
        m_invokes.push_back({pici->cbSize, pici->fMask, pici->hwnd,
                             reinterpret_cast<UINT_PTR>(pici->lpVerb), pici->nShow});
        return S_OK;
    }
    STDMETHODIMP GetCommandString(UINT_PTR, UINT, UINT*, CHAR*, UINT) override { return E_NOTIMPL; }
    STDMETHODIMP HandleMenuMsg(UINT uMsg, WPARAM wParam, LPARAM lParam) override {
        m_menuCalls.push_back({uMsg, wParam, lParam, 2});
        return S_OK;
    }
    STDMETHODIMP HandleMenuMsg2(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                LRESULT* plResult) override {
        m_menuCalls.push_back({uMsg, wParam, lParam, 3});
        if (plResult)
            *plResult = m_menuCharResult;
        return m_menuMsg2Answer;
    }

    struct Query {
        HMENU hmenu;
        UINT index, first, last, flags;
    };
    int m_version;
    LONG m_refs = 1; // the test's own
    std::vector<Query> m_queries;
    std::vector<InvokeCall> m_invokes;
    std::vector<MenuCall> m_menuCalls;
    HRESULT m_menuMsg2Answer = S_OK;
    LRESULT m_menuCharResult = MAKELRESULT(2, MNC_EXECUTE);
};

// A folder whose GetUIObjectOf gives the fake menu (or fails without one) and records its
// arguments.
class FakeFolder : public IShellFolder {
public:
    explicit FakeFolder(FakeContextMenu* pMenu) : m_pMenu(pMenu) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IShellFolder)) {
            *ppv = static_cast<IShellFolder*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override { return --m_refs; }

    STDMETHODIMP GetUIObjectOf(HWND hwndOwner, UINT cidl, PCUITEMID_CHILD_ARRAY apidl, REFIID riid,
                               UINT*, void** ppv) override {
        m_owner = hwndOwner;
        m_count = cidl;
        m_pidls.assign(apidl, apidl + cidl);
        m_riidWasContextMenu = IsEqualIID(riid, IID_IContextMenu);
        ++m_uiCalls;
        *ppv = nullptr;
        if (!m_pMenu)
            return E_FAIL;
        return m_pMenu->QueryInterface(riid, ppv);
    }

    STDMETHODIMP ParseDisplayName(HWND, IBindCtx*, LPWSTR, ULONG*, PIDLIST_RELATIVE*,
                                  ULONG*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP EnumObjects(HWND, SHCONTF, IEnumIDList**) override { return E_NOTIMPL; }
    STDMETHODIMP BindToObject(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP BindToStorage(PCUIDLIST_RELATIVE, IBindCtx*, REFIID, void**) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP CompareIDs(LPARAM, PCUIDLIST_RELATIVE, PCUIDLIST_RELATIVE) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP CreateViewObject(HWND, REFIID, void**) override { return E_NOTIMPL; }
    STDMETHODIMP GetAttributesOf(UINT, PCUITEMID_CHILD_ARRAY, SFGAOF*) override {
        return E_NOTIMPL;
    }
    STDMETHODIMP GetDisplayNameOf(PCUITEMID_CHILD, SHGDNF, STRRET*) override { return E_NOTIMPL; }
    STDMETHODIMP SetNameOf(HWND, PCUITEMID_CHILD, LPCWSTR, SHGDNF, PITEMID_CHILD*) override {
        return E_NOTIMPL;
    }

    FakeContextMenu* m_pMenu;
    LONG m_refs = 1;
    HWND m_owner = nullptr;
    UINT m_count = 0;
    std::vector<PCUITEMID_CHILD> m_pidls;
    bool m_riidWasContextMenu = false;
    int m_uiCalls = 0;
};
