#include "core/UIStringMap.h"

#include <cstdlib>

namespace Lomar {

CUIStringMap::CUIStringMap(int bucket_count) : m_buckets(nullptr), m_bucket_count(0), m_count(0)
{
    if (bucket_count < kMinBuckets) bucket_count = kMinBuckets;
    resize(bucket_count);
}

CUIStringMap::~CUIStringMap()
{
    free_all();
    free(m_buckets);
}

// Walks the key from its last code unit to its first: hash = hash * 33 + unit (unsigned 32-bit).
unsigned CUIStringMap::hash_key(const wchar_t* key)
{
    if (key == nullptr) return 0;
    const wchar_t* end = key;
    while (*end) ++end;
    unsigned hash = 0;
    while (end > key)
    {
        --end;
        hash = hash * 33u + (unsigned(*end) & 0xFFFFu);
    }
    return hash;
}

void CUIStringMap::free_all()
{
    for (int b = 0; b < m_bucket_count; ++b)
    {
        Item* item = m_buckets[b];
        while (item)
        {
            Item* next = item->next;
            delete item;
            item = next;
        }
        m_buckets[b] = nullptr;
    }
    m_count = 0;
}

void CUIStringMap::resize(int bucket_count)
{
    free_all();
    free(m_buckets);
    m_buckets = nullptr;
    m_bucket_count = 0;
    if (bucket_count < 0) bucket_count = 0;
    if (bucket_count > 0)
    {
        m_buckets = static_cast<Item**>(calloc(size_t(bucket_count), sizeof(Item*)));
        if (m_buckets) m_bucket_count = bucket_count;
    }
}

CUIStringMap::Item* CUIStringMap::find_item(const wchar_t* key, unsigned bucket) const
{
    for (Item* item = m_buckets[bucket]; item; item = item->next)
        if (item->key.compare(key) == 0) return item;
    return nullptr;
}

void* CUIStringMap::find(const wchar_t* key, bool move_to_front)
{
    if (m_bucket_count == 0 || m_count == 0) return nullptr;
    unsigned bucket = hash_key(key) % unsigned(m_bucket_count);
    Item* item = find_item(key, bucket);
    if (item == nullptr) return nullptr;
    if (move_to_front && item != m_buckets[bucket])
    {
        item->prev->next = item->next;
        if (item->next) item->next->prev = item->prev;
        item->prev = nullptr;
        item->next = m_buckets[bucket];
        m_buckets[bucket]->prev = item;
        m_buckets[bucket] = item;
    }
    return item->data;
}

bool CUIStringMap::insert(const wchar_t* key, void* data)
{
    if (m_bucket_count == 0) return false;
    unsigned bucket = hash_key(key) % unsigned(m_bucket_count);
    if (find_item(key, bucket)) return false;
    Item* item = new Item{CUIString(key), data, nullptr, m_buckets[bucket]};
    if (m_buckets[bucket]) m_buckets[bucket]->prev = item;
    m_buckets[bucket] = item;
    ++m_count;
    return true;
}

void* CUIStringMap::set(const wchar_t* key, void* data)
{
    if (m_bucket_count == 0) return data;
    unsigned bucket = hash_key(key) % unsigned(m_bucket_count);
    if (Item* item = find_item(key, bucket))
    {
        void* old = item->data;
        item->data = data;
        return old;
    }
    insert(key, data);
    return nullptr;
}

bool CUIStringMap::remove(const wchar_t* key)
{
    if (m_bucket_count == 0 || m_count == 0) return false;
    unsigned bucket = hash_key(key) % unsigned(m_bucket_count);
    Item* item = find_item(key, bucket);
    if (item == nullptr) return false;
    if (item->prev) item->prev->next = item->next;
    else m_buckets[bucket] = item->next;
    if (item->next) item->next->prev = item->prev;
    delete item;
    --m_count;
    return true;
}

const wchar_t* CUIStringMap::get_at(int index) const
{
    if (index < 0 || index >= m_count) return nullptr;
    int seen = 0;
    for (int b = m_bucket_count - 1; b >= 0; --b)
        for (Item* item = m_buckets[b]; item; item = item->next)
        {
            if (seen == index) return item->key.data();
            ++seen;
        }
    return nullptr;
}

} // namespace Lomar
