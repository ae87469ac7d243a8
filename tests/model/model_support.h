// Helpers shared by the model and thread tests: records as the network API lays them out, and
// items built from them.
#pragma once

#include "model/fs_items.h"
#include "model/net_items.h"

#include <windows.h>
#include <lm.h>

#include <cstring>

namespace vqtest {

inline SERVER_INFO_101 ServerRecord(LPCWSTR pszName, DWORD dwType) {
    SERVER_INFO_101 info{};
    info.sv101_platform_id = 500;
    info.sv101_name = const_cast<LMSTR>(pszName);
    info.sv101_type = dwType;
    info.sv101_comment = const_cast<LMSTR>(L"");
    return info;
}

inline SHARE_INFO_1 ShareRecord(LPCWSTR pszName) {
    SHARE_INFO_1 info{};
    info.shi1_netname = const_cast<LMSTR>(pszName);
    info.shi1_type = STYPE_DISKTREE;
    info.shi1_remark = const_cast<LMSTR>(L"");
    return info;
}

inline WIN32_FIND_DATAA FindData(const char* pszName, DWORD dwAttributes) {
    WIN32_FIND_DATAA data{};
    data.dwFileAttributes = dwAttributes;
    lstrcpynA(data.cFileName, pszName, MAX_PATH);
    return data;
}

inline CItemServer* NewDomain(CItem* pParent, LPCWSTR pszName) {
    return new CItemServer(pParent, ServerRecord(pszName, SV_TYPE_DOMAIN_ENUM | SV_TYPE_NT));
}
inline CItemServer* NewComputer(CItem* pParent, LPCWSTR pszName) {
    return new CItemServer(pParent, ServerRecord(pszName, SV_TYPE_SERVER | SV_TYPE_WORKSTATION));
}
inline CItemShare* NewShare(CItem* pParent, LPCWSTR pszName) {
    return new CItemShare(pParent, ShareRecord(pszName));
}
inline CItemDir* NewDir(CItem* pParent, const char* pszName) {
    return new CItemDir(pParent, FindData(pszName, FILE_ATTRIBUTE_DIRECTORY));
}

inline CString PathOf(CItem* pItem, bool bUnc) {
    CString str;
    pItem->GetPath(str, bUnc);
    return str;
}

inline CString TextOf(CItem* pItem) {
    CString str;
    pItem->GetText(str);
    return str;
}

} // namespace vqtest
