#include "model/item.h"

#include "model/fs_items.h"

volatile LONG CItem::s_nNextSerial = 1;
std::atomic<long> CItem::s_nLive{0};

CItem::CItem(CItem* pParent)
    : m_nSerial(InterlockedIncrement(&s_nNextSerial) - 1), m_pParent(pParent) {
    if (m_pParent)
        m_pParent->AddRef();
}

CItem::~CItem() {
    delete m_pFiles;
    if (m_pParent)
        m_pParent->Release();
}

void* CItem::operator new(std::size_t nSize) {
    void* p = ::operator new(nSize);
    ++s_nLive;
    return p;
}

void CItem::operator delete(void* p) {
    --s_nLive;
    ::operator delete(p);
}

void CItem::Close() {
    m_hTreeItem = nullptr;
    delete m_pFiles;
    m_pFiles = nullptr;
    // The children are closed before their parent and may be gone: keep no pointers to them.
    RemoveAll();
    Release();
}

void CItem::GetPath(CString& strPath, bool bUnc) {
    if (m_pParent)
        m_pParent->GetPath(strPath, bUnc);
    if (!strPath.IsEmpty())
        AddBackslash(strPath);
    AppendPathPart(strPath, bUnc);
}

void CItem::AddBackslash(CString& strPath) {
    int n = strPath.GetLength();
    if (n > 0 && strPath[n - 1] != '\\')
        strPath += '\\';
}

void CItem::AttachChildren(const CItemArray& children) {
    for (CItem* pChild : children)
        AddTail(pChild);
}
