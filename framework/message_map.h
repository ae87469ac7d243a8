// Message maps: per class a static table of entries bound to member functions, chained to the
// base class's table. Each entry carries a small captureless lambda that calls the member
// through a pointer of the exact handler type, so a handler with the wrong signature does not
// compile. A lambda returns the "handled" flag; the message's result goes to *pResult.
//
//   class CMyTree : public CTreeCtrl {
//       DECLARE_MESSAGE_MAP()
//       afx_msg int OnCreate(LPCREATESTRUCT lpcs);
//       afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
//       afx_msg void OnRefresh();
//       afx_msg void OnUpdateDelete(CCmdUI* pCmdUI);
//       afx_msg LRESULT OnListingDone(WPARAM wParam, LPARAM lParam);
//   };
//   BEGIN_MESSAGE_MAP(CMyTree, CTreeCtrl)
//       ON_WM_CREATE()
//       ON_NOTIFY_REFLECT(TVN_GETDISPINFO, OnGetDispInfo)
//       ON_COMMAND(ID_VIEW_REFRESH, OnRefresh)
//       ON_UPDATE_COMMAND_UI(ID_EDIT_DELETE, OnUpdateDelete)
//       ON_MESSAGE(WM_LISTING_DONE, OnListingDone)
//   END_MESSAGE_MAP()
#pragma once

#include "framework/gdi.h"

#include <windows.h>
#include <commctrl.h>

class CCmdTarget;
class CWnd;
class CCmdUI;
class CMenu;

#define afx_msg

// Command codes of OnCmdMsg besides the control notification codes.
#define CN_COMMAND 0
#define CN_UPDATE_COMMAND_UI ((UINT)(-1))

// With a non-null pHandlerInfo, OnCmdMsg only reports whether (and where) a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
};

// The arguments of one handler call.
struct AFX_CALLARGS {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT* pResult;
    UINT nID;     // commands: the command id
    void* pExtra; // update handlers: the CCmdUI
};

// Calls the handler; answers whether the message counts as handled.
typedef BOOL (*AFX_PMSG)(CCmdTarget* pTarget, AFX_CALLARGS& args);

enum class AfxEntry : unsigned char {
    End,
    Message,         // window message nMessage
    Registered,      // window message *pnRegistered
    Command,         // WM_COMMAND code nCode (CN_COMMAND for menus, buttons, accelerators)
    UpdateUI,        // update request for ids nID..nLastID
    Notify,          // WM_NOTIFY code nCode from control nID
    NotifyReflect,   // WM_NOTIFY code nCode of this control, reflected by its parent
    ControlReflect,  // WM_COMMAND code nCode of this control, reflected by its parent
    CtlColorReflect, // WM_CTLCOLOR* of this control, reflected by its parent
};

struct AFX_MSGMAP_ENTRY {
    AfxEntry nKind;
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    const UINT* pnRegistered;
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Wraps a foreign or own window handle for a handler argument (a temporary object for
// windows that are not ours).
CWnd* AfxWndFromHandle(HWND hWnd);

// The base of everything that has a message map: windows and the application.
class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Offers a command (nCode CN_COMMAND or a control notification code) or an update request
    // (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI) to this object's map; TRUE when handled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The first entry of this object's map chain that satisfies pred, or none.
    template <class Pred> const AFX_MSGMAP_ENTRY* FindMapEntry(Pred pred) const {
        for (const AFX_MSGMAP* map = GetMessageMap(); map;
             map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr)
            for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nKind != AfxEntry::End; ++e)
                if (pred(*e))
                    return e;
        return nullptr;
    }

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

#define DECLARE_MESSAGE_MAP()                                                                      \
protected:                                                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();                                                  \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const {                                            \
        return GetThisMessageMap();                                                                \
    }                                                                                              \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                              \
        using ThisClass [[maybe_unused]] = theClass;                                               \
        using TheBaseClass = baseClass;                                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                                          \
    { AfxEntry::End, 0, 0, 0, 0, nullptr, nullptr }                                                \
    }                                                                                              \
    ;                                                                                              \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]};  \
    return &messageMap;                                                                            \
    }

