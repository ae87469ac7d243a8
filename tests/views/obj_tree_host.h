// The object tree alone in a frame that plays the main frame's part for it: it hosts the tree
// as its pane and answers the pane-host calls (copy the "selection", stamp a transfer start,
// edit a shortcut) in ways a test sets up and records.
#pragma once

#include "tests/views/obj_tree_support.h"
#include "views/obj_tree.h"
#include "views/pane_host.h"

#include <functional>
#include <string>
#include <vector>

namespace ottest {

class HostFrame : public CFrameWnd, public IPaneHost {
public:
    HostFrame() = default;
    ~HostFrame() override { delete m_pTree; }

    // The "selection": CopySelectionTo makes a job of these paths (none: no job).
    std::vector<std::string> m_selection;
    std::vector<std::string> m_copyCalls; // destinations asked for, in order
    int m_nTransferStarts = 0;
    DWORD m_dwTransferStart = 0;
    std::function<bool(CShortcutDef*)> m_edit;
    int m_nEdits = 0;

    CObjTree* m_pTree = new CObjTree;
    CWnd* m_pFocusPane = nullptr;

    void CopySelectionTo(const char* pszDestDir) override {
        m_copyCalls.push_back(pszDestDir);
        if (m_selection.empty())
            return;
        auto* pJob = new CTransferJob;
        for (const std::string& path : m_selection)
            pJob->m_files.AddTail(path.c_str());
        pJob->m_strDestDir = pszDestDir;
        m_pTree->AddTransfer(pJob);
    }
    void SetTransferStart(DWORD dwTick) override {
        ++m_nTransferStarts;
        m_dwTransferStart = dwTick;
    }
    bool EditShortcut(CShortcutDef* pDef) override {
        ++m_nEdits;
        return m_edit ? m_edit(pDef) : false;
    }

    void SetFocusPane(CWnd* pPane) override { m_pFocusPane = pPane; }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override {
        if (m_pFocusPane && m_pFocusPane->OnCmdMsg(nID, nCode, pExtra, pInfo))
            return TRUE;
        return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pInfo);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpcs);
    DECLARE_MESSAGE_MAP()
};

// A host frame with its tree, made the application's main window; Close destroys it.
struct Host {
    HostFrame* pFrame = nullptr;
    CObjTree* pTree = nullptr;
    HWND hFrame = nullptr;
    HWND hTree = nullptr;

    static Host Open();
    void Close();
    HTREEITEM Transfers() const { return pTree->m_hCategory[CAT_TRANSFERS]; }
    HTREEITEM Shortcuts() const { return pTree->m_hCategory[CAT_SHORTCUTS]; }
    // A command as the menu sends it: to the frame, routed to the focus pane first.
    void Command(UINT nID) const { SendMessageA(hFrame, WM_COMMAND, MAKEWPARAM(nID, 0), 0); }
};

// A shortcut record.
CShortcutDef* NewDef(int nHot, const std::string& name, const std::string& dir);
// A job of these paths into dir.
CTransferJob* NewJob(const std::vector<std::string>& paths, const std::string& dir);

// Every test starts with its own settings file and an empty tree, and ends with every entry,
// job and shortcut freed.
class ObjTreeTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Waits until the transfer thread is idle and nothing waits.
    bool WaitTransfersDone(DWORD dwTimeoutMs = 15000);

    TempDir m_dir{"objtree"};
    ScopedProfile m_profile{m_dir / "velloquin.ini"};
    Host m_host;
};

} // namespace ottest
