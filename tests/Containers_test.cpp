#include "varnelui/core/StdPtrArray.h"
#include "varnelui/core/StdStringPtrMap.h"
#include "varnelui/core/StdValArray.h"
#include "varnelui/core/UIRect.h"
#include "varnelui/core/WaitCursor.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <string>
#include <vector>

using namespace VarnelUI;

namespace {

LPVOID Ptr(uintptr_t n)
{
    return reinterpret_cast<LPVOID>(n);
}

std::vector<std::wstring> IterationOrder(const CStdStringPtrMap& map)
{
    std::vector<std::wstring> keys;
    for (int i = 0; i < map.GetSize(); ++i) keys.emplace_back(map.GetAt(i));
    return keys;
}

using Keys = std::vector<std::wstring>;

} // namespace

// ---- CStdPtrArray ---------------------------------------------------------

TEST(StdPtrArray, GrowsToElevenThenDoublesOnTheEleventhAdd)
{
    CStdPtrArray a;
    EXPECT_EQ(nullptr, a.GetData());
    ASSERT_TRUE(a.Add(Ptr(1)));
    EXPECT_EQ(11 * sizeof(LPVOID), _msize(a.GetData()));
    for (uintptr_t i = 2; i <= 10; ++i) ASSERT_TRUE(a.Add(Ptr(i)));
    EXPECT_EQ(11 * sizeof(LPVOID), _msize(a.GetData()));
    ASSERT_TRUE(a.Add(Ptr(11)));
    EXPECT_EQ(22 * sizeof(LPVOID), _msize(a.GetData()));
    ASSERT_EQ(11, a.GetSize());
    for (int i = 0; i < 11; ++i) EXPECT_EQ(Ptr(static_cast<uintptr_t>(i) + 1), a[i]);
}

TEST(StdPtrArray, InsertRemoveAndSetKeepOrderAndCheckRanges)
{
    CStdPtrArray a;
    EXPECT_TRUE(a.InsertAt(0, Ptr(3)));  // index == size behaves as Add
    EXPECT_FALSE(a.InsertAt(2, Ptr(9))); // size + 1
    EXPECT_FALSE(a.InsertAt(-1, Ptr(9)));
    EXPECT_TRUE(a.InsertAt(0, Ptr(1)));
    EXPECT_TRUE(a.InsertAt(1, Ptr(2)));
    EXPECT_TRUE(a.InsertAt(3, Ptr(4)));
    ASSERT_EQ(4, a.GetSize());
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Ptr(static_cast<uintptr_t>(i) + 1), a.GetAt(i));

    EXPECT_EQ(2, a.Find(Ptr(3)));
    EXPECT_EQ(-1, a.Find(Ptr(42)));
    EXPECT_EQ(nullptr, a.GetAt(4));
    EXPECT_EQ(nullptr, a.GetAt(-1));
    EXPECT_FALSE(a.SetAt(4, Ptr(5)));
    EXPECT_TRUE(a.SetAt(3, Ptr(5)));

    EXPECT_FALSE(a.Remove(4));
    EXPECT_FALSE(a.Remove(-1));
    EXPECT_TRUE(a.Remove(1));
    ASSERT_EQ(3, a.GetSize());
    EXPECT_EQ(Ptr(1), a[0]);
    EXPECT_EQ(Ptr(3), a[1]);
    EXPECT_EQ(Ptr(5), a[2]);
    EXPECT_TRUE(a.Remove(2));
    EXPECT_TRUE(a.Remove(0));
    EXPECT_TRUE(a.Remove(0));
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_NE(nullptr, a.GetData()); // removal never shrinks
}

