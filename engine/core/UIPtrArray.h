// CUIPtrArray: a growable array of untyped pointers; it never owns what they point to.
#pragma once

namespace Lomar {

class CUIPtrArray
{
public:
    explicit CUIPtrArray(int initial_capacity = 0);
    CUIPtrArray(const CUIPtrArray& other);
    CUIPtrArray& operator=(const CUIPtrArray& other);
    ~CUIPtrArray();

    bool add(void* p);
    bool insert_at(int index, void* p);
    bool set_at(int index, void* p);
    bool remove(int index);
    int find(const void* p) const;
    void* get_at(int index) const;
    void* operator[](int index) const { return m_data[index]; }
    int size() const { return m_count; }
    int capacity() const { return m_capacity; }
    bool is_empty() const { return m_count == 0; }
    void resize(int n);
    void empty();
    void** data() { return m_data; }

private:
    bool grow_for_one_more();

    void** m_data;   // element block, null when nothing was ever allocated
    int m_count;     // elements in use
    int m_capacity;  // slots allocated
};

} // namespace Lomar
