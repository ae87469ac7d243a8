// CString: an 8-bit ANSI string with the member names of the classic framework, over std::string.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

class CString {
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength) : m_str(pch, pch ? nLength : 0) {}
    CString(char ch, int nRepeat = 1) : m_str(nRepeat > 0 ? nRepeat : 0, ch) {}
    CString(const std::string& s) : m_str(s) {}

    operator const char*() const { return m_str.c_str(); }
    const char* GetString() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int i) const { return m_str[i]; }
    char operator[](int i) const { return m_str[i]; }
    void SetAt(int i, char ch) { m_str[i] = ch; }

    CString& operator=(const char* psz) {
        m_str = psz ? psz : "";
        return *this;
    }
    CString& operator+=(const char* psz) {
        if (psz)
            m_str += psz;
        return *this;
    }
    CString& operator+=(const CString& s) {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(char ch) {
        m_str += ch;
        return *this;
    }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const char* b) { return CString(a.m_str + (b ? b : "")); }
    friend CString operator+(const char* a, const CString& b) { return CString((a ? a : "") + b.m_str); }
    friend CString operator+(const CString& a, char b) { return CString(a.m_str + b); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

    int Compare(const char* psz) const { return lstrcmpA(m_str.c_str(), psz); }
    int CompareNoCase(const char* psz) const { return lstrcmpiA(m_str.c_str(), psz); }

    // The buffer holds at least nMinBufLength bytes plus the terminating zero; the caller writes
    // into it and then calls ReleaseBuffer.
    char* GetBuffer(int nMinBufLength = 0) {
        if (nMinBufLength > GetLength())
            m_str.resize(nMinBufLength);
        return m_str.data();
    }
    char* GetBufferSetLength(int nNewLength) {
        m_str.resize(nNewLength > 0 ? nNewLength : 0);
        return m_str.data();
    }
    // -1: the length runs up to the first zero byte.
    void ReleaseBuffer(int nNewLength = -1) {
        if (nNewLength < 0)
            nNewLength = static_cast<int>(strnlen(m_str.c_str(), m_str.size()));
        m_str.resize(nNewLength);
    }

    void Format(const char* pszFormat, ...);
    void FormatV(const char* pszFormat, va_list args);
    BOOL LoadString(UINT nID);

    // Platform ANSI case mappings, so that the results follow the system code page.
    CString& MakeLower() {
        if (!m_str.empty())
            CharLowerBuffA(m_str.data(), static_cast<DWORD>(m_str.size()));
        return *this;
    }
    CString& MakeUpper() {
        if (!m_str.empty())
            CharUpperBuffA(m_str.data(), static_cast<DWORD>(m_str.size()));
        return *this;
    }

    int Find(char ch, int nStart = 0) const { return ToIndex(m_str.find(ch, nStart)); }
    int Find(const char* psz, int nStart = 0) const { return ToIndex(m_str.find(psz, nStart)); }
    int ReverseFind(char ch) const { return ToIndex(m_str.rfind(ch)); }
    CString Left(int n) const { return CString(m_str.substr(0, Clamp(n))); }
    CString Right(int n) const {
        n = Clamp(n);
        return CString(m_str.substr(m_str.size() - n));
    }
    CString Mid(int nFirst) const { return CString(m_str.substr(Clamp(nFirst))); }
    CString Mid(int nFirst, int nCount) const {
        nFirst = Clamp(nFirst);
        return CString(m_str.substr(nFirst, nCount < 0 ? 0 : nCount));
    }
    int Replace(const char* pszOld, const char* pszNew);

private:
    static int ToIndex(std::string::size_type pos) {
        return pos == std::string::npos ? -1 : static_cast<int>(pos);
    }
    int Clamp(int n) const { return n < 0 ? 0 : (n > GetLength() ? GetLength() : n); }

    std::string m_str;
};