TEST(StdPtrArray, EmptyReleasesResizeFillsWithNullCopyIsIndependent)
{
    CStdPtrArray a(4);
    EXPECT_EQ(4 * sizeof(LPVOID), _msize(a.GetData()));
    EXPECT_EQ(0, a.GetSize());
    a.Add(Ptr(7));
    a.Add(Ptr(8));

    CStdPtrArray copy(a);
    copy.SetAt(0, Ptr(70));
    EXPECT_EQ(Ptr(7), a[0]);
    EXPECT_EQ(2, copy.GetSize());
    EXPECT_EQ(Ptr(8), copy[1]);

    a.Empty();
    EXPECT_EQ(nullptr, a.GetData());
    EXPECT_EQ(0, a.GetSize());
    EXPECT_TRUE(a.Add(Ptr(1)));

    a.Resize(5);
    ASSERT_EQ(5, a.GetSize());
    for (int i = 0; i < 5; ++i) EXPECT_EQ(nullptr, a[i]);
    // Full after Resize: the next Add doubles.
    EXPECT_TRUE(a.Add(Ptr(6)));
    EXPECT_EQ(10 * sizeof(LPVOID), _msize(a.GetData()));
    EXPECT_EQ(Ptr(6), a[5]);

    a.Resize(0);
    EXPECT_EQ(0, a.GetSize());
    EXPECT_EQ(nullptr, a.GetData());
}

// ---- CStdValArray ---------------------------------------------------------

TEST(StdValArray, StoresCopiesOfElementsAndKeepsOrderOnRemove)
{
    CStdValArray a(sizeof(RECT));
    for (LONG i = 0; i < 12; ++i) {
        RECT rc = {i, i * 10, i * 100, i * 1000};
        ASSERT_TRUE(a.Add(&rc));
        rc.left = -1; // the array holds its own copy
    }
    EXPECT_EQ(22 * sizeof(RECT), _msize(a.GetData()));
    ASSERT_EQ(12, a.GetSize());
    EXPECT_EQ(500, static_cast<RECT*>(a.GetAt(5))->right);

    EXPECT_FALSE(a.Remove(12));
    EXPECT_FALSE(a.Remove(-1));
    EXPECT_TRUE(a.Remove(0));
    ASSERT_EQ(11, a.GetSize());
    for (int i = 0; i < 11; ++i) EXPECT_EQ(i + 1, static_cast<RECT*>(a[i])->left);
    EXPECT_EQ(nullptr, a.GetAt(11));
    EXPECT_EQ(nullptr, a.GetAt(-1));
}

TEST(StdValArray, EmptyKeepsTheBlock)
{
    CStdValArray a(sizeof(int), 3);
    const int values[] = {1, 2, 3, 4};
    for (const int& v : values) a.Add(&v);
    void* block = a.GetData();
    a.Empty();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(block, a.GetData());
    EXPECT_EQ(nullptr, a.GetAt(0));
    a.Add(&values[3]);
    EXPECT_EQ(block, a.GetData());
    EXPECT_EQ(4, *static_cast<int*>(a.GetAt(0)));
}

// ---- CStdStringPtrMap -----------------------------------------------------

// "Window" hashes to bucket 64 of 83, "name" to 49, "ab" to 11; buckets are
// visited from the highest index down, whatever the insertion order.
TEST(StdStringPtrMap, IterationFollowsTheHashBuckets)
{
    CStdStringPtrMap map;
    EXPECT_TRUE(map.Insert(L"ab", Ptr(1)));
    EXPECT_TRUE(map.Insert(L"Window", Ptr(2)));
    EXPECT_TRUE(map.Insert(L"name", Ptr(3)));
    EXPECT_EQ((Keys{L"Window", L"name", L"ab"}), IterationOrder(map));
    EXPECT_EQ(Ptr(2), map.Find(L"Window"));
    EXPECT_EQ(nullptr, map.Find(L"window")); // case-sensitive
    EXPECT_EQ(nullptr, map.GetAt(3));
    EXPECT_EQ(nullptr, map.GetAt(-1));
    EXPECT_STREQ(L"name", map[1]);
}

