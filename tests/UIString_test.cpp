#include "varnelui/core/UIString.h"

#include <gtest/gtest.h>

#include <malloc.h>
#include <string>

using VarnelUI::CUIString;
using VarnelUI::STRINGorID;

namespace {

bool HeldInline(const CUIString& s)
{
    const auto* data = reinterpret_cast<const char*>(s.GetData());
    const auto* self = reinterpret_cast<const char*>(&s);
    return data >= self && data < self + sizeof(s);
}

std::wstring Units(int n, wchar_t ch = L'x')
{
    return std::wstring(static_cast<size_t>(n), ch);
}

const wchar_t* const kNullText = nullptr;
const char* const kNullAnsi = nullptr;

} // namespace

TEST(UIStringStorage, SixtyTwoUnitsStayInlineAndSixtyThreeGoToAnExactHeapBlock)
{
    CUIString s(Units(62).c_str());
    EXPECT_TRUE(HeldInline(s));
    EXPECT_EQ(62, s.GetLength());

    s += L"y";
    ASSERT_FALSE(HeldInline(s));
    EXPECT_EQ(63, s.GetLength());
    EXPECT_EQ(64 * sizeof(wchar_t), _msize(const_cast<wchar_t*>(s.GetData())));
    EXPECT_EQ(Units(62) + L"y", std::wstring(s.GetData()));

    s = L"0123456789";
    EXPECT_TRUE(HeldInline(s));
    EXPECT_EQ(L"0123456789", std::wstring(s.GetData()));

    CUIString assigned;
    assigned.Assign(Units(63).c_str());
    EXPECT_FALSE(HeldInline(assigned));
    assigned.Assign(Units(62).c_str());
    EXPECT_TRUE(HeldInline(assigned));
}

TEST(UIStringStorage, AppendShrinkingBackBelowTheBoundaryReturnsInline)
{
    CUIString s(Units(100).c_str());
    s.SetAt(5, L'\0');
    EXPECT_EQ(5, s.GetLength());
    s.Append(L"abc");
    EXPECT_TRUE(HeldInline(s));
    EXPECT_EQ(L"xxxxxabc", std::wstring(s.GetData()));
}

TEST(UIStringStorage, SetAtNulOnHeapTextShortensAndAppendKeepsThePrefix)
{
    CUIString s(Units(80, L'a').c_str());
    s.SetAt(70, L'\0');
    EXPECT_EQ(70, s.GetLength());
    s.Append(L"tail");
    EXPECT_EQ(74, s.GetLength());
    EXPECT_EQ(Units(70, L'a') + L"tail", std::wstring(s.GetData()));
}

TEST(UIStringStorage, CopiesAreIndependent)
{
    CUIString a(Units(70).c_str());
    CUIString b(a);
    b.SetAt(0, L'Q');
    EXPECT_EQ(L'x', a[0]);
    EXPECT_EQ(L'Q', b.GetAt(0));
    EXPECT_NE(a.GetData(), b.GetData());
}

TEST(UIStringAssign, LengthArgumentTakesExactlyThatManyUnitsAndStopsAtNul)
{
    CUIString s;
    s.Assign(L"abcdef", 3);
    EXPECT_EQ(L"abc", std::wstring(s.GetData()));
    s.Assign(L"ab", 10);
    EXPECT_EQ(2, s.GetLength());
    EXPECT_EQ(L"ab", std::wstring(s.GetData()));
    s.Assign(L"abc", 0);
    EXPECT_TRUE(s.IsEmpty());
    EXPECT_EQ(L"de", std::wstring(CUIString(L"defg", 2).GetData()));
}

TEST(UIStringAssign, NullTextsGiveTheEmptyStringAndAppendNothing)
{
    CUIString s(L"abc");
    s.Assign(kNullText);
    EXPECT_TRUE(s.IsEmpty());

    s = L"abc";
    s = kNullText;
    EXPECT_TRUE(s.IsEmpty());

    s = L"abc";
    s = kNullAnsi;
    EXPECT_TRUE(s.IsEmpty());

    s = L"abc";
    s += kNullText;
    s += kNullAnsi;
    EXPECT_EQ(L"abc", std::wstring(s.GetData()));
    EXPECT_EQ(L"abc", std::wstring((s + kNullText).GetData()));

    s = L'z';
    EXPECT_EQ(L"z", std::wstring(s.GetData()));
    s += L'!';
    EXPECT_EQ(L"z!", std::wstring(s.GetData()));
}

