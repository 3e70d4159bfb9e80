#pragma once
// MenuWindow: the one window class of the game's own UI layer, a framed list of text items with
// a highlighted current item, a scroll bar and a help balloon per item. A window has no virtual
// functions; its behaviour comes from a handler that receives numbered events and may claim them.
// All windows live in one list in creation order; at most one of them holds the focus and gets
// the keyboard, pad and wheel (menu_input.h).

#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9_types.h"
#include "platform/gdi/gdi_types.h"
#include "platform/winbase/win_types.h"
#include "sprite_ui/frame_textures.h"

struct D3DFont;
struct MenuWindow;

// Item flags.
constexpr DWORD kMenuItemNoHighlight = 0x2;
constexpr DWORD kMenuItemCentred = 0x4;
constexpr DWORD kMenuItemDisabled = 0x8;  // never current, never decided

// Window flags.
constexpr DWORD kMenuDrawn = 0x1;  // drawn in this frame; cleared by every input update
constexpr DWORD kMenuPassive = 0x2;
constexpr DWORD kMenuHidden = 0x4;
constexpr DWORD kMenuFreeScroll = 0x8;  // the scroll offset is not snapped to whole lines
constexpr DWORD kMenuNoScrollButtons = 0x10;
constexpr DWORD kMenuNoThumb = 0x20;
constexpr DWORD kMenuWrap = 0x40;
constexpr DWORD kMenuModal = 0x80;
constexpr DWORD kMenuNoBorder = 0x100;
constexpr DWORD kMenuNoBackground = 0x200;
constexpr DWORD kMenuJustFocused = 0x400;  // the next draw sends the cursor to the current item

// In x, y, width or height: centred on the render target, or sized to the content.
constexpr int kMenuAuto = static_cast<int>(0x80000000u);

// Handler events; the argument of each is in the comment.
enum MenuWindowEvent : int {
    kMenuEventCreate = 0,       // 0; non-zero cancels the creation
    kMenuEventDecide = 1,       // current item, or -1 for a click outside the items
    kMenuEventCancel = 2,       // current item
    kMenuEventMouseOver = 3,    // (y << 16) | (x & 0xFFFF), client pixels
    kMenuEventPageUp = 4,       // current item; non-zero: no page move
    kMenuEventPageDown = 5,     // current item; non-zero: no page move
    kMenuEventLineUp = 6,       // current item; non-zero: no line move
    kMenuEventLineDown = 7,     // current item; non-zero: no line move
    kMenuEventWheel = 8,        // lines, positive toward the end; non-zero: no scroll, no move
    kMenuEventFocus = 9,        // -1 focus lost, else the current item
    kMenuEventDrawWindow = 10,  // 0; non-zero: nothing of the window is drawn
    kMenuEventDrawItem = 11,    // MenuItemDraw*; non-zero: the item's text is not drawn
    kMenuEventAfterDraw = 12,   // 0
    kMenuEventClose = 13,       // 0
};

// The argument is pointer-sized, as event 11 passes a pointer. Non-zero: handled.
using MenuWindowHandler = int (*)(MenuWindow* window, int event, std::intptr_t argument,
                                  void* context);

// One item. A template passed to AddItem lends its texts; the window's own items own copies,
// which the window frees (an item has no destructor, so a template never frees what it lends).
struct MenuItem {
    DWORD flags = 0;
    const char* text = nullptr;  // Shift-JIS with colour markup
    D3DCOLOR colour = 0xFFFFFFFFu;
    const char* helpText = nullptr;  // the help balloon's text, or null
    DWORD value = 0;                 // the owner's own
    RECT extent{};                   // (0, 0, text width, line height), set by AddItem

    // Replaces the text by a private copy (for an item of a window: the old copy is freed).
    void SetText(const char* newText);
};

// Event 11's record.
struct MenuItemDraw {
    int index = 0;
    RECT line{};  // at the item's line, as wide as its text extent, one line high
    MenuItem* item = nullptr;
    MenuItem visible;  // a copy whose extent is the line clipped to the item area
};

struct MenuWindow {
    FrameTextures frameTextures{};  // each holds a reference
    LOGFONTA fontDescription{};
    std::vector<MenuItem*> items;
    D3DFont* font = nullptr;          // from fontDescription, glyph cache 256
    std::vector<D3DFont*> itemFonts;  // one per item; null unless shrunk
    DWORD shrinkToFit = 0;
    RECT scrollUpButton{};  // screen rectangles of what was drawn last; empty when not drawn
    RECT scrollDownButton{};
    RECT scrollThumb{};
    int current = 0;
    MenuWindowHandler handler = nullptr;
    void* context = nullptr;
    DWORD flags = 0;
    int x = 0;  // item area position and size; kMenuAuto: automatic
    int y = 0;
    int width = 0;
    int height = 0;
    int contentWidth = 0;
    int contentHeight = 0;  // line height x items
    int lineHeight = 0;
    int scroll = 0;     // pixels from the top of the content
    RECT windowRect{};  // item area plus borders, as laid out by the last draw
    RECT itemArea{};

