#include "core/UIPtrArray.h"
#include "core/UIRect.h"
#include "core/UIStringMap.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace Lomar;

namespace {
int slots[64];
void* P(int i) { return &slots[i]; }
} // namespace

TEST(UIPtrArray, GrowsTo11ThenDoubles)
{
    CUIPtrArray a;
    EXPECT_EQ(0, a.capacity());
    EXPECT_EQ(nullptr, a.data());
    ASSERT_TRUE(a.add(P(0)));
    EXPECT_EQ(11, a.capacity());
    for (int i = 1; i < 10; ++i) a.add(P(i));
    EXPECT_EQ(11, a.capacity());
    a.add(P(10));  // the eleventh element
    EXPECT_EQ(22, a.capacity());
    EXPECT_EQ(11, a.size());
    for (int i = 0; i < 11; ++i) EXPECT_EQ(P(i), a[i]);
}

TEST(UIPtrArray, InsertRemoveAndBounds)
{
    CUIPtrArray a;
    a.add(P(1));
    a.add(P(3));
    EXPECT_TRUE(a.insert_at(1, P(2)));
    EXPECT_TRUE(a.insert_at(0, P(0)));
    EXPECT_TRUE(a.insert_at(4, P(4)));  // at the count: same as add
    EXPECT_FALSE(a.insert_at(6, P(9)));
    EXPECT_FALSE(a.insert_at(-1, P(9)));
    ASSERT_EQ(5, a.size());
    for (int i = 0; i < 5; ++i) EXPECT_EQ(P(i), a.get_at(i));
    EXPECT_EQ(nullptr, a.get_at(5));
    EXPECT_EQ(nullptr, a.get_at(-1));
    EXPECT_EQ(2, a.find(P(2)));
    EXPECT_EQ(-1, a.find(P(7)));
    EXPECT_TRUE(a.remove(0));
    EXPECT_FALSE(a.remove(4));
    EXPECT_FALSE(a.set_at(4, P(0)));
    EXPECT_TRUE(a.set_at(3, P(9)));
    EXPECT_EQ(P(1), a[0]);
    EXPECT_EQ(P(9), a[3]);

    CUIPtrArray copy(a);
    EXPECT_EQ(a.size(), copy.size());
    EXPECT_EQ(a[2], copy[2]);

    a.resize(5);
    EXPECT_EQ(5, a.size());
    EXPECT_EQ(nullptr, a[4]);
    a.empty();
    EXPECT_TRUE(a.is_empty());
    EXPECT_EQ(0, a.capacity());
}

TEST(UIStringMap, HashWalksKeyBackwards)
{
    // "ab": start at 'b' then 'a': (0*33 + 'b')*33 + 'a'
    EXPECT_EQ((unsigned('b') * 33u) + unsigned('a'), CUIStringMap::hash_key(L"ab"));
    EXPECT_EQ(0u, CUIStringMap::hash_key(L""));
}

TEST(UIStringMap, InsertTwiceFailsSetReturnsOldCaseSensitiveKeys)
{
    CUIStringMap m;
    EXPECT_EQ(83, m.bucket_count());
    EXPECT_TRUE(m.insert(L"A", P(1)));
    EXPECT_FALSE(m.insert(L"A", P(2)));
    EXPECT_EQ(P(1), m.find(L"A"));
    EXPECT_TRUE(m.insert(L"a", P(3)));
    EXPECT_EQ(P(1), m.find(L"A"));
    EXPECT_EQ(P(3), m.find(L"a"));
    EXPECT_EQ(P(1), m.set(L"A", P(4)));
    EXPECT_EQ(P(4), m.find(L"A"));
    EXPECT_EQ(nullptr, m.set(L"new", P(5)));
    EXPECT_EQ(3, m.get_size());
    EXPECT_TRUE(m.remove(L"a"));
    EXPECT_FALSE(m.remove(L"a"));
    EXPECT_EQ(nullptr, m.find(L"a"));
    EXPECT_EQ(2, m.get_size());
    m.remove_all();
    EXPECT_EQ(0, m.get_size());
    EXPECT_EQ(83, m.bucket_count());
}