TEST(UIStringAssign, SourcesInsideTheStringItselfSurviveReallocation)
{
    CUIString s(Units(70, L'a').c_str());
    s += s;
    EXPECT_EQ(Units(140, L'a'), std::wstring(s.GetData()));

    CUIString t((Units(60, L'b') + Units(40, L'c')).c_str());
    t.Assign(t.GetData() + 60); // heap text to inline text from its own tail
    EXPECT_EQ(Units(40, L'c'), std::wstring(t.GetData()));

    CUIString u((Units(10, L'd') + Units(70, L'e')).c_str());
    u.Assign(u.GetData() + 10, 65);
    EXPECT_EQ(Units(65, L'e'), std::wstring(u.GetData()));
}

TEST(UIStringAnsi, NarrowTextIsConvertedWithTheAnsiCodePage)
{
    CUIString s;
    s = "plain";
    EXPECT_EQ(L"plain", std::wstring(s.GetData()));
    s += " text";
    EXPECT_EQ(L"plain text", std::wstring(s.GetData()));

    switch (GetACP()) {
    case 1252:
        s = "caf\xE9";
        EXPECT_EQ(L"caf\u00E9", std::wstring(s.GetData()));
        break;
    case 936:
        s = "\xC4\xE3\xBA\xC3";
        EXPECT_EQ(L"\u4F60\u597D", std::wstring(s.GetData()));
        break;
    default:
        ADD_FAILURE() << "no expectation for code page " << GetACP()
                      << "; the test session sets the locale that gives 1252";
    }
}

TEST(UIStringCompare, OrdinalAndAsciiOnlyCaseFolding)
{
    CUIString s(L"ABC");
    EXPECT_EQ(0, s.CompareNoCase(L"abc"));
    EXPECT_NE(0, s.Compare(L"abc"));
    EXPECT_LT(s.Compare(L"abc"), 0); // 'A' < 'a' by unit value
    EXPECT_NE(0, CUIString(L"\u00C4").CompareNoCase(L"\u00E4"));
    EXPECT_LT(CUIString(L"ab").CompareNoCase(L"ABC"), 0);
    EXPECT_EQ(0, CUIString().Compare(kNullText));

    EXPECT_TRUE(s == L"ABC");
    EXPECT_TRUE(L"ABC" == s); // texts, not pointers
    EXPECT_TRUE(s != L"ABD");
    EXPECT_TRUE(s < L"ABD");
    EXPECT_TRUE(s <= L"ABC");
    EXPECT_TRUE(s > L"AB");
    EXPECT_TRUE(s >= L"ABC");
    EXPECT_FALSE(s > L"ABC");
    EXPECT_TRUE(s == CUIString(L"ABC"));
}

TEST(UIStringCompare, CaseMappingTouchesAsciiLettersOnly)
{
    CUIString s(L"aZ\u00E4\u00C4 1-");
    s.MakeUpper();
    EXPECT_EQ(L"AZ\u00E4\u00C4 1-", std::wstring(s.GetData()));
    s.MakeLower();
    EXPECT_EQ(L"az\u00E4\u00C4 1-", std::wstring(s.GetData()));
}

TEST(UIStringSearch, PositionRulesDifferForTextAndCharacter)
{
    const CUIString s(L"abcabc");
    EXPECT_EQ(6, s.Find(L"", 6));
    EXPECT_EQ(-1, s.Find(L'a', 6));
    EXPECT_EQ(-1, s.Find(L"", 7));
    EXPECT_EQ(-1, s.Find(L'a', 7));
    EXPECT_EQ(-1, s.Find(L"a", -1));
    EXPECT_EQ(-1, s.Find(L'a', -1));

    EXPECT_EQ(1, s.Find(L"bc"));
    EXPECT_EQ(4, s.Find(L"bc", 2));
    EXPECT_EQ(3, s.Find(L'a', 1));
    EXPECT_EQ(-1, s.Find(L"cab", 3));
    EXPECT_EQ(5, s.ReverseFind(L'c'));
    EXPECT_EQ(-1, s.ReverseFind(L'z'));
    EXPECT_EQ(-1, s.Find(L'\0'));

    EXPECT_EQ(0, CUIString().Find(L""));
    EXPECT_EQ(-1, CUIString().Find(L'a'));
}

