// A static text that works as a hyperlink: hand cursor, blue underlined text, and a click opens
// the text (as "mailto:" when it holds an at sign).
#pragma once

#include "framework/afxwin.h"

class CStaticLink : public CStatic {
public:
    CStaticLink() = default;
    ~CStaticLink() override = default;

    // What a click opens for a link text.
    static CString GetTarget(const CString& strText);
    // Opens a target; replaceable so that tests see what a click opens.
    static void (*s_pfnOpen)(const char* pszTarget);

    // An underlined copy of the control's font, made at the first paint.
    CFont m_font;

protected:
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()
};
