// The reference-counting base of network items and of the objects they share across threads.
#pragma once

#include <windows.h>

class CRef {
public:
    CRef() = default;
    CRef(const CRef&) = delete;
    CRef& operator=(const CRef&) = delete;
    virtual ~CRef() = default;

    // Interlocked: listing threads drop references too (an abandoned listing frees its result on
    // its own thread).
    LONG AddRef() { return InterlockedIncrement(&m_nRef); }
    LONG Release();

    volatile LONG m_nRef = 1;
};