TEST(UIStringSlice, LeftMidRightClampToTheText)
{
    const CUIString s(L"abcdef");
    EXPECT_EQ(L"cdef", std::wstring(s.Mid(2).GetData()));
    EXPECT_EQ(L"cdef", std::wstring(s.Mid(2, 100).GetData()));
    EXPECT_EQ(L"cd", std::wstring(s.Mid(2, 2).GetData()));
    EXPECT_TRUE(s.Mid(10).IsEmpty());
    EXPECT_TRUE(s.Mid(6).IsEmpty());
    EXPECT_TRUE(s.Mid(2, 0).IsEmpty());
    EXPECT_EQ(L"ab", std::wstring(s.Mid(-5, 2).GetData()));
    EXPECT_EQ(L"abc", std::wstring(s.Left(3).GetData()));
    EXPECT_TRUE(s.Left(-3).IsEmpty());
    EXPECT_EQ(L"abcdef", std::wstring(s.Left(100).GetData()));
    EXPECT_EQ(L"ef", std::wstring(s.Right(2).GetData()));
    EXPECT_EQ(L"abcdef", std::wstring(s.Right(100).GetData()));
    EXPECT_TRUE(s.Right(-1).IsEmpty());
    EXPECT_EQ(L"cdef", std::wstring(s.Mid(2, 0x7fffffff).GetData()));
}

TEST(UIStringReplace, InsertedTextIsNeverRescanned)
{
    CUIString s(L"aXa");
    EXPECT_EQ(2, s.Replace(L"a", L"aa"));
    EXPECT_EQ(L"aaXaa", std::wstring(s.GetData()));

    CUIString overlap(L"aaa");
    EXPECT_EQ(1, overlap.Replace(L"aa", L"b"));
    EXPECT_EQ(L"ba", std::wstring(overlap.GetData()));

    CUIString removal(L"a-b-c");
    EXPECT_EQ(2, removal.Replace(L"-", L""));
    EXPECT_EQ(L"abc", std::wstring(removal.GetData()));

    CUIString absent(L"abc");
    EXPECT_EQ(0, absent.Replace(L"z", L"y"));
    EXPECT_EQ(0, absent.Replace(L"", L"y"));
    EXPECT_EQ(L"abc", std::wstring(absent.GetData()));
}

TEST(UIStringReplace, GrowingPastTheInlineBufferKeepsEveryPart)
{
    CUIString s(Units(40, L'.').c_str());
    EXPECT_EQ(40, s.Replace(L".", L"<>"));
    EXPECT_EQ(80, s.GetLength());
    EXPECT_EQ(0, s.Find(L"<><>"));
    EXPECT_EQ(-1, s.Find(L'.'));
    EXPECT_EQ(40, s.Replace(L"<>", L"!"));
    EXPECT_TRUE(HeldInline(s));
    EXPECT_EQ(Units(40, L'!'), std::wstring(s.GetData()));
}

TEST(UIStringFormat, WideConventionsAndNoLengthLimit)
{
    CUIString s;
    EXPECT_EQ(12, s.Format(L"%s=%d;%S", L"width", -42, "ok"));
    EXPECT_EQ(L"width=-42;ok", std::wstring(s.GetData()));

    const std::wstring big = Units(1500, L'q');
    EXPECT_EQ(1504, s.Format(L"[%s]%d", big.c_str(), 77));
    EXPECT_EQ(L"[" + big + L"]77", std::wstring(s.GetData()));

    // The string's own text as an argument.
    s.Format(L"<%s>", s.GetData());
    EXPECT_EQ(1506, s.GetLength());
    EXPECT_EQ(L'<', s[0]);
    EXPECT_EQ(L'[', s[1]);
}

TEST(UIStringFormat, SmallFormatUsesWindowsConventions)
{
    CUIString s;
    EXPECT_EQ(15, s.SmallFormat(L"%d,%d,%d,%d", 10, 20, -300, 4000));
    EXPECT_EQ(L"10,20,-300,4000", std::wstring(s.GetData()));

    EXPECT_EQ(9, s.SmallFormat(L"%s-%u", L"abcd", 1234u));
    EXPECT_EQ(L"abcd-1234", std::wstring(s.GetData()));

    // Longer than the usual short texts: kept whole, nothing overflows.
    const std::wstring longer = Units(200, L'w');
    EXPECT_EQ(200, s.SmallFormat(L"%s", longer.c_str()));
    EXPECT_EQ(longer, std::wstring(s.GetData()));
}

TEST(STRINGorIDTest, IdsKeepTheLowSixteenBitsTextsStayUnchanged)
{
    const STRINGorID id(101u);
    EXPECT_TRUE(id.IsId());
    EXPECT_EQ(101, id.GetId());
    EXPECT_EQ(MAKEINTRESOURCEW(101), id.m_lpstr);

    const STRINGorID wide(0x12345u);
    EXPECT_TRUE(wide.IsId());
    EXPECT_EQ(0x2345, wide.GetId());

    const wchar_t* text = L"login.xml";
    const STRINGorID name(text);
    EXPECT_FALSE(name.IsId());
    EXPECT_EQ(text, name.m_lpstr);
}