// One entry; the trailing arguments are the body of the lambda, with p_ the object (ThisClass*)
// and a_ the AFX_CALLARGS.
#define AFX_MAP_ENTRY(kind, msg, code, id, lastId, preg, ...)                                      \
    {AfxEntry::kind,                                                                               \
     (UINT)(msg),                                                                                  \
     (UINT)(code),                                                                                 \
     (UINT)(id),                                                                                   \
     (UINT)(lastId),                                                                               \
     preg,                                                                                         \
     [](CCmdTarget* t_, AFX_CALLARGS& a_) -> BOOL {                                                \
         ThisClass* p_ = static_cast<ThisClass*>(t_);                                              \
         (void)a_;                                                                                 \
         __VA_ARGS__                                                                               \
     }},

// ---- Generic and registered messages: LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn)                                                             \
    AFX_MAP_ENTRY(Message, message, 0, 0, 0, nullptr,                                              \
                  LRESULT (ThisClass::*f_)(WPARAM, LPARAM) = &ThisClass::memberFxn;                \
                  *a_.pResult = (p_->*f_)(a_.wParam, a_.lParam); return TRUE;)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                         \
    AFX_MAP_ENTRY(Registered, 0, 0, 0, 0, &(nMessageVariable),                                     \
                  LRESULT (ThisClass::*f_)(WPARAM, LPARAM) = &ThisClass::memberFxn;                \
                  *a_.pResult = (p_->*f_)(a_.wParam, a_.lParam); return TRUE;)

// ---- Commands
#define ON_COMMAND(id, memberFxn)                                                                  \
    AFX_MAP_ENTRY(Command, 0, CN_COMMAND, id, id, nullptr,                                         \
                  void (ThisClass::*f_)() = &ThisClass::memberFxn;                                 \
                  (p_->*f_)(); return TRUE;)
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                    \
    AFX_MAP_ENTRY(Command, 0, CN_COMMAND, id, idLast, nullptr,                                     \
                  void (ThisClass::*f_)(UINT) = &ThisClass::memberFxn;                             \
                  (p_->*f_)(a_.nID); return TRUE;)
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                        \
    AFX_MAP_ENTRY(UpdateUI, 0, 0, id, id, nullptr,                                                 \
                  void (ThisClass::*f_)(CCmdUI*) = &ThisClass::memberFxn;                          \
                  (p_->*f_)(static_cast<CCmdUI*>(a_.pExtra)); return TRUE;)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                          \
    AFX_MAP_ENTRY(UpdateUI, 0, 0, id, idLast, nullptr,                                             \
                  void (ThisClass::*f_)(CCmdUI*) = &ThisClass::memberFxn;                          \
                  (p_->*f_)(static_cast<CCmdUI*>(a_.pExtra)); return TRUE;)
// A control's WM_COMMAND notification code from control id: void fn()
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                     \
    AFX_MAP_ENTRY(Command, 0, wNotifyCode, id, id, nullptr,                                        \
                  void (ThisClass::*f_)() = &ThisClass::memberFxn;                                 \
                  (p_->*f_)(); return TRUE;)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// ---- Notifications: void fn(NMHDR*, LRESULT*)
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                      \
    AFX_MAP_ENTRY(Notify, 0, wNotifyCode, id, id, nullptr,                                         \
                  void (ThisClass::*f_)(NMHDR*, LRESULT*) = &ThisClass::memberFxn;                 \
                  (p_->*f_)(reinterpret_cast<NMHDR*>(a_.lParam), a_.pResult); return TRUE;)

