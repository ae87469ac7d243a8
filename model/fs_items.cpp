#include "model/fs_items.h"

std::atomic<long> CLanFile::s_nLive{0};

bool CItemDir::Enumerate(CItemArray* pChildren, CLanFiles* pFiles) {
    return ListDirectory(this, pChildren, pFiles);
}

void CLanFile::GetFullPath(CString& strPath) {
    m_pParent->GetPath(strPath, true);
    CItem::AddBackslash(strPath);
    strPath += m_data.cFileName;
}

CLanFiles::~CLanFiles() {
    while (!IsEmpty())
        delete RemoveHead();
}

namespace {
bool IsDotOrDotDot(const char* pszName) {
    return pszName[0] == '.' && (pszName[1] == 0 || (pszName[1] == '.' && pszName[2] == 0));
}
} // namespace

bool ListDirectory(CItem* pItem, CItemArray* pChildren, CLanFiles* pFiles) {
    CString strPattern;
    pItem->GetPath(strPattern, true);
    CItem::AddBackslash(strPattern);
    strPattern += '*';
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA(strPattern, &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return false;
    do {
        if (IsDotOrDotDot(data.cFileName))
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            pChildren->Add(new CItemDir(pItem, data));
        else
            pFiles->AddTail(new CLanFile(data, pItem));
    } while (FindNextFileA(hFind, &data));
    FindClose(hFind);
    return true;
}
