// Items listed through the network management API: the root, domains and workgroups, computers
// and shares.
#pragma once

#include "model/item.h"

#include <windows.h>
#include <lm.h>

#include <atomic>

// One buffer returned by the network API. Items made from its records point into it, so each of
// them holds a reference, and so does the item whose enumeration returned it: the buffer is freed
// with the last of them.
class CNetBuffer : public CRef {
public:
    explicit CNetBuffer(LPBYTE pData) : m_pData(pData) { ++s_nLive; }
    ~CNetBuffer() override;

    LPBYTE m_pData;
    static std::atomic<long> s_nLive;
};

// Where CApp keeps the hidden-shares setting; listing threads read it per record, without a lock.
// Points at a zero byte until the application sets it.
extern const volatile BYTE* g_pHiddenShares;

// Converts a UTF-16 name from the network API to the ANSI code page; none gives an empty text.
CString NetNameToAnsi(LPCWSTR pszName);

class CNetApiItem : public CItem {
public:
    // pRecordBuffer: the buffer that the item's record points into, or none when the record's
    // strings belong to the caller.
    CNetApiItem(CItem* pParent, CNetBuffer* pRecordBuffer);
    ~CNetApiItem() override;

    void Close() override;

    // The buffer of the latest successful enumeration. Swapped atomically: an enumeration on a
    // listing thread can store it while the window thread closes the item.
    std::atomic<CNetBuffer*> m_pBuffer{nullptr};
    CNetBuffer* m_pRecordBuffer;

protected:
    // The common frame of the network enumerations: a new buffer holder with one reference for
    // the caller (stored also in m_pBuffer), or none when the call failed.
    CNetBuffer* AcceptBuffer(NET_API_STATUS status, LPBYTE pBuffer);
};

class CItemRoot : public CNetApiItem {
public:
    CItemRoot() : CNetApiItem(nullptr, nullptr) {}

    int GetKind() override { return KIND_ROOT; }
    int GetImage(bool) override { return 0; }
    void GetText(CString&) override {}
    bool Enumerate(CItemArray* pChildren, CLanFiles* pFiles) override;
    void AppendPathPart(CString&, bool) override {}
};

class CItemServer : public CNetApiItem {
public:
    CItemServer(CItem* pParent, const SERVER_INFO_101& info, CNetBuffer* pRecordBuffer = nullptr)
        : CNetApiItem(pParent, pRecordBuffer), m_info(info) {}

    bool IsDomain() const { return (m_info.sv101_type & SV_TYPE_DOMAIN_ENUM) != 0; }

    int GetKind() override { return KIND_SERVER; }
    int GetImage(bool) override { return IsDomain() ? 0 : 1; }
    void GetText(CString& strText) override;
    bool Enumerate(CItemArray* pChildren, CLanFiles* pFiles) override;
    void AppendPathPart(CString& strPath, bool bUnc) override;

    SERVER_INFO_101 m_info;
};

class CItemShare : public CNetApiItem {
public:
    CItemShare(CItem* pParent, const SHARE_INFO_1& info, CNetBuffer* pRecordBuffer = nullptr)
        : CNetApiItem(pParent, pRecordBuffer), m_info(info) {}

    int GetKind() override { return KIND_SHARE; }
    int GetImage(bool) override { return 2; }
    void GetText(CString& strText) override { strText = NetNameToAnsi(m_info.shi1_netname); }
    bool Enumerate(CItemArray* pChildren, CLanFiles* pFiles) override;
    void AppendPathPart(CString& strPath, bool) override {
        strPath += NetNameToAnsi(m_info.shi1_netname);
    }

    SHARE_INFO_1 m_info;
};

// The local network. Static, constructed before any other item: serial number 1.
extern CItemRoot g_root;