// ---- Reflected to the control's own map by its parent
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                                  \
    AFX_MAP_ENTRY(NotifyReflect, 0, wNotifyCode, 0, 0, nullptr,                                    \
                  void (ThisClass::*f_)(NMHDR*, LRESULT*) = &ThisClass::memberFxn;                 \
                  (p_->*f_)(reinterpret_cast<NMHDR*>(a_.lParam), a_.pResult); return TRUE;)
// The handler answers whether it consumed the notification; when not, the parent gets it too.
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                               \
    AFX_MAP_ENTRY(NotifyReflect, 0, wNotifyCode, 0, 0, nullptr,                                    \
                  BOOL (ThisClass::*f_)(NMHDR*, LRESULT*) = &ThisClass::memberFxn;                 \
                  return (p_->*f_)(reinterpret_cast<NMHDR*>(a_.lParam), a_.pResult);)
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                                 \
    AFX_MAP_ENTRY(ControlReflect, 0, wNotifyCode, 0, 0, nullptr,                                   \
                  void (ThisClass::*f_)() = &ThisClass::memberFxn;                                 \
                  (p_->*f_)(); return TRUE;)
// HBRUSH CtlColor(CDC* pDC, UINT nCtlColor); a null brush leaves the message to the parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                                   \
    AFX_MAP_ENTRY(CtlColorReflect, 0, 0, 0, 0, nullptr,                                            \
                  HBRUSH (ThisClass::*f_)(CDC*, UINT) = &ThisClass::CtlColor;                      \
                  CDC dc_(reinterpret_cast<HDC>(a_.wParam));                                       \
                  HBRUSH hbr_ = (p_->*f_)(&dc_, a_.message - WM_CTLCOLORMSGBOX);                   \
                  if (!hbr_) return FALSE; *a_.pResult = reinterpret_cast<LRESULT>(hbr_);          \
                  return TRUE;)

// ---- Window messages with typed handlers (the handler names are fixed)
#define AFX_WM_ENTRY(message, ...) AFX_MAP_ENTRY(Message, message, 0, 0, 0, nullptr, __VA_ARGS__)

#define ON_WM_CREATE()                                                                             \
    AFX_WM_ENTRY(WM_CREATE, int (ThisClass::*f_)(LPCREATESTRUCTA) = &ThisClass::OnCreate;          \
                 *a_.pResult = (p_->*f_)(reinterpret_cast<LPCREATESTRUCTA>(a_.lParam));            \
                 return TRUE;)
#define ON_WM_DESTROY()                                                                            \
    AFX_WM_ENTRY(WM_DESTROY, void (ThisClass::*f_)() = &ThisClass::OnDestroy; (p_->*f_)();         \
                 return TRUE;)
#define ON_WM_CLOSE()                                                                              \
    AFX_WM_ENTRY(WM_CLOSE, void (ThisClass::*f_)() = &ThisClass::OnClose; (p_->*f_)(); return TRUE;)
#define ON_WM_PAINT()                                                                              \
    AFX_WM_ENTRY(WM_PAINT, void (ThisClass::*f_)() = &ThisClass::OnPaint; (p_->*f_)(); return TRUE;)
#define ON_WM_SIZE()                                                                               \
    AFX_WM_ENTRY(WM_SIZE, void (ThisClass::*f_)(UINT, int, int) = &ThisClass::OnSize;              \
                 (p_->*f_)((UINT)a_.wParam, (short)LOWORD(a_.lParam), (short)HIWORD(a_.lParam));   \
                 return TRUE;)
#define ON_WM_SETFOCUS()                                                                           \
    AFX_WM_ENTRY(WM_SETFOCUS, void (ThisClass::*f_)(CWnd*) = &ThisClass::OnSetFocus;               \
                 (p_->*f_)(AfxWndFromHandle(reinterpret_cast<HWND>(a_.wParam))); return TRUE;)
#define ON_WM_KILLFOCUS()                                                                          \
    AFX_WM_ENTRY(WM_KILLFOCUS, void (ThisClass::*f_)(CWnd*) = &ThisClass::OnKillFocus;             \
                 (p_->*f_)(AfxWndFromHandle(reinterpret_cast<HWND>(a_.wParam))); return TRUE;)