// "ab", "bg" and "cl" share bucket 11 of 83.
TEST(StdStringPtrMap, FindMovesHitsToTheFrontOfTheirChain)
{
    CStdStringPtrMap map;
    map.Insert(L"ab", Ptr(1));
    map.Insert(L"bg", Ptr(2));
    map.Insert(L"cl", Ptr(3));
    EXPECT_EQ((Keys{L"cl", L"bg", L"ab"}), IterationOrder(map));

    EXPECT_EQ(Ptr(1), map.Find(L"ab", false));
    EXPECT_EQ((Keys{L"cl", L"bg", L"ab"}), IterationOrder(map));

    EXPECT_EQ(Ptr(1), map.Find(L"ab"));
    EXPECT_EQ((Keys{L"ab", L"cl", L"bg"}), IterationOrder(map));
    EXPECT_EQ(Ptr(3), map.Find(L"cl"));
    EXPECT_EQ((Keys{L"cl", L"ab", L"bg"}), IterationOrder(map));

    // Set replaces in place without reordering.
    EXPECT_EQ(Ptr(2), map.Set(L"bg", Ptr(20)));
    EXPECT_EQ((Keys{L"cl", L"ab", L"bg"}), IterationOrder(map));
    EXPECT_EQ(Ptr(20), map.Find(L"bg"));
}

TEST(StdStringPtrMap, RemoveUnlinksHeadsMiddlesAndTails)
{
    CStdStringPtrMap map;
    for (const wchar_t* key : {L"ab", L"bg", L"cl", L"dq", L"x"}) map.Insert(key, Ptr(wcslen(key)));
    // Chain of bucket 11: dq, cl, bg, ab.
    EXPECT_TRUE(map.Remove(L"cl"));
    EXPECT_TRUE(map.Remove(L"dq"));
    EXPECT_TRUE(map.Remove(L"ab"));
    EXPECT_FALSE(map.Remove(L"ab"));
    EXPECT_FALSE(map.Remove(L"zz"));
    EXPECT_EQ(2, map.GetSize());
    EXPECT_EQ((Keys{L"x", L"bg"}), IterationOrder(map));

    // A key taken from the map itself.
    EXPECT_TRUE(map.Remove(map.GetAt(0)));
    EXPECT_EQ((Keys{L"bg"}), IterationOrder(map));
    EXPECT_EQ(Ptr(2), map.Find(L"bg"));
}

TEST(StdStringPtrMap, InsertKeepsTheFirstValueAndSetReportsThePrevious)
{
    CStdStringPtrMap map;
    EXPECT_TRUE(map.Insert(L"k", Ptr(1)));
    EXPECT_FALSE(map.Insert(L"k", Ptr(2)));
    EXPECT_EQ(Ptr(1), map.Find(L"k"));
    EXPECT_EQ(Ptr(1), map.Set(L"k", Ptr(3)));
    EXPECT_EQ(Ptr(3), map.Find(L"k"));
    EXPECT_EQ(nullptr, map.Set(L"new", Ptr(4)));
    EXPECT_EQ(2, map.GetSize());

    // A key stored with null data is still present.
    EXPECT_TRUE(map.Insert(L"none", nullptr));
    EXPECT_FALSE(map.Insert(L"none", Ptr(5)));
    EXPECT_EQ(3, map.GetSize());
}

TEST(StdStringPtrMap, SmallBucketCountsAreRaisedToSixteen)
{
    // Buckets of "y"/"Window": 9/8 of 16, but 1/4 of 5 and 38/64 of 83.
    CStdStringPtrMap map(5);
    map.Insert(L"Window", Ptr(1));
    map.Insert(L"y", Ptr(2));
    EXPECT_EQ((Keys{L"y", L"Window"}), IterationOrder(map));
}

