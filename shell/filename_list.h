// The full paths of a selection and what is done with them: clipboard, drag and drop, shell copy
// and delete, and one path as text on the clipboard.
#pragma once

#include "framework/collections.h"

#include <windows.h>

#if __has_include("res/resource.h")
#include "res/resource.h"
#endif
#ifndef ID_EDIT_COPY_FULL_PATH
#define ID_EDIT_COPY_FULL_PATH 32786
#endif
#ifndef ID_EDIT_COPY_DIR_PATH
#define ID_EDIT_COPY_DIR_PATH 32787
#endif
#ifndef ID_EDIT_COPY_NAME
#define ID_EDIT_COPY_NAME 32788
#endif

// Each element is one full ANSI path without a trailing backslash, in the caller's order.
class CFilenameList : public CStringList {
public:
    CFilenameList() : CStringList(10) {}

    // Every path with its zero byte, then one more zero byte.
    int GetDoubleNullSize() const;
    // pBuffer holds at least GetDoubleNullSize() bytes.
    void CopyDoubleNull(char* pBuffer) const;
    // A DROPFILES block with ANSI names (flags 0x2042); none when it cannot be allocated.
    HGLOBAL CreateHDrop() const;

    // Offers the paths on the clipboard as CF_HDROP, the only format.
    void CopyToClipboard() const;
    // Drags the paths as CF_HDROP with copy as the only effect; returns when the drag ends.
    void DragFiles() const;
    // Copies into the directory with the shell's own dialogs and no owner window.
    void CopyTo(const char* pszDestDir) const;
    // Deletes with the shell's own dialogs owned by hWndOwner; the shell's result (0: success).
    int Delete(HWND hWndOwner) const;
};

// Puts the full path, its directory or its name (by command identifier) on the clipboard as
// CF_TEXT.
void CopyPathToClipboard(UINT nID, CString& path);
