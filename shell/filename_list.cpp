#include "shell/filename_list.h"

#include "framework/ole_data_source.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstring>
#include <vector>

int CFilenameList::GetDoubleNullSize() const {
    int size = 1;
    for (POSITION pos = GetHeadPosition(); pos;)
        size += GetNext(pos).GetLength() + 1;
    return size;
}

void CFilenameList::CopyDoubleNull(char* pBuffer) const {
    for (POSITION pos = GetHeadPosition(); pos;) {
        const CString& path = GetNext(pos);
        memcpy(pBuffer, path.GetString(), path.GetLength() + 1);
        pBuffer += path.GetLength() + 1;
    }
    *pBuffer = '\0';
}

HGLOBAL CFilenameList::CreateHDrop() const {
    HGLOBAL hDrop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE,
                                sizeof(DROPFILES) + GetDoubleNullSize());
    if (!hDrop)
        return nullptr;
    if (auto* pDrop = static_cast<DROPFILES*>(GlobalLock(hDrop))) {
        pDrop->pFiles = sizeof(DROPFILES);
        CopyDoubleNull(reinterpret_cast<char*>(pDrop) + sizeof(DROPFILES));
        GlobalUnlock(hDrop);
    }
    return hDrop;
}

void CFilenameList::CopyToClipboard() const {
    auto* pSource = new COleDataSource;
    pSource->CacheGlobalData(CF_HDROP, CreateHDrop());
    pSource->SetClipboard();
}

void CFilenameList::DragFiles() const {
    COleDataSource source;
    source.CacheGlobalData(CF_HDROP, CreateHDrop());
    source.DoDragDrop(DROPEFFECT_COPY);
}

void CFilenameList::CopyTo(const char* pszDestDir) const {
    std::vector<char> from(GetDoubleNullSize());
    CopyDoubleNull(from.data());
    const size_t destLen = strlen(pszDestDir);
    std::vector<char> to(destLen + 2, '\0');
    memcpy(to.data(), pszDestDir, destLen);

    SHFILEOPSTRUCTA op = {};
    op.wFunc = FO_COPY;
    op.pFrom = from.data();
    op.pTo = to.data();
    SHFileOperationA(&op);
}

int CFilenameList::Delete(HWND hWndOwner) const {
    std::vector<char> from(GetDoubleNullSize());
    CopyDoubleNull(from.data());

    SHFILEOPSTRUCTA op = {};
    op.hwnd = hWndOwner;
    op.wFunc = FO_DELETE;
    op.pFrom = from.data();
    return SHFileOperationA(&op);
}

void CopyPathToClipboard(UINT nID, CString& path) {
    CString text;
    switch (nID) {
    case ID_EDIT_COPY_DIR_PATH: {
        text = path;
        // At least MAX_PATH, and never shorter than the path itself, so that a long path is
        // never cut.
        const int bufLen = path.GetLength() + 1 > MAX_PATH ? path.GetLength() + 1 : MAX_PATH;
        PathRemoveFileSpecA(text.GetBuffer(bufLen));
        text.ReleaseBuffer();
        break;
    }
    case ID_EDIT_COPY_NAME:
        text = PathFindFileNameA(path);
        break;
    default:
        text = path;
        break;
    }

    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, text.GetLength() + 1);
    if (!hText)
        return;
    char* p = static_cast<char*>(GlobalLock(hText));
    if (!p) {
        GlobalFree(hText);
        return;
    }
    memcpy(p, text.GetString(), text.GetLength() + 1);
    GlobalUnlock(hText);

    // The block is ours until the clipboard takes it: free it when it does not.
    if (!OpenClipboard(nullptr)) {
        GlobalFree(hText);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, hText))
        GlobalFree(hText);
    CloseClipboard();
}
