#pragma once
// The per-window paint manager: turns native messages into control events,
// paints the control tree, runs control timers and delivers notifications.
// Its static resource API forwards to the process-wide CResourceSettings.

#include "varnelui/core/UIAccessibleTree.h"
#include "varnelui/core/UIDefines.h"
#include "varnelui/core/UIString.h"
#include "varnelui/core/StdPtrArray.h"
#include "varnelui/core/StdStringPtrMap.h"
#include "varnelui/core/UIEvents.h"
#include "varnelui/core/UIGdiHandles.h"
#include "varnelui/core/UIResourceSettings.h"
#include "varnelui/core/UIWindowShadow.h"
#include "varnelui/utils/UIZip.h"

#include <vector>

namespace VarnelUI {

class CControlUI;
class CPaintManagerUI;
struct TImageInfo;

// Private messages: deferred deletion of controls, and the offset at which
// notifications of native child windows are reflected back to them.
constexpr UINT UIMSG_DELAYED_CLEANUP = WM_APP + 1;
constexpr UINT UIMSG_REFLECT_OFFSET = 0x2000;
// Runs a default action an assistive tool asked for; wParam is the control's
// child id. Posted, so the tool's call returns first: a click that opens a
// modal box must not hold the tool (often another process) inside its call.
constexpr UINT UIMSG_ACCESSIBLE_ACTION = WM_APP + 2;

// A control plug-in's factory: a new control for the element name, or null.
using LPCREATECONTROL = CControlUI* (*)(LPCWSTR pstrType);

// One font of a window.
struct TFontInfo
{
    HFONT hFont;
    CUIString faceName;
    int size; // pixels; the font is created with height -size
    bool bold;
    bool underline;
    bool italic;
    TEXTMETRICW tm; // zero until first needed
};

class VARNELUI_API CPaintManagerUI
{
public:
    CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;
    ~CPaintManagerUI();

    // ---- attachment and tree ------------------------------------------------
    void Init(HWND hWnd);
    bool AttachDialog(CControlUI* pControl);
    bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
    void ReapObjects(CControlUI* pControl);
    void AddDelayedCleanup(CControlUI* pControl);

    CControlUI* GetRoot() const;
    CControlUI* GetFocus() const;
    HWND GetPaintWindow() const;
    HDC GetPaintDC() const;
    HWND GetTooltipWindow() const;
    POINT GetMousePos() const;
    // The control under the mouse, the one that got the last mouse enter.
    CControlUI* GetHoverControl() const;
    // The window's accessibility objects, ids and events.
    CAccessibleTree& GetAccessibleTree();
    SIZE GetClientSize() const;

    void NeedUpdate();
    void Invalidate(const RECT& rcItem);

    // While one lives, Invalidate only collects rectangles; the outermost one
    // invalidates their bounding box when it ends. For changes that invalidate
    // many rectangles of an area that is being invalidated as a whole anyway
    // (scrolling moves every child of the area), so one call replaces many.
    class VARNELUI_API CInvalidateBatch
    {
    public:
        explicit CInvalidateBatch(CPaintManagerUI* pManager);
        ~CInvalidateBatch();
        CInvalidateBatch(const CInvalidateBatch&) = delete;
        CInvalidateBatch& operator=(const CInvalidateBatch&) = delete;

    private:
        CPaintManagerUI* m_pManager;
    };

    // ---- focus and capture --------------------------------------------------
    void SetFocus(CControlUI* pControl);
    void SetFocusNeeded(CControlUI* pControl);
    bool SetNextTabControl(bool bForward = true);

    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const;

    // ---- searching ----------------------------------------------------------
    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindControl(LPCWSTR pstrName) const;
    CControlUI* FindSubControlByPoint(CControlUI* pParent, POINT pt) const;
    CControlUI* FindSubControlByName(CControlUI* pParent, LPCWSTR pstrName) const;
    CControlUI* FindSubControlByClass(CControlUI* pParent, LPCWSTR pstrClass, int iIndex = 0);
    // The array belongs to the manager and is overwritten by the next class search.
    CStdPtrArray* FindSubControlsByClass(CControlUI* pParent, LPCWSTR pstrClass);
    CStdPtrArray* GetSubControlsByClass();

