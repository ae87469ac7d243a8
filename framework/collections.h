// Typed list and array templates with the classic framework's member names, over std::list and
// std::vector. A POSITION is the address of an element's node, stable while the element lives.
#pragma once

#include "framework/cstring.h"

#include <iterator>
#include <list>
#include <vector>

struct __POSITION {};
typedef __POSITION* POSITION;

template <class TYPE, class ARG_TYPE = const TYPE&> class CList {
public:
    explicit CList(int nBlockSize = 10) { (void)nBlockSize; }
    CList(const CList&) = delete;
    CList& operator=(const CList&) = delete;
    virtual ~CList() = default;

    int GetCount() const { return static_cast<int>(m_list.size()); }
    int GetSize() const { return GetCount(); }
    bool IsEmpty() const { return m_list.empty(); }

    TYPE& GetHead() { return m_list.front().value; }
    const TYPE& GetHead() const { return m_list.front().value; }
    TYPE& GetTail() { return m_list.back().value; }
    const TYPE& GetTail() const { return m_list.back().value; }

    POSITION AddHead(ARG_TYPE newElement) { return Insert(m_list.begin(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return Insert(m_list.end(), newElement); }
    POSITION InsertBefore(POSITION pos, ARG_TYPE newElement) {
        return Insert(pos ? Node(pos)->self : m_list.begin(), newElement);
    }
    POSITION InsertAfter(POSITION pos, ARG_TYPE newElement) {
        return Insert(pos ? std::next(Node(pos)->self) : m_list.end(), newElement);
    }

    TYPE RemoveHead() {
        TYPE value = m_list.front().value;
        m_list.pop_front();
        return value;
    }
    TYPE RemoveTail() {
        TYPE value = m_list.back().value;
        m_list.pop_back();
        return value;
    }
    void RemoveAt(POSITION pos) { m_list.erase(Node(pos)->self); }
    void RemoveAll() { m_list.clear(); }

    POSITION GetHeadPosition() const { return m_list.empty() ? nullptr : Pos(m_list.front()); }
    POSITION GetTailPosition() const { return m_list.empty() ? nullptr : Pos(m_list.back()); }
    // Returns the element at rPosition and advances rPosition to the next one (none at the end).
    TYPE& GetNext(POSITION& rPosition) const {
        Entry* e = Node(rPosition);
        auto next = std::next(e->self);
        rPosition = next == m_list.end() ? nullptr : Pos(*next);
        return e->value;
    }
    TYPE& GetPrev(POSITION& rPosition) const {
        Entry* e = Node(rPosition);
        rPosition = e->self == m_list.begin() ? nullptr : Pos(*std::prev(e->self));
        return e->value;
    }
    TYPE& GetAt(POSITION pos) const { return Node(pos)->value; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->value = newElement; }

    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
        auto it = startAfter ? std::next(Node(startAfter)->self) : m_list.begin();
        for (; it != m_list.end(); ++it)
            if (it->value == searchValue)
                return Pos(*it);
        return nullptr;
    }
    POSITION FindIndex(int nIndex) const {
        if (nIndex < 0 || nIndex >= GetCount())
            return nullptr;
        return Pos(*std::next(m_list.begin(), nIndex));
    }

private:
    struct Entry {
        TYPE value;
        typename std::list<Entry>::iterator self;
    };
    using Iter = typename std::list<Entry>::iterator;

    POSITION Insert(Iter where, ARG_TYPE value) {
        Iter it = m_list.insert(where, Entry{value, {}});
        it->self = it;
        return Pos(*it);
    }
    static POSITION Pos(const Entry& e) {
        return reinterpret_cast<POSITION>(const_cast<Entry*>(&e));
    }
    static Entry* Node(POSITION pos) { return reinterpret_cast<Entry*>(pos); }

    mutable std::list<Entry> m_list;
};

template <class TYPE, class ARG_TYPE = const TYPE&> class CArray {
public:
    CArray() = default;
    CArray(const CArray&) = delete;
    CArray& operator=(const CArray&) = delete;
    virtual ~CArray() = default;

    int GetSize() const { return static_cast<int>(m_data.size()); }
    int GetCount() const { return GetSize(); }
    int GetUpperBound() const { return GetSize() - 1; }
    bool IsEmpty() const { return m_data.empty(); }
    void SetSize(int nNewSize, int nGrowBy = -1) {
        (void)nGrowBy;
        m_data.resize(nNewSize < 0 ? 0 : nNewSize);
    }
    void RemoveAll() { m_data.clear(); }

    TYPE& operator[](int nIndex) { return m_data[nIndex]; }
    const TYPE& operator[](int nIndex) const { return m_data[nIndex]; }
    TYPE& ElementAt(int nIndex) { return m_data[nIndex]; }
    const TYPE& GetAt(int nIndex) const { return m_data[nIndex]; }
    void SetAt(int nIndex, ARG_TYPE newElement) { m_data[nIndex] = newElement; }
    TYPE* GetData() { return m_data.data(); }
    const TYPE* GetData() const { return m_data.data(); }

    int Add(ARG_TYPE newElement) {
        m_data.push_back(newElement);
        return GetSize() - 1;
    }
    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1) {
        m_data.insert(m_data.begin() + nIndex, nCount, newElement);
    }
    void RemoveAt(int nIndex, int nCount = 1) {
        m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
    }

    // For range-for and the standard algorithms.
    TYPE* begin() { return m_data.data(); }
    TYPE* end() { return m_data.data() + m_data.size(); }
    const TYPE* begin() const { return m_data.data(); }
    const TYPE* end() const { return m_data.data() + m_data.size(); }

private:
    std::vector<TYPE> m_data;
};

class CStringList : public CList<CString, const CString&> {
public:
    explicit CStringList(int nBlockSize = 10) : CList(nBlockSize) {}
};
