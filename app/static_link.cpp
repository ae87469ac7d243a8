#include "app/static_link.h"

#include "res/resource.h"

#include <shellapi.h>

namespace {

void OpenWithShell(const char* pszTarget) {
    ::ShellExecuteA(nullptr, nullptr, pszTarget, nullptr, nullptr, SW_SHOWDEFAULT);
}

} // namespace

void (*CStaticLink::s_pfnOpen)(const char* pszTarget) = OpenWithShell;

BEGIN_MESSAGE_MAP(CStaticLink, CStatic)
    ON_WM_NCHITTEST()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONDOWN()
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CString CStaticLink::GetTarget(const CString& strText) {
    if (!strText.IsEmpty() && strText.Find('@') >= 0)
        return "mailto:" + strText;
    return strText;
}

LRESULT CStaticLink::OnNcHitTest(CPoint) {
    // A static control is transparent to the mouse otherwise.
    return HTCLIENT;
}

BOOL CStaticLink::OnSetCursor(CWnd*, UINT, UINT) {
    ::SetCursor(::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDC_LINK_HAND)));
    return TRUE;
}

void CStaticLink::OnLButtonDown(UINT, CPoint) {
    CString strText;
    GetWindowText(strText);
    s_pfnOpen(GetTarget(strText));
}

HBRUSH CStaticLink::CtlColor(CDC* pDC, UINT) {
    // The parent dialog's normal background, as the default processing answers it.
    auto hbr = reinterpret_cast<HBRUSH>(Default());
    if (!m_font.GetSafeHandle()) {
        LOGFONTA lf{};
        HFONT hFont = GetFont();
        if (!hFont)
            hFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        ::GetObjectA(hFont, sizeof(lf), &lf);
        lf.lfUnderline = TRUE;
        // Static controls that select their own font after asking for colours (Wine's does)
        // would otherwise draw without the underline.
        if (m_font.CreateFontIndirect(&lf))
            SetFont(&m_font, FALSE);
    }
    if (m_font.GetSafeHandle())
        pDC->SelectObject(&m_font);
    pDC->SetTextColor(RGB(0, 0, 255));
    return hbr;
}
