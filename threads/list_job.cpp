#include "threads/list_job.h"

#include "threads/thread_registry.h"

std::atomic<long> CListJob::s_nLive{0};
std::atomic<long> CListResult::s_nLive{0};

CListJob::CListJob(CNetTree* pTree, HTREEITEM hItem, CItem* pItem, int nLevels)
    : m_pTree(pTree), m_hItem(hItem), m_pItem(pItem), m_nLevels(nLevels) {
    m_pItem->AddRef();
    ++s_nLive;
}

CListJob::~CListJob() {
    m_pItem->Release();
    --s_nLive;
}

CListResult::CListResult(CListJob* pJob, CItemArray* pChildren, CLanFiles* pFiles)
    : m_pJob(pJob), m_pChildren(pChildren), m_pFiles(pFiles) {
    ++s_nLive;
}

CListResult::~CListResult() {
    delete m_pChildren;
    delete m_pFiles;
    --s_nLive;
}

void CListResult::ReleaseChildren() {
    if (!m_pChildren)
        return;
    for (CItem* pChild : *m_pChildren)
        pChild->Release();
    m_pChildren->RemoveAll();
}

void DropListResult(CListResult* pResult) {
    pResult->ReleaseChildren();
    delete pResult->m_pJob;
    delete pResult;
}

UINT __cdecl ListThreadProc(LPVOID pParam) {
    auto* pJob = static_cast<CListJob*>(pParam);
    // Ours until Remove; the job may be freed by the window thread as soon as it is posted.
    CThreadRegistry* pRegistry = pJob->m_pRegistry;

    auto* pChildren = new CItemArray;
    auto* pFiles = new CLanFiles(10);
    // A thread resumed only to end, at shutdown, lists nothing.
    bool bOk = !pRegistry->IsAbandoned() && pJob->m_pItem->Enumerate(pChildren, pFiles);
    auto* pResult = new CListResult(pJob, pChildren, pFiles);
    if (!pRegistry->Deliver(bOk, pResult))
        DropListResult(pResult);

    pRegistry->Remove(AfxGetThread());
    pRegistry->Release();
    return 0;
}
