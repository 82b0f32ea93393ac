#pragma once
// A scroll bar: an arrow button at each end, a thumb whose length shows the
// visible share of the range, and the rail between them. A container owns one
// per axis and the bar forwards its scrolling to it; a bar without an owner
// moves only its own position and reports "scroll".

#include "varnelui/control/UIControl.h"
#include "varnelui/control/UILayoutAxis.h"
#include "varnelui/core/UIEvents.h"

namespace VarnelUI {

class CContainerUI;

class VARNELUI_API CScrollBarUI : public CControlUI
{
public:
    // Skin element, GetClass and GetInterface names.
    static constexpr TControlNames kNames{L"ScrollBar", L"ScrollBarUI", L"ScrollBar"};
    // The local id of the timer that repeats presses and applies drags.
    static constexpr UINT kTimerId = 10;
    static constexpr UINT kTimerInterval = 50;
    // Presses repeat once the timer has ticked more often than this.
    static constexpr int kRepeatDelayTicks = 5;

    CScrollBarUI();

    LPCWSTR GetClass() const override;
    LPVOID GetInterface(LPCWSTR pstrName) override;

    void SetVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void SetFocus() override;
    void SetPos(RECT rc) override;
    void DoEvent(TEventUI& event) override;
    void SetAttribute(LPCWSTR pstrName, LPCWSTR pstrValue) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;

    CContainerUI* GetOwner() const { return m_pOwner; }
    void SetOwner(CContainerUI* pOwner) { m_pOwner = pOwner; }
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetHorizontal(bool bHorizontal = true);

    // The range is never negative and the position stays within 0..range.
    int GetScrollRange() const { return m_nRange; }
    void SetScrollRange(int nRange);
    int GetScrollPos() const { return m_nScrollPos; }
    void SetScrollPos(int nPos);
    int GetLineSize() const { return m_nLineSize; }
    void SetLineSize(int nSize) { m_nLineSize = nSize; }

    bool GetShowButton1() const { return m_button1.bShown; }
    void SetShowButton1(bool bShow);
    bool GetShowButton2() const { return m_button2.bShown; }
    void SetShowButton2(bool bShow);

    // The parts' rectangles in window coordinates, as the last SetPos made them.
    const RECT& GetButton1Rect() const { return m_button1.rc; }
    const RECT& GetButton2Rect() const { return m_button2.rc; }
    const RECT& GetThumbRect() const { return m_thumb.rc; }

    // Image descriptions per part and state; each setter repaints.
    LPCWSTR GetBkNormalImage() const { return m_bkImages.normal; }
    void SetBkNormalImage(LPCWSTR pStrImage) { SetImage(m_bkImages.normal, pStrImage); }
    LPCWSTR GetBkHotImage() const { return m_bkImages.hot; }
    void SetBkHotImage(LPCWSTR pStrImage) { SetImage(m_bkImages.hot, pStrImage); }
    LPCWSTR GetBkPushedImage() const { return m_bkImages.pushed; }
    void SetBkPushedImage(LPCWSTR pStrImage) { SetImage(m_bkImages.pushed, pStrImage); }
    LPCWSTR GetBkDisabledImage() const { return m_bkImages.disabled; }
    void SetBkDisabledImage(LPCWSTR pStrImage) { SetImage(m_bkImages.disabled, pStrImage); }

    LPCWSTR GetButton1NormalImage() const { return m_button1.images.normal; }
    void SetButton1NormalImage(LPCWSTR pStrImage) { SetImage(m_button1.images.normal, pStrImage); }
    LPCWSTR GetButton1HotImage() const { return m_button1.images.hot; }
    void SetButton1HotImage(LPCWSTR pStrImage) { SetImage(m_button1.images.hot, pStrImage); }
    LPCWSTR GetButton1PushedImage() const { return m_button1.images.pushed; }
    void SetButton1PushedImage(LPCWSTR pStrImage) { SetImage(m_button1.images.pushed, pStrImage); }
    LPCWSTR GetButton1DisabledImage() const { return m_button1.images.disabled; }
    void SetButton1DisabledImage(LPCWSTR pStrImage) { SetImage(m_button1.images.disabled, pStrImage); }

