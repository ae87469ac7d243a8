// Small geometry helpers and the GDI wrappers that the windows use: a font and a device context.
#pragma once

#include <windows.h>

struct CPoint : POINT {
    CPoint() : POINT{0, 0} {}
    CPoint(int px, int py) : POINT{px, py} {}
    CPoint(POINT pt) : POINT(pt) {}
    // From a mouse message's lParam (signed client coordinates).
    explicit CPoint(LPARAM lParam)
        : POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))} {}
    friend bool operator==(const CPoint& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
};

struct CSize : SIZE {
    CSize() : SIZE{0, 0} {}
    CSize(int cx0, int cy0) : SIZE{cx0, cy0} {}
    CSize(SIZE sz) : SIZE(sz) {}
    friend bool operator==(const CSize& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
};

struct CRect : RECT {
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rc) : RECT(rc) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }
    friend bool operator==(const CRect& a, const CRect& b) { return ::EqualRect(&a, &b) != 0; }
};

// A font object; owns its handle.
class CFont {
public:
    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    BOOL CreateFontIndirect(const LOGFONTA* lpLogFont) {
        DeleteObject();
        m_hObject = ::CreateFontIndirectA(lpLogFont);
        return m_hObject != nullptr;
    }
    int GetLogFont(LOGFONTA* pLogFont) const {
        return ::GetObjectA(m_hObject, sizeof(LOGFONTA), pLogFont);
    }
    BOOL DeleteObject() {
        if (!m_hObject)
            return FALSE;
        BOOL ok = ::DeleteObject(m_hObject);
        m_hObject = nullptr;
        return ok;
    }
    HFONT GetSafeHandle() const { return m_hObject; }
    operator HFONT() const { return m_hObject; }

    HFONT m_hObject = nullptr;
};

// A device context handed to a handler; does not own the handle.
class CDC {
public:
    CDC() = default;
    explicit CDC(HDC hDC) : m_hDC(hDC) {}
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    HGDIOBJ SelectObject(CFont* pFont) { return ::SelectObject(m_hDC, pFont->m_hObject); }
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }

    HDC m_hDC = nullptr;
};
