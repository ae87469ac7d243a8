#include "framework/cstring.h"

#include <cstdio>
#include <cstring>

void CString::FormatV(const char* pszFormat, va_list args) {
    va_list copy;
    va_copy(copy, args);
    int n = vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
        return;
    }
    std::string out(n, '\0');
    vsnprintf(out.data(), n + 1, pszFormat, args);
    m_str.swap(out);
}

void CString::Format(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

BOOL CString::LoadString(UINT nID) {
    // LoadStringA cannot report a string's length up front: grow until it fits.
    for (int size = 256; size <= 65536; size *= 4) {
        std::string buf(size, '\0');
        int n = ::LoadStringA(GetModuleHandleA(nullptr), nID, buf.data(), size);
        if (n <= 0) {
            m_str.clear();
            return FALSE;
        }
        if (n < size - 1) {
            buf.resize(n);
            m_str.swap(buf);
            return TRUE;
        }
    }
    return FALSE;
}

int CString::Replace(const char* pszOld, const char* pszNew) {
    size_t oldLen = pszOld ? strlen(pszOld) : 0;
    if (oldLen == 0)
        return 0;
    std::string repl = pszNew ? pszNew : "";
    int count = 0;
    for (size_t pos = m_str.find(pszOld); pos != std::string::npos;
         pos = m_str.find(pszOld, pos + repl.size())) {
        m_str.replace(pos, oldLen, repl);
        ++count;
    }
    return count;
}