#define ON_WM_ACTIVATE()                                                                           \
    AFX_WM_ENTRY(WM_ACTIVATE, void (ThisClass::*f_)(UINT, CWnd*, BOOL) = &ThisClass::OnActivate;   \
                 (p_->*f_)(LOWORD(a_.wParam), AfxWndFromHandle(reinterpret_cast<HWND>(a_.lParam)), \
                           (BOOL)HIWORD(a_.wParam));                                               \
                 return TRUE;)
#define ON_WM_TIMER()                                                                              \
    AFX_WM_ENTRY(WM_TIMER, void (ThisClass::*f_)(UINT_PTR) = &ThisClass::OnTimer;                  \
                 (p_->*f_)((UINT_PTR)a_.wParam); return TRUE;)
#define ON_WM_KEYDOWN()                                                                            \
    AFX_WM_ENTRY(WM_KEYDOWN, void (ThisClass::*f_)(UINT, UINT, UINT) = &ThisClass::OnKeyDown;      \
                 (p_->*f_)((UINT)a_.wParam, LOWORD(a_.lParam), HIWORD(a_.lParam)); return TRUE;)
#define ON_WM_CONTEXTMENU()                                                                        \
    AFX_WM_ENTRY(                                                                                  \
        WM_CONTEXTMENU, void (ThisClass::*f_)(CWnd*, CPoint) = &ThisClass::OnContextMenu;          \
        (p_->*f_)(AfxWndFromHandle(reinterpret_cast<HWND>(a_.wParam)), CPoint(a_.lParam));         \
        return TRUE;)
#define AFX_WM_MOUSE_ENTRY(message, memberFxn)                                                     \
    AFX_WM_ENTRY(message, void (ThisClass::*f_)(UINT, CPoint) = &ThisClass::memberFxn;             \
                 (p_->*f_)((UINT)a_.wParam, CPoint(a_.lParam)); return TRUE;)
#define ON_WM_LBUTTONDOWN() AFX_WM_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_MOUSEMOVE() AFX_WM_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_NCHITTEST()                                                                          \
    AFX_WM_ENTRY(WM_NCHITTEST, LRESULT (ThisClass::*f_)(CPoint) = &ThisClass::OnNcHitTest;         \
                 *a_.pResult = (p_->*f_)(CPoint(a_.lParam)); return TRUE;)
#define ON_WM_SETCURSOR()                                                                          \
    AFX_WM_ENTRY(WM_SETCURSOR, BOOL (ThisClass::*f_)(CWnd*, UINT, UINT) = &ThisClass::OnSetCursor; \
                 *a_.pResult = (p_->*f_)(AfxWndFromHandle(reinterpret_cast<HWND>(a_.wParam)),      \
                                         LOWORD(a_.lParam), HIWORD(a_.lParam));                    \
                 return TRUE;)
#define ON_WM_INITMENUPOPUP()                                                                      \
    AFX_WM_ENTRY(WM_INITMENUPOPUP,                                                                 \
                 void (ThisClass::*f_)(CMenu*, UINT, BOOL) = &ThisClass::OnInitMenuPopup;          \
                 CMenu menu_; menu_.Attach(reinterpret_cast<HMENU>(a_.wParam));                    \
                 (p_->*f_)(&menu_, LOWORD(a_.lParam), (BOOL)HIWORD(a_.lParam)); menu_.Detach();    \
                 return TRUE;)
#define ON_WM_MENUSELECT()                                                                         \
    AFX_WM_ENTRY(                                                                                  \
        WM_MENUSELECT, void (ThisClass::*f_)(UINT, UINT, HMENU) = &ThisClass::OnMenuSelect;        \
        (p_->*f_)(LOWORD(a_.wParam), HIWORD(a_.wParam), reinterpret_cast<HMENU>(a_.lParam));       \
        return TRUE;)
