// Entries of a listed share or directory: directory items and plain file records.
#pragma once

#include "model/item.h"

#include <windows.h>

#include <atomic>

// What the file list needs of an entry, whether a directory item or a plain file.
class CFSItem {
public:
    explicit CFSItem(const WIN32_FIND_DATAA& data) : m_data(data) {}
    virtual ~CFSItem() = default;

    virtual CItem* GetItem() { return nullptr; }
    // Appends the entry's full UNC path to strPath, which callers pass empty.
    virtual void GetFullPath(CString& strPath) = 0;

    ULONGLONG GetFileSize() const {
        return (ULONGLONG(m_data.nFileSizeHigh) << 32) | m_data.nFileSizeLow;
    }

    WIN32_FIND_DATAA m_data;
};

class CItemDir : public CItem, public CFSItem {
public:
    CItemDir(CItem* pParent, const WIN32_FIND_DATAA& data) : CItem(pParent), CFSItem(data) {}

    int GetKind() override { return KIND_DIR; }
    CFSItem* GetFSItem() override { return this; }
    int GetImage(bool bSelected) override { return bSelected ? 4 : 3; }
    void GetText(CString& strText) override { strText = m_data.cFileName; }
    bool Enumerate(CItemArray* pChildren, CLanFiles* pFiles) override;
    void AppendPathPart(CString& strPath, bool) override { strPath += m_data.cFileName; }

    CItem* GetItem() override { return this; }
    void GetFullPath(CString& strPath) override { GetPath(strPath, true); }
};

class CLanFile : public CFSItem {
public:
    CLanFile(const WIN32_FIND_DATAA& data, CItem* pParent) : CFSItem(data), m_pParent(pParent) {
        ++s_nLive;
    }
    ~CLanFile() override { --s_nLive; }

    void GetFullPath(CString& strPath) override;

    CItem* m_pParent;
    static std::atomic<long> s_nLive;
};

// The file records of one listing, owned.
class CLanFiles : public CList<CLanFile*, CLanFile* const&> {
public:
    explicit CLanFiles(int nBlockSize = 10) : CList(nBlockSize) {}
    ~CLanFiles() override;
};

// Lists a share or directory through its UNC path: subdirectories into pChildren, files into
// pFiles. False when the directory cannot be read.
bool ListDirectory(CItem* pItem, CItemArray* pChildren, CLanFiles* pFiles);