    // ---- control timers -----------------------------------------------------
    bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerID);
    void KillTimer(CControlUI* pControl);
    void RemoveAllTimers();

    // ---- notifications and hooks --------------------------------------------
    void SendNotify(TNotifyUI& Msg, bool bAsync = false);
    void SendNotify(CControlUI* pControl, LPCWSTR pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool bAsync = false);

    bool AddNotifier(INotifyUI* pControl);
    bool RemoveNotifier(INotifyUI* pControl);
    bool AddPreMessageFilter(IMessageFilterUI* pFilter);
    bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);
    bool AddTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
    bool RemoveTranslateAccelerator(ITranslateAccelerator* pTranslateAccelerator);
    bool AddPostPaint(CControlUI* pControl);
    bool RemovePostPaint(CControlUI* pControl);
    bool SetPostPaintIndex(CControlUI* pControl, int iIndex);
    int GetPostPaintCount() const;

    void UsedVirtualWnd(bool bUsed);

    // ---- message handling ---------------------------------------------------
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool TranslateAcceleratorW(MSG* pMsg);

    static bool TranslateMessage(const MSG* pMsg);
    static void MessageLoop();

    // ---- window-level settings ----------------------------------------------
    SIZE GetInitSize() const;
    void SetInitSize(int cx, int cy);
    const RECT& GetSizeBox() const;
    void SetSizeBox(const RECT& rcSizeBox);
    const RECT& GetCaptionRect() const;
    void SetCaptionRect(const RECT& rcCaption);
    SIZE GetRoundCorner() const;
    void SetRoundCorner(int cx, int cy);
    SIZE GetMinInfo() const;
    void SetMinInfo(int cx, int cy);
    SIZE GetMaxInfo() const;
    void SetMaxInfo(int cx, int cy);
    int GetTransparent() const;
    void SetTransparent(int nOpacity);
    void SetBackgroundTransparent(bool bTrans);
    bool IsAlphaBackground() const;
    void SetShowUpdateRect(bool show);
    bool IsShowUpdateRect() const;

    // ---- window shadow (drawn by the layered paint) ---------------------------
    using tagTWindowShadowInfo = CWindowShadow::tagTWindowShadowInfo;

    void SetHasWindowShadow(bool bShadow);
    bool HasWindowShadow() const;
    void SetWindowShadowImage(LPCWSTR pstrImage);
    void SetTopleftShadowRect(int x, int y, int width, int height);
    void SetToprightShadowRect(int x, int y, int width, int height);
    void SetBottomleftShadowRect(int x, int y, int width, int height);
    void SetBottomrightShadowRect(int x, int y, int width, int height);
    void CalMiddleShadowRect();
    void CalRealShadowRect(const RECT& rcClient, tagTWindowShadowInfo& info) const;
    // pBuffer holds kShadowRenderStringSize characters.
    static constexpr int kShadowRenderStringSize = CWindowShadow::kRenderStringSize;
    void GenerateShadowRenderString(const RECT& rcSource, const RECT& rcDest, LPWSTR pBuffer) const;
    void DrawWindowShadow(RECT& rc);

    // ---- fonts ----------------------------------------------------------------
    void SetDefaultFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    TFontInfo* GetDefaultFontInfo();

    // ---- custom fonts, addressed by index (UIManagerFonts.cpp) -----------------
    // Appends a font; its index is the skin's font id. Null when it cannot be made.
    HFONT AddFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    // Inserts a font at the index (0..count); later fonts move up by one.
    HFONT AddFontAt(int index, LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    // The index-th custom font; an index outside the table gives the default font.
    HFONT GetFont(int index);
    // The first font with exactly this description, own or the parent resource's.
    HFONT GetFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    // Own table only; -1 when absent.
    int GetFontIndex(HFONT hFont) const;
    int GetFontIndex(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
    // Metrics are filled on first use. An index outside the table gives the
    // default font; an unknown handle the parent resource's answer, else the
    // default font.
    TFontInfo* GetFontInfo(int index);
    TFontInfo* GetFontInfo(HFONT hFont);
    bool FindFont(HFONT hFont) const;
    bool FindFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic) const;
    // Deletes the font; later indices shift down. False when not found.
    bool RemoveFont(HFONT hFont);
    bool RemoveFontAt(int index);
    int GetCustomFontCount() const;
    void RemoveAllFonts();

    // ---- images, cached by name (UIManagerImages.cpp) --------------------------
    // With a type, the name is a decimal resource id of that type; without, a
    // skin file. A name already cached keeps its image (returned). Null when the
    // image cannot be loaded. A layered window's images are drawn blended.
    TImageInfo* AddImage(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    TImageInfo* AddImage(LPCWSTR bitmap, HBITMAP hBitmap, int iWidth, int iHeight, bool bAlpha);
    TImageInfo* GetImage(LPCWSTR bitmap);
    // Loads and caches the image on a miss.
    TImageInfo* GetImageEx(LPCWSTR bitmap, LPCWSTR type = nullptr, DWORD mask = 0);
    bool RemoveImage(LPCWSTR bitmap);
    void RemoveAllImages();
    // Reloads every cached image in place, so pointers held by controls stay valid.
    void ReloadAllImages();
    static void ReloadSkin();

    // ---- default attribute lists per control class (UIManagerShared.cpp) ------
    // The first list registered for a class stays in force.
    void AddDefaultAttributeList(LPCWSTR pStrControlName, LPCWSTR pStrControlAttrList);
    // Own list, else the parent resource's; null when neither has one.
    LPCWSTR GetDefaultAttributeList(LPCWSTR pStrControlName) const;
    bool RemoveDefaultAttributeList(LPCWSTR pStrControlName);
    // Class name -> CUIString* attribute list (own lists only).
    const CStdStringPtrMap& GetDefaultAttribultes() const;
    void RemoveAllDefaultAttributeList();

    // ---- option groups: group name -> member controls (not owned) -------------
    // False when the control is in the group already.
    bool AddOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
    CStdPtrArray* GetOptionGroup(LPCWSTR pStrGroupName);
    // A group that becomes empty is dropped.
    void RemoveOptionGroup(LPCWSTR pStrGroupName, CControlUI* pControl);
    void RemoveAllOptionGroups();

    // ---- default colours (0xAARRGGBB); a parent resource's colours win --------
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD dwColor);
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD dwColor);
    DWORD GetDefaultLinkFontColor() const;
    void SetDefaultLinkFontColor(DWORD dwColor);
    DWORD GetDefaultLinkHoverFontColor() const;
    void SetDefaultLinkHoverFontColor(DWORD dwColor);
    DWORD GetDefaultSelectedBkColor() const;
    void SetDefaultSelectedBkColor(DWORD dwColor);

    // ---- borrowing fonts, images, default lists and colours -------------------
    // Null detaches. Refused (false) when the parent's chain leads back here.
    bool UseParentResource(CPaintManagerUI* pm);
    CPaintManagerUI* GetParentResource() const;

    // ---- process-wide -------------------------------------------------------
    static void SetHSL(bool bUseHSL, short H, short S, short L);
    static void GetHSL(short* H, short* S, short* L);

    // Loads a library exporting "CreateControl" and registers that factory.
    // False for a null name, a library that does not load or a missing export.
    static bool LoadPlugin(LPCWSTR pstrModuleName);
    // The registered factories, in load order.
    static const std::vector<LPCREATECONTROL>& GetPlugins();

    // ---- process-wide resource settings -----------------------------------
    static HINSTANCE GetInstance();
    static void SetInstance(HINSTANCE hInst);
    static CUIString GetInstancePath();
    static CUIString GetCurrentPath();
    static void SetCurrentPath(LPCWSTR pStrPath);
    static HINSTANCE GetResourceDll();
    static void SetResourceDll(HINSTANCE hInst);
    static const CUIString& GetResourcePath();
    static void SetResourcePath(LPCWSTR pStrPath);
    static const CUIString& GetResourceZip();
    static bool IsCachedResourceZip();
    static ZipHandle GetResourceZipHandle();
    static void SetResourceZip(LPCWSTR pStrZip, bool bCachedResourceZip = false);
    static void SetResourceZip(LPVOID pVoid, unsigned int len);
    static void Term();

