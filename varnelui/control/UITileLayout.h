#pragma once
// A container that arranges its children in a grid of equal-width columns,
// row by row, each child centred in its cell.

#include "varnelui/control/UIContainer.h"

namespace VarnelUI {

class VARNELUI_API CTileLayoutUI : public CContainerUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"TileLayout", L"TileLayoutUI", L"TileLayout"};

    CTileLayoutUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetPos(RECT rc) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;

    // ---- non-virtual ---------------------------------------------------------
    // With an item width set, the layout computes the columns itself.
    int GetColumns() const;
    // Values below 1 are ignored.
    void SetColumns(int nCols);
    // Only the width counts: as many columns as items of that width fit.
    SIZE GetItemSize() const;
    void SetItemSize(SIZE szItem);

protected:
    int m_nColumns;
    SIZE m_szItem;

private:
    // The height of the row that starts with child iFirst: its tallest
    // member's estimate plus that member's vertical padding.
    int MeasureRow(int iFirst, int cxCell) const;
};

} // namespace VarnelUI
