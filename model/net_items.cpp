#include "model/net_items.h"

#include "model/fs_items.h"

#include <string>

namespace {
const BYTE s_bNoHiddenShares = 0;

bool IsEmptyName(LPCWSTR psz) {
    return !psz || !*psz;
}
} // namespace

const volatile BYTE* g_pHiddenShares = &s_bNoHiddenShares;

std::atomic<long> CNetBuffer::s_nLive{0};

CNetBuffer::~CNetBuffer() {
    NetApiBufferFree(m_pData);
    --s_nLive;
}

CString NetNameToAnsi(LPCWSTR pszName) {
    if (IsEmptyName(pszName))
        return CString();
    int n = WideCharToMultiByte(CP_ACP, 0, pszName, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1)
        return CString();
    CString str;
    WideCharToMultiByte(CP_ACP, 0, pszName, -1, str.GetBufferSetLength(n - 1), n, nullptr, nullptr);
    return str;
}

CNetApiItem::CNetApiItem(CItem* pParent, CNetBuffer* pRecordBuffer)
    : CItem(pParent), m_pRecordBuffer(pRecordBuffer) {
    if (m_pRecordBuffer)
        m_pRecordBuffer->AddRef();
}

CNetApiItem::~CNetApiItem() {
    if (CNetBuffer* p = m_pBuffer.exchange(nullptr))
        p->Release();
    if (m_pRecordBuffer)
        m_pRecordBuffer->Release();
}

void CNetApiItem::Close() {
    // Children made from the buffer keep it alive through their own references.
    if (CNetBuffer* p = m_pBuffer.exchange(nullptr))
        p->Release();
    CItem::Close();
}

CNetBuffer* CNetApiItem::AcceptBuffer(NET_API_STATUS status, LPBYTE pBuffer) {
    if (!pBuffer)
        return nullptr;
    if (status != NERR_Success && status != ERROR_MORE_DATA) {
        NetApiBufferFree(pBuffer);
        return nullptr;
    }
    auto* pHolder = new CNetBuffer(pBuffer);
    pHolder->AddRef(); // the item's; the caller keeps the first while it makes the children
    if (CNetBuffer* pOld = m_pBuffer.exchange(pHolder))
        pOld->Release();
    return pHolder;
}

bool CItemRoot::Enumerate(CItemArray* pChildren, CLanFiles*) {
    LPBYTE pBuffer = nullptr;
    DWORD nRead = 0, nTotal = 0, hResume = 0;
    NET_API_STATUS status = NetServerEnum(nullptr, 101, &pBuffer, MAX_PREFERRED_LENGTH, &nRead,
                                          &nTotal, SV_TYPE_DOMAIN_ENUM, nullptr, &hResume);
    CNetBuffer* pHolder = AcceptBuffer(status, pBuffer);
    if (!pHolder)
        return false;
    auto* pRecords = reinterpret_cast<SERVER_INFO_101*>(pBuffer);
    for (DWORD i = 0; i < nRead; i++)
        if (!IsEmptyName(pRecords[i].sv101_name))
            pChildren->Add(new CItemServer(this, pRecords[i], pHolder));
    pHolder->Release();
    return true;
}

void CItemServer::GetText(CString& strText) {
    strText = NetNameToAnsi(m_info.sv101_name);
    if (strText.GetLength() > 1)
        CharLowerBuffA(strText.GetBuffer() + 1, static_cast<DWORD>(strText.GetLength() - 1));
}

void CItemServer::AppendPathPart(CString& strPath, bool bUnc) {
    if (IsDomain()) {
        if (!bUnc)
            strPath = NetNameToAnsi(m_info.sv101_name);
    } else if (bUnc) {
        strPath = "\\\\";
        strPath += NetNameToAnsi(m_info.sv101_name);
    } else {
        strPath += NetNameToAnsi(m_info.sv101_name);
    }
}

bool CItemServer::Enumerate(CItemArray* pChildren, CLanFiles*) {
    LPBYTE pBuffer = nullptr;
    DWORD nRead = 0, nTotal = 0, hResume = 0;
    NET_API_STATUS status;
    if (IsDomain()) {
        status = NetServerEnum(nullptr, 101, &pBuffer, MAX_PREFERRED_LENGTH, &nRead, &nTotal,
                               SV_TYPE_SERVER, m_info.sv101_name, &hResume);
    } else {
        std::wstring server = L"\\\\";
        if (m_info.sv101_name)
            server += m_info.sv101_name;
        status = NetShareEnum(server.data(), 1, &pBuffer, MAX_PREFERRED_LENGTH, &nRead, &nTotal,
                              &hResume);
    }
    CNetBuffer* pHolder = AcceptBuffer(status, pBuffer);
    if (!pHolder)
        return false;
    if (IsDomain()) {
        auto* pRecords = reinterpret_cast<SERVER_INFO_101*>(pBuffer);
        for (DWORD i = 0; i < nRead; i++)
            pChildren->Add(new CItemServer(this, pRecords[i], pHolder));
    } else {
        auto* pRecords = reinterpret_cast<SHARE_INFO_1*>(pBuffer);
        for (DWORD i = 0; i < nRead; i++) {
            LPCWSTR pszName = pRecords[i].shi1_netname;
            bool bVisible = !IsEmptyName(pszName) && pszName[wcslen(pszName) - 1] != L'$';
            if (*g_pHiddenShares || bVisible)
                pChildren->Add(new CItemShare(this, pRecords[i], pHolder));
        }
    }
    pHolder->Release();
    return true;
}

bool CItemShare::Enumerate(CItemArray* pChildren, CLanFiles* pFiles) {
    return ListDirectory(this, pChildren, pFiles);
}

CItemRoot g_root;
