#include "framework/splitter.h"

#include "framework/frame.h"

#include <algorithm>

BEGIN_MESSAGE_MAP(CSplitterWnd, CWnd)
    ON_WM_SIZE()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
END_MESSAGE_MAP()

BOOL CSplitterWnd::CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle, UINT nID) {
    if (nRows < 1 || nCols < 1 || nRows > 16 || nCols > 16)
        return FALSE;
    m_rows.assign(nRows, RowColInfo{});
    m_cols.assign(nCols, RowColInfo{});
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1));
    return CreateEx(0, lpszClass, nullptr, dwStyle | WS_CHILD | WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                    pParentWnd, nID);
}

BOOL CSplitterWnd::CreateView(int row, int col, CWnd* pWnd, LPCSTR lpszClassName, DWORD dwStyle) {
    if (!pWnd->CreateEx(0, lpszClassName, nullptr, dwStyle | WS_CHILD, CRect(0, 0, 0, 0), this,
                        IdFromRowCol(row, col)))
        return FALSE;
    RecalcLayout();
    return TRUE;
}

void CSplitterWnd::SetColumnInfo(int col, int cxIdeal, int cxMin) {
    m_cols[col].nIdealSize = cxIdeal;
    m_cols[col].nMinSize = cxMin;
}

void CSplitterWnd::SetRowInfo(int row, int cyIdeal, int cyMin) {
    m_rows[row].nIdealSize = cyIdeal;
    m_rows[row].nMinSize = cyMin;
}

void CSplitterWnd::GetColumnInfo(int col, int& cxCur, int& cxMin) const {
    cxCur = m_cols[col].nCurSize;
    cxMin = m_cols[col].nMinSize;
}

void CSplitterWnd::GetRowInfo(int row, int& cyCur, int& cyMin) const {
    cyCur = m_rows[row].nCurSize;
    cyMin = m_rows[row].nMinSize;
}

void CSplitterWnd::Layout(std::vector<RowColInfo>& infos, int nSize) {
    int nLeft = std::max(nSize, 0);
    for (size_t i = 0; i < infos.size(); ++i) {
        RowColInfo& info = infos[i];
        if (i + 1 == infos.size()) {
            info.nCurSize = nLeft;
            break;
        }
        int nWant = info.nIdealSize < info.nMinSize ? 0 : std::max(info.nIdealSize, 0);
        info.nCurSize = std::min(nWant, nLeft);
        nLeft -= info.nCurSize;
        nLeft -= std::min(kBarSize, nLeft);
    }
}

void CSplitterWnd::RecalcLayout() {
    if (!m_hWnd || m_rows.empty())
        return;
    CRect rc;
    GetClientRect(&rc);
    Layout(m_cols, rc.Width());
    Layout(m_rows, rc.Height());
    int y = 0;
    for (int row = 0; row < GetRowCount(); ++row) {
        int x = 0;
        for (int col = 0; col < GetColumnCount(); ++col) {
            if (HWND hPane = ::GetDlgItem(m_hWnd, IdFromRowCol(row, col)))
                ::MoveWindow(hPane, x, y, m_cols[col].nCurSize, m_rows[row].nCurSize, TRUE);
            x += m_cols[col].nCurSize + kBarSize;
        }
        y += m_rows[row].nCurSize + kBarSize;
    }
    Invalidate();
}

bool CSplitterWnd::HitBar(CPoint pt, bool& bColumn, int& nIndex) const {
    int x = 0;
    for (int col = 0; col + 1 < GetColumnCount(); ++col) {
        x += m_cols[col].nCurSize;
        if (pt.x >= x && pt.x < x + kBarSize) {
            bColumn = true;
            nIndex = col;
            return true;
        }
        x += kBarSize;
    }
    int y = 0;
    for (int row = 0; row + 1 < GetRowCount(); ++row) {
        y += m_rows[row].nCurSize;
        if (pt.y >= y && pt.y < y + kBarSize) {
            bColumn = false;
            nIndex = row;
            return true;
        }
        y += kBarSize;
    }
    return false;
}

void CSplitterWnd::OnSize(UINT, int, int) {
    Default();
    RecalcLayout();
}

void CSplitterWnd::OnLButtonDown(UINT, CPoint point) {
    bool bColumn = false;
    int nIndex = -1;
    if (!HitBar(point, bColumn, nIndex))
        return;
    // The start of the row or column before the bar.
    const std::vector<RowColInfo>& infos = bColumn ? m_cols : m_rows;
    int nStart = 0;
    for (int i = 0; i < nIndex; ++i)
        nStart += infos[i].nCurSize + kBarSize;
    int nBarStart = nStart + infos[nIndex].nCurSize;
    m_bTrackColumn = bColumn;
    m_nTrackIndex = nIndex;
    m_nTrackOffset = (bColumn ? point.x : point.y) - nBarStart;
    ::SetCapture(m_hWnd);
    m_bTracking = true;
}

void CSplitterWnd::OnMouseMove(UINT, CPoint point) {
    if (!m_bTracking)
        return;
    std::vector<RowColInfo>& infos = m_bTrackColumn ? m_cols : m_rows;
    int nStart = 0;
    for (int i = 0; i < m_nTrackIndex; ++i)
        nStart += infos[i].nCurSize + kBarSize;
    int nPos = (m_bTrackColumn ? point.x : point.y) - m_nTrackOffset;
    infos[m_nTrackIndex].nIdealSize = std::max(nPos - nStart, 0);
    RecalcLayout();
}

void CSplitterWnd::OnLButtonUp(UINT, CPoint) {
    if (m_bTracking)
        ::ReleaseCapture();
    m_bTracking = false;
}

LRESULT CSplitterWnd::OnCaptureChanged(WPARAM, LPARAM) {
    m_bTracking = false;
    return 0;
}

BOOL CSplitterWnd::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    if (pWnd == this && nHitTest == HTCLIENT) {
        POINT pt;
        ::GetCursorPos(&pt);
        ScreenToClient(&pt);
        bool bColumn = false;
        int nIndex = -1;
        if (m_bTracking || HitBar(pt, bColumn, nIndex)) {
            bool bSizeWE = m_bTracking ? m_bTrackColumn : bColumn;
            ::SetCursor(::LoadCursorA(nullptr, bSizeWE ? IDC_SIZEWE : IDC_SIZENS));
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(pWnd, nHitTest, message);
}

BOOL CSplitterWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam))
        return TRUE;
    HWND hParent = ::GetParent(m_hWnd);
    return hParent && ::SendMessageA(hParent, WM_COMMAND, wParam, lParam);
}

BOOL CSplitterWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (CWnd::OnNotify(wParam, lParam, pResult))
        return TRUE;
    HWND hParent = ::GetParent(m_hWnd);
    if (!hParent)
        return FALSE;
    *pResult = ::SendMessageA(hParent, WM_NOTIFY, wParam, lParam);
    return TRUE;
}
