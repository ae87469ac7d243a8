#include "framework/ole_data_source.h"
#include "shell/filename_list.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

HGLOBAL Block(const std::string& bytes) {
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    memcpy(GlobalLock(h), bytes.data(), bytes.size());
    GlobalUnlock(h);
    return h;
}

// Clipboard text with its terminating zero.
HGLOBAL TextBlock(const char* text) {
    return Block(std::string(text, strlen(text) + 1));
}

std::string Bytes(HGLOBAL h) {
    const auto* p = static_cast<const char*>(GlobalLock(h));
    std::string s(p, GlobalSize(h));
    GlobalUnlock(h);
    return s;
}

FORMATETC Fmt(CLIPFORMAT cf, DWORD tymed = TYMED_HGLOBAL) {
    return FORMATETC{cf, nullptr, DVASPECT_CONTENT, -1, tymed};
}

// Counts its own destruction, so the tests see when the last reference went.
class CountedSource : public COleDataSource {
public:
    explicit CountedSource(int* pDestroyed) : m_pDestroyed(pDestroyed) {}
    ~CountedSource() override { ++*m_pDestroyed; }

private:
    int* m_pDestroyed;
};

class OleDataSourceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(AfxOleInit()); }
    static void TearDownTestSuite() { AfxOleTerm(); }
};

TEST_F(OleDataSourceTest, OffersOnlyWhatWasCachedAsGlobalMemory) {
    COleDataSource source;
    source.CacheGlobalData(CF_HDROP, Block("drop"));
    IDataObject* pData = source.GetDataObject();

    FORMATETC drop = Fmt(CF_HDROP);
    FORMATETC text = Fmt(CF_TEXT);
    FORMATETC dropAsStream = Fmt(CF_HDROP, TYMED_ISTREAM);
    FORMATETC dropAnyMedium = Fmt(CF_HDROP, TYMED_HGLOBAL | TYMED_ISTREAM);
    EXPECT_EQ(pData->QueryGetData(&drop), S_OK);
    EXPECT_EQ(pData->QueryGetData(&dropAnyMedium), S_OK);
    EXPECT_EQ(pData->QueryGetData(&text), DV_E_FORMATETC);
    EXPECT_EQ(pData->QueryGetData(&dropAsStream), DV_E_TYMED);

    STGMEDIUM medium = {};
    EXPECT_EQ(pData->GetData(&text, &medium), DV_E_FORMATETC);
    EXPECT_EQ(pData->SetData(&text, &medium, TRUE), E_NOTIMPL);

    IEnumFORMATETC* pEnum = nullptr;
    ASSERT_EQ(pData->EnumFormatEtc(DATADIR_GET, &pEnum), S_OK);
    std::vector<CLIPFORMAT> formats;
    FORMATETC fmt;
    while (pEnum->Next(1, &fmt, nullptr) == S_OK) {
        formats.push_back(fmt.cfFormat);
        EXPECT_EQ(fmt.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    }
    pEnum->Release();
    EXPECT_EQ(formats, std::vector<CLIPFORMAT>{CF_HDROP});
}

TEST_F(OleDataSourceTest, EveryReaderGetsItsOwnCopy) {
    COleDataSource source;
    source.CacheGlobalData(CF_TEXT, Block("first"));
    source.CacheGlobalData(CF_TEXT, Block("second")); // replaces the first block
    FORMATETC text = Fmt(CF_TEXT);
    for (int i = 0; i < 2; ++i) {
        STGMEDIUM medium = {};
        ASSERT_EQ(source.GetData(&text, &medium), S_OK);
        EXPECT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
        EXPECT_EQ(Bytes(medium.hGlobal), "second");
        ReleaseStgMedium(&medium);
    }

    STGMEDIUM here = {};
    here.tymed = TYMED_HGLOBAL;
    here.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 3);
    EXPECT_EQ(source.GetDataHere(&text, &here), STG_E_MEDIUMFULL);
    GlobalFree(here.hGlobal);
    here.hGlobal = GlobalAlloc(GMEM_MOVEABLE, 6);
    ASSERT_EQ(source.GetDataHere(&text, &here), S_OK);
    EXPECT_EQ(Bytes(here.hGlobal), "second");
    GlobalFree(here.hGlobal);
}