    // Appends the window to the list.
    MenuWindow();
    MenuWindow(const MenuWindow&) = delete;
    MenuWindow& operator=(const MenuWindow&) = delete;

    // 1 when the handler accepted event 0. Sets the held-key lock of the input layer.
    int Init(int left, int top, int areaWidth, int areaHeight, int line,
             MenuWindowHandler eventHandler, void* eventContext, DWORD windowFlags);
    // The new index, or -1 when the measuring font cannot be made (the item stays appended).
    int AddItem(const MenuItem& item);
    // index < 0: the current item; outside the items: null.
    MenuItem* GetItem(int index);
    void SetFont(const LOGFONTA& logFont);
    // Frees every item, releases the item fonts and the window font; content height 0.
    void ClearItems();
    // Frees the items alone (content width and height 0); the window font stays.
    void RemoveItems();
    // Null only releases the window's five textures.
    void LoadFrameTextures(const char* path);
    void Draw();

    // Moves the current item by n enabled items; 0 for a passive window, else 1.
    int MoveCurrent(int n);
    int GetLinesPerPage() const;
    int GetCurrent() const { return current; }
    void GetItemArea(RECT* area) const;
    // The scroll offset as drawn: snapped down to whole lines unless kMenuFreeScroll.
    int DrawnScroll() const;
    // Pointer tracking for every WM_MOUSEMOVE while any window exists.
    static void TrackPointer();

    // Tells listed windows apart from a later window at the same address.
    std::uint64_t serial = 0;
    // Set while the window is being destroyed, so that a handler deleting it again does nothing.
    bool closing = false;

private:
    friend MenuWindow* DeleteMenuWindow(MenuWindow* window);
    ~MenuWindow() = default;
    void FreeItems();
    void DrawFrame(int bw, int bh, int cw, int ch);
    void DrawScrollBar();
    void DrawItems();
    D3DFont* ItemFont(int index);
};

// Whether a remembered window is still the same listed window after a handler ran: a handler
// may delete it, and a window made afterwards may have its address.
class MenuWindowWatch {
public:
    explicit MenuWindowWatch(MenuWindow* window);
    bool Alive() const;
    MenuWindow* get() const { return window_; }

private:
    MenuWindow* window_;
    std::uint64_t serial_;
};

// Null when the line height is 0 or below (logged), or when the handler refuses event 0.
// The window gets the default frame textures (when the default background exists) and the UI
// font; it does not get the focus.
MenuWindow* CreateMenuWindow(int x, int y, int width, int height, int lineHeight,
                             MenuWindowHandler handler, void* context, DWORD flags);
// Destroys and frees the window; answers 0 so that callers store it back into their pointer.
MenuWindow* DeleteMenuWindow(MenuWindow* window);
// Sends event 13, releases the frame, items and fonts and leaves the list; hands the focus on
// when the window had it.
void DestroyMenuWindow(MenuWindow* window);
void DestroyAllMenuWindows();
bool IsMenuWindow(const MenuWindow* window);
const std::vector<MenuWindow*>& MenuWindowList();
MenuWindow* GetFocusWindow();
void SetFocusWindow(MenuWindow* window);
// Focuses the window only when it is listed (and then resets the balloon timer).
void FocusMenuWindow(MenuWindow* window);
// The listed window after (before) `window`, wrapping around; the first (last) window when
// `window` is null or not listed; the focused window when the list is empty.
MenuWindow* GetNextMenuWindow(MenuWindow* window);
MenuWindow* GetPrevMenuWindow(MenuWindow* window);
// Windows whose flags have none of the mask's bits.
int CountMenuWindows(DWORD mask);
// The handler's answer; 0 without a handler.
int DispatchWindowEvent(MenuWindow* window, int event, std::intptr_t argument);

// Unfocused windows not yet drawn in list order, the focused one last, then every balloon not
// yet drawn.
void DrawMenuWindows();
// Sees every message of the game window first; never consumes one (0).
LRESULT MenuWindowHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The pointer in client pixels of the game window.
POINT MenuCursorPosition();
// Right and bottom edges excluded.
bool MenuRectContains(const RECT& rect, POINT p);