TEST(StdStringPtrMap, WithoutBucketsNothingIsStored)
{
    CStdStringPtrMap map;
    map.Insert(L"a", Ptr(1));
    map.Resize(0);
    EXPECT_EQ(0, map.GetSize());
    EXPECT_FALSE(map.Insert(L"a", Ptr(1)));
    EXPECT_EQ(Ptr(7), map.Set(L"a", Ptr(7)));
    EXPECT_EQ(nullptr, map.Find(L"a"));
    EXPECT_FALSE(map.Remove(L"a"));
    EXPECT_EQ(nullptr, map.GetAt(0));

    map.Resize(3); // no minimum here
    EXPECT_TRUE(map.Insert(L"a", Ptr(1)));
    map.RemoveAll();
    EXPECT_EQ(0, map.GetSize());
    EXPECT_TRUE(map.Insert(L"a", Ptr(2)));
    EXPECT_EQ(Ptr(2), map.Find(L"a"));
}

// ---- geometry ---------------------------------------------------------------

TEST(Geometry, RectOperations)
{
    CUIRect rc(10, 20, 40, 60);
    EXPECT_EQ(30, rc.GetWidth());
    EXPECT_EQ(40, rc.GetHeight());

    rc.Inflate(2, 3);
    EXPECT_EQ(8, rc.left);
    EXPECT_EQ(17, rc.top);
    EXPECT_EQ(42, rc.right);
    EXPECT_EQ(63, rc.bottom);
    rc.Deflate(2, 3);
    rc.Offset(-10, 5);
    EXPECT_EQ(0, rc.left);
    EXPECT_EQ(25, rc.top);
    rc.ResetOffset();
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(30, rc.right);
    EXPECT_EQ(40, rc.bottom);

    CUIRect flipped(50, 40, 10, 5);
    flipped.Normalize();
    EXPECT_EQ(10, flipped.left);
    EXPECT_EQ(5, flipped.top);
    EXPECT_EQ(50, flipped.right);
    EXPECT_EQ(40, flipped.bottom);

    EXPECT_FALSE(flipped.IsNull());
    flipped.Empty();
    EXPECT_TRUE(flipped.IsNull());
}

TEST(Geometry, JoinIncludesEmptyRectanglesUnionIgnoresThem)
{
    CUIRect joined(10, 10, 20, 20);
    joined.Join(CUIRect(0, 0, 0, 0));
    EXPECT_EQ(0, joined.left);
    EXPECT_EQ(20, joined.right);

    CUIRect unioned(10, 10, 20, 20);
    unioned.Union(CUIRect(0, 0, 0, 0));
    EXPECT_EQ(10, unioned.left);
    EXPECT_EQ(20, unioned.right);

    CUIRect empty(5, 5, 5, 9);
    empty.Union(CUIRect(1, 2, 3, 4));
    EXPECT_EQ(1, empty.left);
    EXPECT_EQ(4, empty.bottom);

    CUIRect bothEmpty(5, 5, 5, 9);
    bothEmpty.Union(CUIRect(7, 7, 3, 9));
    EXPECT_TRUE(bothEmpty.IsNull());

    CUIRect box(0, 0, 10, 10);
    box.Union(CUIRect(5, -5, 20, 3));
    EXPECT_EQ(-5, box.top);
    EXPECT_EQ(20, box.right);
    EXPECT_EQ(10, box.bottom);
}

TEST(Geometry, SizeAndPointConstruction)
{
    const CSize size(RECT{5, 6, 25, 16});
    EXPECT_EQ(20, size.cx);
    EXPECT_EQ(10, size.cy);

    const CPoint pt(static_cast<LPARAM>(0xFFFF0001));
    EXPECT_EQ(1, pt.x);
    EXPECT_EQ(-1, pt.y);
    const CPoint pt2(MAKELPARAM(-300, 700));
    EXPECT_EQ(-300, pt2.x);
    EXPECT_EQ(700, pt2.y);
}

TEST(WaitCursor, RestoresThePreviousCursor)
{
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(arrow);
    {
        const CWaitCursor wait;
        EXPECT_EQ(LoadCursorW(nullptr, IDC_WAIT), GetCursor());
    }
    EXPECT_EQ(arrow, GetCursor());
}
