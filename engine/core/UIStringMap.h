// CUIStringMap: a string-keyed hash map of untyped pointers with per-bucket chains.
// Lookups move the hit to the head of its chain. The map owns its items and keys,
// never the data pointers.
#pragma once

#include "core/UIString.h"

namespace Lomar {

class CUIStringMap
{
public:
    enum { kDefaultBuckets = 83, kMinBuckets = 16 };

    explicit CUIStringMap(int bucket_count = kDefaultBuckets);
    ~CUIStringMap();
    CUIStringMap(const CUIStringMap&) = delete;
    CUIStringMap& operator=(const CUIStringMap&) = delete;

    void resize(int bucket_count);
    void* find(const wchar_t* key, bool move_to_front = true);
    bool insert(const wchar_t* key, void* data);
    void* set(const wchar_t* key, void* data);
    bool remove(const wchar_t* key);
    int get_size() const { return m_count; }
    const wchar_t* get_at(int index) const;
    void remove_all() { resize(m_bucket_count); }
    int bucket_count() const { return m_bucket_count; }

    static unsigned hash_key(const wchar_t* key);

private:
    struct Item
    {
        CUIString key;
        void* data;
        Item* prev;
        Item* next;
    };

    void free_all();
    Item* find_item(const wchar_t* key, unsigned bucket) const;

    Item** m_buckets;    // one chain head per bucket; null when there are no buckets
    int m_bucket_count;  // number of chain heads
    int m_count;         // items stored
};

} // namespace Lomar