TEST(UIStringMap, SmallBucketCountsAndNoBuckets)
{
    CUIStringMap small(3);
    EXPECT_EQ(16, small.bucket_count());
    small.resize(0);
    EXPECT_FALSE(small.insert(L"k", P(1)));
    EXPECT_EQ(P(2), small.set(L"k", P(2)));  // nothing stored, the data comes back
    EXPECT_EQ(nullptr, small.find(L"k"));
    EXPECT_EQ(0, small.get_size());
}

TEST(UIStringMap, EnumerationVisitsEveryKeyOnceLastBucketFirstAndSurvivesMoveToFront)
{
    CUIStringMap m(16);
    std::set<std::wstring> keys;
    for (int i = 0; i < 60; ++i)
    {
        std::wstring k = L"key" + std::to_wstring(i);
        keys.insert(k);
        ASSERT_TRUE(m.insert(k.c_str(), P(i)));
    }
    // Shake the chains: move-to-front must keep every item reachable.
    for (int i = 0; i < 60; i += 7) EXPECT_EQ(P(i), m.find((L"key" + std::to_wstring(i)).c_str()));

    std::set<std::wstring> seen;
    unsigned previous_bucket = 16;
    for (int i = 0; i < m.get_size(); ++i)
    {
        const wchar_t* k = m.get_at(i);
        ASSERT_NE(nullptr, k);
        EXPECT_TRUE(seen.insert(k).second);
        unsigned bucket = CUIStringMap::hash_key(k) % 16u;
        EXPECT_LE(bucket, previous_bucket);  // buckets from the last to the first
        previous_bucket = bucket;
    }
    EXPECT_EQ(keys, seen);
    EXPECT_EQ(nullptr, m.get_at(60));
}

TEST(UIStringMap, LookupMovesHitToChainHead)
{
    CUIStringMap m(16);
    // Keys that share bucket 0 of 16: find them by brute force.
    std::wstring same[3];
    int found = 0;
    for (int i = 0; found < 3; ++i)
    {
        std::wstring k = L"n" + std::to_wstring(i);
        if (CUIStringMap::hash_key(k.c_str()) % 16u == 0) same[found++] = k;
    }
    for (int i = 0; i < 3; ++i) m.insert(same[i].c_str(), P(i));
    // The head of bucket 0 is the last inserted; enumeration shows chain order.
    EXPECT_EQ(same[2], m.get_at(0));
    m.find(same[0].c_str());
    EXPECT_EQ(same[0], m.get_at(0));
    m.find(same[1].c_str(), false);
    EXPECT_EQ(same[0], m.get_at(0));
}

TEST(UIRect, GeometryOperations)
{
    CUIRect r(10, 20, 110, 70);
    EXPECT_EQ(100, r.width());
    EXPECT_EQ(50, r.height());
    r.offset(5, -5);
    EXPECT_EQ(CUIRect(15, 15, 115, 65), r);
    r.inflate(2, 3);
    EXPECT_EQ(CUIRect(13, 12, 117, 68), r);
    r.deflate(2, 3);
    EXPECT_EQ(CUIRect(15, 15, 115, 65), r);
    r.reset_offset();
    EXPECT_EQ(CUIRect(0, 0, 100, 50), r);
    CUIRect j(5, 5, 6, 6);
    j.join(CUIRect());  // no emptiness test: the zero rectangle pulls left/top to 0
    EXPECT_EQ(CUIRect(0, 0, 6, 6), j);
    CUIRect n(10, 10, 0, 0);
    n.normalize();
    EXPECT_EQ(CUIRect(0, 0, 10, 10), n);
    EXPECT_TRUE(CUIRect().empty());
    EXPECT_FALSE(n.empty());
}
