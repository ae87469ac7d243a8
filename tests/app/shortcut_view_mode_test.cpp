// The file list's view-mode commands of the frame: the list's style and the radio marks.
#include "tests/app/shortcut_support.h"

namespace sctest {
namespace {

class ViewModeTest : public ShortcutAppTest {
protected:
    DWORD ListStyle() const { return GetWindowLongA(FileList(), GWL_STYLE) & LVS_TYPEMASK; }
    // The command that carries the radio mark, 0 for none; each of the three is enabled.
    UINT Marked() const {
        UINT nMarked = 0;
        for (UINT nID : {ID_VIEW_LARGEICON, ID_VIEW_LIST, ID_VIEW_DETAILS}) {
            UINT nState = apptest::MenuItemState(m_pFrame, nID);
            EXPECT_FALSE(nState & (MF_GRAYED | MF_DISABLED)) << nID;
            if (nState & MF_CHECKED) {
                EXPECT_EQ(nMarked, 0u) << "one mark only";
                nMarked = nID;
            }
        }
        return nMarked;
    }
    void Command(UINT nID) { m_pFrame->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0); }
};

TEST_F(ViewModeTest, EachCommandSwitchesTheListAndMovesTheMark) {
    EXPECT_EQ(ListStyle(), static_cast<DWORD>(LVS_REPORT));
    EXPECT_EQ(Marked(), static_cast<UINT>(ID_VIEW_DETAILS));
    const struct {
        UINT nID;
        DWORD dwStyle;
    } steps[] = {{ID_VIEW_LIST, LVS_LIST},
                 {ID_VIEW_LARGEICON, LVS_ICON},
                 {ID_VIEW_DETAILS, LVS_REPORT},
                 {ID_VIEW_LIST, LVS_LIST}};
    for (const auto& step : steps) {
        Command(step.nID);
        EXPECT_EQ(ListStyle(), step.dwStyle) << step.nID;
        EXPECT_EQ(Marked(), step.nID);
    }
    // Small icons is no command of ours: no item is marked.
    SetWindowLongA(FileList(), GWL_STYLE,
                   (GetWindowLongA(FileList(), GWL_STYLE) & ~LVS_TYPEMASK) | LVS_SMALLICON);
    EXPECT_EQ(Marked(), 0u);
}

TEST_F(ViewModeTest, TheCommandsWorkWhicheverPaneHasTheFocus) {
    for (HWND hPane : {NetTree(), ObjTree(), FileList()}) {
        ::SetFocus(hPane);
        Command(ID_VIEW_LIST);
        EXPECT_EQ(ListStyle(), static_cast<DWORD>(LVS_LIST));
        EXPECT_EQ(Marked(), static_cast<UINT>(ID_VIEW_LIST));
        Command(ID_VIEW_DETAILS);
        EXPECT_EQ(Marked(), static_cast<UINT>(ID_VIEW_DETAILS));
    }
}

} // namespace
} // namespace sctest
