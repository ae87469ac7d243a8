// The items of the network model: the common base of root, domains, computers, shares and
// directories.
#pragma once

#include "framework/collections.h"
#include "framework/cstring.h"
#include "model/ref.h"

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstddef>

class CItem;
class CFSItem;
class CLanFiles;

enum {
    KIND_ROOT = 0,
    KIND_SERVER = 1,
    KIND_SHARE = 2,
    KIND_DIR = 3,
};

typedef CArray<CItem*, CItem* const&> CItemArray;

// The list base is the child list: the children of the latest listing delivered to the window
// thread. It holds no references.
class CItem : public CList<CItem*, CItem* const&>, public CRef {
public:
    // Takes a reference on the parent, so that ancestors live as long as their descendants. The
    // new item is not put in the parent's child list: AttachChildren does that on the window
    // thread when the listing is delivered.
    explicit CItem(CItem* pParent);
    ~CItem() override;

    virtual void Close();
    virtual int GetKind() = 0;
    virtual CFSItem* GetFSItem() { return nullptr; }
    virtual int GetImage(bool bSelected) = 0;
    virtual void GetText(CString& strText) = 0;
    virtual bool Enumerate(CItemArray* pChildren, CLanFiles* pFiles) = 0;
    virtual void AppendPathPart(CString& strPath, bool bUnc) = 0;

    // Appends the UNC path (bUnc) or the display path to strPath, which callers pass empty.
    void GetPath(CString& strPath, bool bUnc);
    static void AddBackslash(CString& strPath);

    // Window thread, when a listing result is delivered: appends the result's children to the
    // child list, in order. Their references stay with the caller.
    void AttachChildren(const CItemArray& children);

    // Counts the items on the heap (the static root is not one), for leak checks.
    static void* operator new(std::size_t nSize);
    static void operator delete(void* p);

    LONG m_nSerial;
    bool m_bBusy = false;
    CItem* m_pParent;
    CLanFiles* m_pFiles = nullptr;
    HTREEITEM m_hTreeItem = nullptr;

    static volatile LONG s_nNextSerial;
    static std::atomic<long> s_nLive;
};