private:
    struct TTimerInfo;

    // Follows a control while a message is dispatched to it: the pointer is
    // cleared when the control is destroyed on the way (by an event handler,
    // a delegate or a notifier), so the dispatch stops instead of touching it.
    class CControlWatch
    {
    public:
        CControlWatch(CPaintManagerUI& manager, CControlUI* pControl);
        CControlWatch(const CControlWatch&) = delete;
        CControlWatch& operator=(const CControlWatch&) = delete;
        ~CControlWatch();

        CControlUI* Get() const { return m_pControl; }

    private:
        CPaintManagerUI& m_manager;
        CControlUI* m_pControl;
    };

    // Shared by every font the manager creates.
    static HFONT CreateSkinFont(LPCWSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic);
    void FillFontMetrics(TFontInfo& info) const;

    void OnPaint();
    void PaintNormal(const RECT& rcClient);
    void PaintLayered(const RECT& rcClient);
    bool PrepareBackground(SIZE szClient);
    bool LayoutIfNeeded(const RECT& rcClient);
    void OnPrintClient(HDC hDC, LPARAM lParam);
    void OnClose();
    bool OnMouseHover(LPARAM lParam);
    void OnMouseLeave();
    void OnMouseMove(LPARAM lParam);
    void OnButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void OnButtonUp(WPARAM wParam, LPARAM lParam);
    void OnContextMenu(WPARAM wParam, LPARAM lParam);
    void OnMouseWheel(WPARAM wParam, LPARAM lParam);
    bool OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnKey(UINT uMsg, WPARAM wParam);
    void OnTimer(WPARAM wParam);
    bool OnSysChar(wchar_t ch);
    void ShowToolTip(CControlUI* pControl);

    TEventUI MakeEvent(int kind, CControlUI* pSender) const;
    void KillCurrentFocus(CControlUI* pNewFocus);
    void DeliverNotify(TNotifyUI& Msg);
    void DrainAsyncNotify();
    void DeleteDelayedCleanup();
    void DeactivateTooltip();
    bool NextTimerId(UINT& uWinTimer);

    HWND m_hWndPaint = nullptr;
    CWindowDCHandle m_hDcPaint;
    // Normal windows: kept between paints, recreated after a re-layout of the
    // root or when the client size no longer matches.
    // (Bitmaps are declared before their DCs so a DC goes first, releasing
    // the bitmap selected into it.)
    CBitmapHandle m_hbmpOffscreen;
    CMemoryDCHandle m_hDcOffscreen;
    SIZE m_szOffscreen = {};
    // Layered windows: a 32-bit DIB handed to UpdateLayeredWindow, rebuilt on
    // every paint.
    CBitmapHandle m_hbmpBackground;
    CMemoryDCHandle m_hDcBackground;
    HWND m_hwndTooltip = nullptr;
    TOOLINFOW m_ToolTip = {};
    CUIString m_sToolTipText; // the tool record points into it
    bool m_bShowUpdateRect = false;

    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    CControlUI* m_pEventKey = nullptr;

    POINT m_ptLastMousePos = {-1, -1};
    UINT m_uTimerID = 0x1000;
    bool m_bFirstLayout = true;
    bool m_bUpdateNeeded = false;
    bool m_bFocusNeeded = false;
    bool m_bAlphaBackground = false;
    bool m_bMouseTracking = false;
    bool m_bMouseCapture = false;
    bool m_bUsedVirtualWnd = false;
    int m_nInvalidateBatches = 0;
    RECT m_rcBatchInvalid = {};

    CStdPtrArray m_aNotifiers;
    CStdPtrArray m_aTimers;
    CStdPtrArray m_aPreMessageFilters;
    CStdPtrArray m_aMessageFilters;
    CStdPtrArray m_aPostPaintControls;
    CStdPtrArray m_aDelayedCleanup;
    CStdPtrArray m_aAsyncNotify;
    CStdPtrArray m_aTranslateAccelerator;
    CStdPtrArray m_aFoundControls;
    // Pointers to local control pointers that must be cleared when the control
    // is destroyed while a message is being dispatched (see CControlWatch).
    CStdPtrArray m_aWatchedControls;
    CStdStringPtrMap m_mNameHash{83};
    CAccessibleTree m_accessible{*this};

    // Window-level settings.
    SIZE m_szInitWindowSize = {};
    RECT m_rcSizeBox = {};
    RECT m_rcCaption = {};
    SIZE m_szRoundCorner = {};
    SIZE m_szMinWindow = {};
    SIZE m_szMaxWindow = {};
    int m_nOpacity = 255;

    CWindowShadow m_shadow;

    TFontInfo m_DefaultFontInfo = {};

    // Owned TFontInfo records in index order; the fonts are freed with the table.
    struct TFontTable
    {
        TFontTable() = default;
        TFontTable(const TFontTable&) = delete;
        TFontTable& operator=(const TFontTable&) = delete;
        ~TFontTable();
        void FreeAll();

        CStdPtrArray fonts;
    };
    TFontTable m_CustomFonts;

    // Image name -> owned TImageInfo; the images are freed with the cache.
    struct TImageCache
    {
        TImageCache() = default;
        TImageCache(const TImageCache&) = delete;
        TImageCache& operator=(const TImageCache&) = delete;
        ~TImageCache();
        void FreeAll();

        CStdStringPtrMap map{83};
    };
    TImageCache m_ImageCache;

    // Name -> owned T; the values are deleted with the map.
    template <class T>
    struct TOwningMap
    {
        TOwningMap() = default;
        TOwningMap(const TOwningMap&) = delete;
        TOwningMap& operator=(const TOwningMap&) = delete;
        ~TOwningMap() { FreeAll(); }
        void FreeAll()
        {
            for (int i = 0; i < map.GetSize(); ++i) delete static_cast<T*>(map.Find(map.GetAt(i), false));
            map.RemoveAll();
        }

        CStdStringPtrMap map{83};
    };
    TOwningMap<CUIString> m_DefaultAttrLists;
    TOwningMap<CStdPtrArray> m_OptionGroups;

    DWORD m_dwDefaultDisabledColor = 0xFFA7A6AA;
    DWORD m_dwDefaultFontColor = 0xFF000000;
    DWORD m_dwDefaultLinkFontColor = 0xFF0000FF;
    DWORD m_dwDefaultLinkHoverFontColor = 0xFFD3215F;
    DWORD m_dwDefaultSelectedBkColor = 0xFFBAE4FF;

    CPaintManagerUI* m_pParentResourcePM = nullptr;
    // Inserts a new image under the name; when the name is taken, the new
    // image is freed and the cached one returned.
    TImageInfo* Cache(LPCWSTR bitmap, TImageInfo* pImage);

    // Every live paint manager, in order of Init.
    static CStdPtrArray m_aLiveManagers;
    static short m_H;
    static short m_S;
    static short m_L;
    static std::vector<LPCREATECONTROL> m_aPlugins;
};

} // namespace VarnelUI
