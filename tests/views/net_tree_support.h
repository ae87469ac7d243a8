// The network tree's window tests: a frame that hosts the tree and the file list as the main
// frame does, a bounded message pump, readers of the tree control's entries, live-object counters
// and the simulated network.
#pragma once

#include "framework/afxwin.h"
#include "model/fs_items.h"
#include "model/net_items.h"
#include "simnet/simnet_control.h"
#include "tests/support/clipboard.h"
#include "tests/support/message_pump.h"
#include "tests/support/test_files.h"
#include "threads/list_job.h"
#include "views/file_list.h"
#include "views/net_tree.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace nttest {

using testpump::PumpFor;
using testpump::PumpUntil;

// The frame of the tests: the network tree on the left, the file list on the right, linked to
// each other; commands go to the pane that had the focus last, then to the frame.
class TestFrame : public CFrameWnd {
public:
    explicit TestFrame(CNetTree* pTree) : m_pNetTree(pTree), m_pFileList(new CFileList) {}
    ~TestFrame() override {
        delete m_pNetTree;
        delete m_pFileList;
    }

    void SetFocusPane(CWnd* pPane) override { m_pFocusPane = pPane; }
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override {
        if (m_pFocusPane && m_pFocusPane->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return CFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }
    void RecalcLayout(BOOL = TRUE) override {
        CRect rc;
        GetClientRect(&rc);
        const int cx = rc.Width() / 2;
        if (m_pNetTree->m_hWnd)
            ::MoveWindow(m_pNetTree->m_hWnd, 0, 0, cx, rc.Height(), TRUE);
        if (m_pFileList->m_hWnd)
            ::MoveWindow(m_pFileList->m_hWnd, cx, 0, rc.Width() - cx, rc.Height(), TRUE);
    }

    CNetTree* m_pNetTree;
    CFileList* m_pFileList;
    CWnd* m_pFocusPane = nullptr;

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA lpcs) {
        if (CFrameWnd::OnCreate(lpcs) == -1)
            return -1;
        const DWORD dwTree =
            WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
        m_pNetTree->Create(dwTree, CFrameWnd::rectDefault, this, AFX_IDW_PANE_FIRST + 16);
        m_pFileList->Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CFrameWnd::rectDefault, this,
                            AFX_IDW_PANE_FIRST + 1);
        m_pNetTree->m_pFileList = m_pFileList;
        m_pFileList->m_pNetTree = m_pNetTree;
        return 0;
    }

    DECLARE_MESSAGE_MAP()
};

// A tree of the tests, its frame and the handles to drive them.
struct Host {
    TestFrame* pFrame = nullptr; // none when the application's main frame hosts the panes
    CNetTree* pTree = nullptr;
    CFileList* pList = nullptr;
    HWND hFrame = nullptr;
    HWND hTree = nullptr;
    HWND hList = nullptr;

    // The frame is visible (the selection link needs it); it deletes itself when destroyed. A
    // given tree replaces the frame's own (before its window exists).
    static Host Open(CNetTree* pTree = nullptr, int cx = 900, int cy = 600);
    void Close();

    // A command as the menu or an accelerator sends it: to the frame, routed from there.
    void Command(UINT nID) const { SendMessageA(hFrame, WM_COMMAND, MAKEWPARAM(nID, 0), 0); }
    // The enabled state that the route gives the command in a menu.
    bool Enabled(UINT nID) const;
};

// How Host::Open makes its frame: a test program that links the application sets this to host
// the panes in the application's main frame instead of the test frame.
using HostOpener = Host (*)(CNetTree* pTree, int cx, int cy);
extern HostOpener g_pfnOpenHost;

// ---- Reading the tree control ----------------------------------------------------------------

std::string Text(HWND hTree, HTREEITEM hItem);
std::vector<HTREEITEM> Children(HWND hTree, HTREEITEM hParent);
std::vector<std::string> ChildTexts(HWND hTree, HTREEITEM hParent);
// The child of hParent (TVI_ROOT for the top level) with this text, or none.
HTREEITEM Find(HWND hTree, HTREEITEM hParent, const std::string& text);
// The entry at a path of texts from the top level, or none.
HTREEITEM FindPath(HWND hTree, const std::vector<std::string>& path);
int Mark(HWND hTree, HTREEITEM hItem);
int ChildrenFlag(HWND hTree, HTREEITEM hItem);
bool Expanded(HWND hTree, HTREEITEM hItem);
int Image(HWND hTree, HTREEITEM hItem, bool bSelected);
LPARAM Data(HWND hTree, HTREEITEM hItem);
// Every entry of the tree.
int CountEntries(HWND hTree);
// Entries that carry an item.
int CountItemEntries(HWND hTree);
// Whether the entry is among the rows that the control shows now.
bool InView(HWND hTree, HTREEITEM hItem);
// The rectangle of the entry's label, in the tree's client coordinates.
RECT LabelRect(HWND hTree, HTREEITEM hItem);
// Selects the entry as a click does (TVM_SELECTITEM).
void Select(HWND hTree, HTREEITEM hItem);

// Waits until the entry at the path exists; none when it does not come in time.
HTREEITEM WaitEntry(const Host& host, const std::vector<std::string>& path,
                    DWORD dwTimeoutMs = 15000);
// Selects each entry down the path in turn, each once its parent's listing has delivered;
// false when one does not come or does not deliver.
bool SelectDownTo(const Host& host, const std::vector<std::string>& path);
// Waits until the entry at the path exists and its listing has delivered (mark listed or
// failed); none when that does not happen in time.
HTREEITEM WaitListed(const Host& host, const std::vector<std::string>& path,
                     DWORD dwTimeoutMs = 15000);
// Waits until no listing job is left and the open tree has no work left.
bool WaitIdle(DWORD dwTimeoutMs = 15000);

// ---- Live objects ----------------------------------------------------------------------------

struct Live {
    long items, files, jobs, results, buffers;
};
inline Live LiveNow() {
    return {CItem::s_nLive, CLanFile::s_nLive, CListJob::s_nLive, CListResult::s_nLive,
            CNetBuffer::s_nLive};
}
// The file records held by the items of the tree's entries.
long FilesInTree(HWND hTree);

// ---- The simulated network -------------------------------------------------------------------

// Loads a description; fails the test when it does not load.
void LoadNetwork(const std::string& text);
// The local folder behind \\COMPUTER\SHARE\sub (sub may be empty).
std::string ShareFolder(const std::string& computer, const std::string& share,
                        const std::string& sub = "");
void MakeDir(const std::string& path);
// Each test starts from empty shares.
using testfs::ClearFolder;
inline void MakeFile(const std::string& path, const std::string& text = "x") {
    testfs::WriteFileText(path, text);
}
// Empties the share's folder, then makes its entries in order: a name ending in '\' is a
// folder, any other a file.
void FillShare(const std::string& computer, const std::string& share,
               const std::vector<std::string>& entries);

// Every test starts from an empty tree and ends with every object freed.
class NetTreeTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    Host m_host;
};

} // namespace nttest