TEST_F(OleDataSourceTest, ClipboardOwnsTheSourceUntilItLetsGo) {
    int destroyed = 0;
    auto* pSource = new CountedSource(&destroyed);
    pSource->CacheGlobalData(CF_TEXT, TextBlock("on the clipboard"));
    ASSERT_TRUE(pSource->SetClipboard());
    EXPECT_EQ(destroyed, 0);

    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE h = GetClipboardData(CF_TEXT);
    ASSERT_NE(h, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "on the clipboard");
    GlobalUnlock(h);
    EmptyClipboard(); // another program takes the clipboard
    CloseClipboard();
    EXPECT_EQ(destroyed, 1) << "the clipboard released the only reference";
}

TEST_F(OleDataSourceTest, FlushAtExitKeepsTheDataAndFreesTheSource) {
    int destroyed = 0;
    auto* pSource = new CountedSource(&destroyed);
    pSource->CacheGlobalData(CF_TEXT, TextBlock("kept"));
    ASSERT_TRUE(pSource->SetClipboard());
    ASSERT_EQ(OleFlushClipboard(), S_OK);
    EXPECT_EQ(destroyed, 1);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE h = GetClipboardData(CF_TEXT);
    ASSERT_NE(h, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "kept");
    GlobalUnlock(h);
    CloseClipboard();
}

// ---- Drag and drop ----

struct DropSourceCase {
    BOOL escape;
    DWORD keys;
    HRESULT expected;
};

TEST(OleDropSourceTest, EscapeCancelsAndReleasingTheButtonsDrops) {
    const DropSourceCase cases[] = {
        {TRUE, MK_LBUTTON, DRAGDROP_S_CANCEL},
        {TRUE, 0, DRAGDROP_S_CANCEL},
        {FALSE, MK_LBUTTON, S_OK},
        {FALSE, MK_RBUTTON, S_OK},
        {FALSE, MK_LBUTTON | MK_SHIFT, S_OK},
        {FALSE, 0, DRAGDROP_S_DROP},
        {FALSE, MK_CONTROL, DRAGDROP_S_DROP},
    };
    COleDropSource source;
    for (const DropSourceCase& c : cases)
        EXPECT_EQ(source.QueryContinueDrag(c.escape, c.keys), c.expected)
            << "escape " << c.escape << " keys " << c.keys;
    EXPECT_EQ(source.GiveFeedback(DROPEFFECT_COPY), DRAGDROP_S_USEDEFAULTCURSORS);
}

// Answers the drag loop from a script and records what it was asked.
class ScriptedDropSource : public COleDropSource {
public:
    explicit ScriptedDropSource(HRESULT answer) : m_answer(answer) {}
    STDMETHODIMP QueryContinueDrag(BOOL, DWORD) override {
        ++m_calls;
        return m_answer;
    }
    int m_calls = 0;

private:
    HRESULT m_answer;
};

TEST_F(OleDataSourceTest, DragEndsWithTheDropSourcesAnswer) {
    for (HRESULT answer : {DRAGDROP_S_CANCEL, DRAGDROP_S_DROP}) {
        int destroyed = 0;
        {
            CountedSource source(&destroyed);
            source.CacheGlobalData(CF_HDROP, Block("drop"));
            ScriptedDropSource dropSource(answer);
            EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY, nullptr, &dropSource), DROPEFFECT_NONE)
                << "nothing under the cursor accepts the drop";
            EXPECT_GE(dropSource.m_calls, 1);
        }
        EXPECT_EQ(destroyed, 1);
    }
}