    LPCWSTR GetButton2NormalImage() const { return m_button2.images.normal; }
    void SetButton2NormalImage(LPCWSTR pStrImage) { SetImage(m_button2.images.normal, pStrImage); }
    LPCWSTR GetButton2HotImage() const { return m_button2.images.hot; }
    void SetButton2HotImage(LPCWSTR pStrImage) { SetImage(m_button2.images.hot, pStrImage); }
    LPCWSTR GetButton2PushedImage() const { return m_button2.images.pushed; }
    void SetButton2PushedImage(LPCWSTR pStrImage) { SetImage(m_button2.images.pushed, pStrImage); }
    LPCWSTR GetButton2DisabledImage() const { return m_button2.images.disabled; }
    void SetButton2DisabledImage(LPCWSTR pStrImage) { SetImage(m_button2.images.disabled, pStrImage); }

    LPCWSTR GetThumbNormalImage() const { return m_thumb.images.normal; }
    void SetThumbNormalImage(LPCWSTR pStrImage) { SetImage(m_thumb.images.normal, pStrImage); }
    LPCWSTR GetThumbHotImage() const { return m_thumb.images.hot; }
    void SetThumbHotImage(LPCWSTR pStrImage) { SetImage(m_thumb.images.hot, pStrImage); }
    LPCWSTR GetThumbPushedImage() const { return m_thumb.images.pushed; }
    void SetThumbPushedImage(LPCWSTR pStrImage) { SetImage(m_thumb.images.pushed, pStrImage); }
    LPCWSTR GetThumbDisabledImage() const { return m_thumb.images.disabled; }
    void SetThumbDisabledImage(LPCWSTR pStrImage) { SetImage(m_thumb.images.disabled, pStrImage); }

    LPCWSTR GetRailNormalImage() const { return m_railImages.normal; }
    void SetRailNormalImage(LPCWSTR pStrImage) { SetImage(m_railImages.normal, pStrImage); }
    LPCWSTR GetRailHotImage() const { return m_railImages.hot; }
    void SetRailHotImage(LPCWSTR pStrImage) { SetImage(m_railImages.hot, pStrImage); }
    LPCWSTR GetRailPushedImage() const { return m_railImages.pushed; }
    void SetRailPushedImage(LPCWSTR pStrImage) { SetImage(m_railImages.pushed, pStrImage); }
    LPCWSTR GetRailDisabledImage() const { return m_railImages.disabled; }
    void SetRailDisabledImage(LPCWSTR pStrImage) { SetImage(m_railImages.disabled, pStrImage); }

    void PaintBk(HDC hDC);
    void PaintButton1(HDC hDC);
    void PaintButton2(HDC hDC);
    void PaintThumb(HDC hDC);
    void PaintRail(HDC hDC);

private:
    struct TStateImages
    {
        CUIString normal;
        CUIString hot;
        CUIString pushed;
        CUIString disabled;
    };
    struct TPart
    {
        bool bShown = true;
        UINT uState = 0;
        RECT rc = {0, 0, 0, 0};
        TStateImages images;
    };

    CLayoutAxis Axis() const;
    // The fixed size across the bar: the width of a vertical bar, the height of a horizontal one.
    int GetThickness() const;
    void SetImage(CUIString& sImage, LPCWSTR pStrImage);

    void OnButtonDown(POINT pt);
    void OnButtonUp();
    void OnMouseMove(POINT pt);
    void OnTimer();
    // Hands an event to the owner, or without one to the handling every control shares.
    void PassOn(TEventUI& event);
    void NotifyScrollWithoutOwner();

    void LineBack();
    void LineForward();
    void PageBack();
    void PageForward();
    // Pages towards a point on the rail: back when it lies before the thumb, forward when after.
    void PageTowards(POINT pt);

    // Draws the state's image, or the normal one when that is empty or fails;
    // an image that fails is emptied. False when nothing was drawn.
    bool DrawStateImage(HDC hDC, TStateImages& images, UINT uState, LPCWSTR pStrModify);
    bool DrawOnce(HDC hDC, CUIString& sImage, LPCWSTR pStrModify);
    // The "dest" modifier placing rc relative to the bar's top-left corner.
    LPCWSTR DestModifier(const RECT& rc);
    void PaintPart(HDC hDC, TPart& part);

    bool m_bHorizontal;
    int m_nRange;
    int m_nScrollPos;
    int m_nLineSize;
    CContainerUI* m_pOwner;
    POINT m_ptLastMouse;
    int m_nLastScrollPos;
    int m_nLastScrollOffset;
    int m_nScrollRepeatDelay;

    TStateImages m_bkImages;
    TPart m_button1;
    TPart m_button2;
    TPart m_thumb;
    TStateImages m_railImages;
    CUIString m_sImageModify;
};

} // namespace VarnelUI
