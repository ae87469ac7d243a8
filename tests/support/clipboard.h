// Reading what a test put on, or got from, the clipboard and drag and drop.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace testclip {

// The file names of a CF_HDROP block, in order.
inline std::vector<std::string> DropFiles(HDROP hDrop) {
    std::vector<std::string> out;
    const UINT n = DragQueryFileA(hDrop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < n; ++i) {
        std::string name(DragQueryFileA(hDrop, i, nullptr, 0), '\0');
        DragQueryFileA(hDrop, i, name.data(), static_cast<UINT>(name.size() + 1));
        out.push_back(name);
    }
    return out;
}

// The files on the clipboard (CF_HDROP); none when it holds none.
inline std::vector<std::string> Files() {
    if (!OpenClipboard(nullptr))
        return {"<clipboard not opened>"};
    std::vector<std::string> out;
    if (auto hDrop = static_cast<HDROP>(GetClipboardData(CF_HDROP)))
        out = DropFiles(hDrop);
    CloseClipboard();
    return out;
}

// The text on the clipboard (CF_TEXT), or "<none>".
inline std::string Text() {
    if (!OpenClipboard(nullptr))
        return "<clipboard not opened>";
    std::string out = "<none>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (auto* psz = static_cast<const char*>(GlobalLock(h))) {
            out = psz;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return out;
}

} // namespace testclip