// A window on a thread of its own (with OLE) that starts DragFiles when the left button goes
// down on it, as a view does; the test drives it with input and waits for it, bounded.
class DragWindowThread {
public:
    DragWindowThread() {
        m_thread = std::thread([this] { Run(); });
        WaitForSingleObject(m_ready, 10000);
    }
    ~DragWindowThread() {
        if (m_hwnd)
            PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_finished, 10000) == WAIT_OBJECT_0)
            m_thread.join();
        else
            m_thread.detach(); // a hung drag fails the test; do not hang the run too
        for (HANDLE h : {m_ready, m_dragStarted, m_dragEnded, m_finished})
            CloseHandle(h);
    }
    DragWindowThread(const DragWindowThread&) = delete;
    DragWindowThread& operator=(const DragWindowThread&) = delete;

    POINT Center() const { return POINT{kLeft + kSize / 2, kTop + kSize / 2}; }
    DWORD threadId() const { return m_threadId; }
    bool WaitStarted(DWORD ms) { return WaitForSingleObject(m_dragStarted, ms) == WAIT_OBJECT_0; }
    bool WaitEnded(DWORD ms) { return WaitForSingleObject(m_dragEnded, ms) == WAIT_OBJECT_0; }
    // Ready for the next drag.
    void Reset() {
        ResetEvent(m_dragStarted);
        ResetEvent(m_dragEnded);
    }

private:
    static constexpr int kLeft = 100, kTop = 100, kSize = 200;

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<DragWindowThread*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (msg == WM_LBUTTONDOWN && self) {
            SetEvent(self->m_dragStarted);
            CFilenameList list;
            list.AddTail("C:\\windows\\win.ini");
            list.DragFiles();
            SetEvent(self->m_dragEnded);
            return 0;
        }
        if (msg == WM_DESTROY)
            PostQuitMessage(0);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

    void Run() {
        m_threadId = GetCurrentThreadId();
        OleInitialize(nullptr);
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WndProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VqDragSourceTest";
        RegisterClassA(&wc);
        m_hwnd = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, kLeft,
                                 kTop, kSize, kSize, nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetEvent(m_ready);
        MSG msg;
        while (GetMessageA(&msg, nullptr, 0, 0) > 0)
            DispatchMessageA(&msg);
        m_hwnd = nullptr;
        OleUninitialize();
        SetEvent(m_finished);
    }

    HANDLE m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_dragStarted = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_dragEnded = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND m_hwnd = nullptr;
    DWORD m_threadId = 0;
    std::thread m_thread;
};

void SendButton(DWORD flag) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    SendInput(1, &in, sizeof in);
}

// The drag runs while the button is held and ends by the given action.
class DragFilesTest : public ::testing::TestWithParam<const char*> {
protected:
    // One window for the suite: under Wine without a window manager, destroying a visible
    // top-level window waits 2 s.
    static void SetUpTestSuite() { s_window = new DragWindowThread; }
    static void TearDownTestSuite() {
        delete s_window;
        s_window = nullptr;
    }
    void SetUp() override { s_window->Reset(); }
    static inline DragWindowThread* s_window = nullptr;
};

TEST_P(DragFilesTest, ReturnsWhenTheDragEnds) {
    const bool escape = std::string(GetParam()) == "escape";
    DragWindowThread& window = *s_window;
    const POINT pt = window.Center();
    SetCursorPos(pt.x, pt.y);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    if (!window.WaitStarted(5000)) {
        SendButton(MOUSEEVENTF_LEFTUP);
        GTEST_SKIP() << "simulated mouse input does not reach the window here";
    }
    EXPECT_FALSE(window.WaitEnded(300)) << "the drag goes on while the button is held";
    if (escape) {
        for (int i = 0; i < 50 && !window.WaitEnded(100); ++i)
            PostThreadMessageA(window.threadId(), WM_KEYDOWN, VK_ESCAPE, 0);
    } else {
        SendButton(MOUSEEVENTF_LEFTUP);
    }
    EXPECT_TRUE(window.WaitEnded(10000)) << "DragFiles returned";
    SendButton(MOUSEEVENTF_LEFTUP);
}

INSTANTIATE_TEST_SUITE_P(Ends, DragFilesTest, ::testing::Values("escape", "button_release"),
                         [](const auto& info) { return std::string(info.param); });

} // namespace
