// Tile layouts: columns from the item width, cells sharing the width, rows as
// tall as their tallest member, children centred in their cells.
#include <gtest/gtest.h>

#include "varnelui/control/UITileLayout.h"

#include "support/TestHelpers.h"

using namespace VarnelUI;
using VarnelTest::SameRect;
using VarnelTest::Str;

namespace {

CControlUI* Tile(CTileLayoutUI& tiles, int cx, int cy)
{
    auto* pControl = new CControlUI;
    pControl->SetFixedWidth(cx);
    pControl->SetFixedHeight(cy);
    tiles.Add(pControl);
    return pControl;
}

} // namespace

TEST(TileLayout, ColumnsFollowTheItemWidthAndChildrenSitCentredInTheirCells)
{
    CTileLayoutUI tiles;
    tiles.SetAttribute(L"itemsize", L"100,0");
    CControlUI* wide = Tile(tiles, 100, 40);
    CControlUI* small = Tile(tiles, 60, 20);
    CControlUI* tall = Tile(tiles, 100, 50);
    CControlUI* next = Tile(tiles, 0, 30); // fills its cell's width

    tiles.SetPos(RECT{0, 0, 300, 400});
    EXPECT_EQ(tiles.GetColumns(), 3);
    // The first row is 50 high, as its tallest member.
    EXPECT_TRUE(SameRect(wide->GetPos(), RECT{0, 5, 100, 45})) << Str(wide->GetPos());
    EXPECT_TRUE(SameRect(small->GetPos(), RECT{120, 15, 180, 35})) << Str(small->GetPos());
    EXPECT_TRUE(SameRect(tall->GetPos(), RECT{200, 0, 300, 50})) << Str(tall->GetPos());
    EXPECT_TRUE(SameRect(next->GetPos(), RECT{0, 50, 100, 80})) << Str(next->GetPos());

    tiles.SetPos(RECT{0, 0, 250, 400});
    EXPECT_EQ(tiles.GetColumns(), 2);
    EXPECT_TRUE(SameRect(wide->GetPos(), RECT{12, 0, 112, 40})) << Str(wide->GetPos());
    EXPECT_TRUE(SameRect(small->GetPos(), RECT{157, 10, 217, 30})) << Str(small->GetPos());
    EXPECT_TRUE(SameRect(next->GetPos(), RECT{125, 50, 250, 80})) << Str(next->GetPos());

    // Fixed columns hold while no item width is set; the gap is split between cells.
    tiles.SetItemSize(SIZE{0, 0});
    tiles.SetAttribute(L"columns", L"4");
    tiles.SetChildPadding(10);
    tiles.SetPos(RECT{0, 0, 400, 400});
    EXPECT_EQ(tiles.GetColumns(), 4);
    EXPECT_TRUE(SameRect(next->GetPos(), RECT{305, 10, 400, 40})) << Str(next->GetPos());
}
