// CSplitterWnd: a static grid of panes with draggable bars between them. The pane at (row, col)
// is the child window with id IdFromRowCol(row, col); the last row and column take the space
// that the others leave.
#pragma once

#include "framework/wnd.h"

#include <vector>

class CSplitterWnd : public CWnd {
    DECLARE_MESSAGE_MAP()

public:
    CSplitterWnd() = default;

    BOOL CreateStatic(CWnd* pParentWnd, int nRows, int nCols, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
    // Creates pWnd's window as the pane (row, col) with window class lpszClassName. Controls
    // can equally create themselves with this splitter as parent and IdFromRowCol as id.
    BOOL CreateView(int row, int col, CWnd* pWnd, LPCSTR lpszClassName, DWORD dwStyle);

    int IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    CWnd* GetPane(int row, int col) const { return GetDlgItem(IdFromRowCol(row, col)); }
    int GetRowCount() const { return static_cast<int>(m_rows.size()); }
    int GetColumnCount() const { return static_cast<int>(m_cols.size()); }

    // Ideal and minimum sizes in pixels. A row or column whose ideal size is below its minimum
    // is hidden (size 0).
    void SetColumnInfo(int col, int cxIdeal, int cxMin);
    void SetRowInfo(int row, int cyIdeal, int cyMin);
    // The current size (from the last layout) and the minimum.
    void GetColumnInfo(int col, int& cxCur, int& cxMin) const;
    void GetRowInfo(int row, int& cyCur, int& cyMin) const;

    virtual void RecalcLayout();

    // Width of a bar between two panes.
    static constexpr int kBarSize = 6;

protected:
    // Commands and notifications that the panes do not handle go on to the parent frame.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);

private:
    struct RowColInfo {
        int nIdealSize = 0;
        int nMinSize = 0;
        int nCurSize = 0;
    };
    static void Layout(std::vector<RowColInfo>& infos, int nSize);
    // The bar under a client point: which axis and which row/column precedes it; false if none.
    bool HitBar(CPoint pt, bool& bColumn, int& nIndex) const;

    std::vector<RowColInfo> m_rows;
    std::vector<RowColInfo> m_cols;
    bool m_bTracking = false;
    bool m_bTrackColumn = false;
    int m_nTrackIndex = -1;
    int m_nTrackOffset = 0; // mouse position inside the bar when the drag started
};
