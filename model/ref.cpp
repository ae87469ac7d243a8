#include "model/ref.h"

LONG CRef::Release() {
    LONG n = InterlockedDecrement(&m_nRef);
    if (n <= 0)
        delete this;
    return n;
}
