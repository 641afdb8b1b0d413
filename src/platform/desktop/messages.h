// Win32's numbers, under readable names: message numbers, window and class
// styles, hit-test codes, virtual keys, scroll codes, show and position
// flags. The event pump's masks are ranges of these message numbers, and
// titles' code reads them as Win32 defines them, so the values are Win32's.
//
// Sections: the core desktop's below; the menus, dialogs, caret, cursors and
// clipboard add theirs in their own section at the end.
#pragma once

#include <cstdint>

namespace orvane::desktop {

// --- Window messages ---------------------------------------------------------
inline constexpr std::uint32_t WM_NULL = 0x0000;
inline constexpr std::uint32_t WM_CREATE = 0x0001;
inline constexpr std::uint32_t WM_DESTROY = 0x0002;
inline constexpr std::uint32_t WM_MOVE = 0x0003;
inline constexpr std::uint32_t WM_SIZE = 0x0005;
inline constexpr std::uint32_t WM_ACTIVATE = 0x0006;
inline constexpr std::uint32_t WM_SETFOCUS = 0x0007;
inline constexpr std::uint32_t WM_KILLFOCUS = 0x0008;
inline constexpr std::uint32_t WM_ENABLE = 0x000A;
inline constexpr std::uint32_t WM_SETREDRAW = 0x000B;
inline constexpr std::uint32_t WM_SETTEXT = 0x000C;
inline constexpr std::uint32_t WM_GETTEXT = 0x000D;
inline constexpr std::uint32_t WM_GETTEXTLENGTH = 0x000E;
inline constexpr std::uint32_t WM_PAINT = 0x000F;
inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_QUERYENDSESSION = 0x0011;
inline constexpr std::uint32_t WM_QUIT = 0x0012;
inline constexpr std::uint32_t WM_ERASEBKGND = 0x0014;
inline constexpr std::uint32_t WM_SHOWWINDOW = 0x0018;
inline constexpr std::uint32_t WM_ACTIVATEAPP = 0x001C;
inline constexpr std::uint32_t WM_SETCURSOR = 0x0020;
inline constexpr std::uint32_t WM_MOUSEACTIVATE = 0x0021;
inline constexpr std::uint32_t WM_CHILDACTIVATE = 0x0022;
inline constexpr std::uint32_t WM_GETMINMAXINFO = 0x0024;
inline constexpr std::uint32_t WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr std::uint32_t WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr std::uint32_t WM_NCCREATE = 0x0081;
inline constexpr std::uint32_t WM_NCDESTROY = 0x0082;
inline constexpr std::uint32_t WM_NCCALCSIZE = 0x0083;
inline constexpr std::uint32_t WM_NCHITTEST = 0x0084;
inline constexpr std::uint32_t WM_NCPAINT = 0x0085;
inline constexpr std::uint32_t WM_NCACTIVATE = 0x0086;
inline constexpr std::uint32_t WM_NCMOUSEMOVE = 0x00A0;
inline constexpr std::uint32_t WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr std::uint32_t WM_NCLBUTTONUP = 0x00A2;
inline constexpr std::uint32_t WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr std::uint32_t WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr std::uint32_t WM_NCRBUTTONUP = 0x00A5;
inline constexpr std::uint32_t WM_NCRBUTTONDBLCLK = 0x00A6;
inline constexpr std::uint32_t WM_NCMBUTTONDOWN = 0x00A7;
inline constexpr std::uint32_t WM_NCMBUTTONUP = 0x00A8;
inline constexpr std::uint32_t WM_NCMBUTTONDBLCLK = 0x00A9;
inline constexpr std::uint32_t WM_KEYFIRST = 0x0100;
inline constexpr std::uint32_t WM_KEYDOWN = 0x0100;
inline constexpr std::uint32_t WM_KEYUP = 0x0101;
inline constexpr std::uint32_t WM_CHAR = 0x0102;
inline constexpr std::uint32_t WM_DEADCHAR = 0x0103;
inline constexpr std::uint32_t WM_SYSKEYDOWN = 0x0104;
inline constexpr std::uint32_t WM_SYSKEYUP = 0x0105;
inline constexpr std::uint32_t WM_SYSCHAR = 0x0106;
inline constexpr std::uint32_t WM_SYSDEADCHAR = 0x0107;
inline constexpr std::uint32_t WM_KEYLAST = 0x0108;
inline constexpr std::uint32_t WM_INITDIALOG = 0x0110;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;
inline constexpr std::uint32_t WM_SYSCOMMAND = 0x0112;
inline constexpr std::uint32_t WM_TIMER = 0x0113;
inline constexpr std::uint32_t WM_HSCROLL = 0x0114;
inline constexpr std::uint32_t WM_VSCROLL = 0x0115;
inline constexpr std::uint32_t WM_INITMENU = 0x0116;
inline constexpr std::uint32_t WM_INITMENUPOPUP = 0x0117;
inline constexpr std::uint32_t WM_MENUSELECT = 0x011F;
inline constexpr std::uint32_t WM_MENUCHAR = 0x0120;
inline constexpr std::uint32_t WM_ENTERIDLE = 0x0121;
inline constexpr std::uint32_t WM_MOUSEFIRST = 0x0200;
inline constexpr std::uint32_t WM_MOUSEMOVE = 0x0200;
inline constexpr std::uint32_t WM_LBUTTONDOWN = 0x0201;
inline constexpr std::uint32_t WM_LBUTTONUP = 0x0202;
inline constexpr std::uint32_t WM_LBUTTONDBLCLK = 0x0203;
inline constexpr std::uint32_t WM_RBUTTONDOWN = 0x0204;
inline constexpr std::uint32_t WM_RBUTTONUP = 0x0205;
inline constexpr std::uint32_t WM_RBUTTONDBLCLK = 0x0206;
inline constexpr std::uint32_t WM_MBUTTONDOWN = 0x0207;
inline constexpr std::uint32_t WM_MBUTTONUP = 0x0208;
inline constexpr std::uint32_t WM_MBUTTONDBLCLK = 0x0209;
inline constexpr std::uint32_t WM_MOUSELAST = 0x0209;
inline constexpr std::uint32_t WM_PARENTNOTIFY = 0x0210;
inline constexpr std::uint32_t WM_ENTERMENULOOP = 0x0211;
inline constexpr std::uint32_t WM_EXITMENULOOP = 0x0212;
inline constexpr std::uint32_t WM_SIZING = 0x0214;
inline constexpr std::uint32_t WM_CAPTURECHANGED = 0x0215;
inline constexpr std::uint32_t WM_MOVING = 0x0216;
inline constexpr std::uint32_t WM_MDICREATE = 0x0220;
inline constexpr std::uint32_t WM_MDIDESTROY = 0x0221;
inline constexpr std::uint32_t WM_MDIACTIVATE = 0x0222;
inline constexpr std::uint32_t WM_MDIRESTORE = 0x0223;
inline constexpr std::uint32_t WM_MDINEXT = 0x0224;
inline constexpr std::uint32_t WM_MDIMAXIMIZE = 0x0225;
inline constexpr std::uint32_t WM_MDITILE = 0x0226;
inline constexpr std::uint32_t WM_MDICASCADE = 0x0227;
inline constexpr std::uint32_t WM_MDIICONARRANGE = 0x0228;
inline constexpr std::uint32_t WM_MDIGETACTIVE = 0x0229;
inline constexpr std::uint32_t WM_MDISETMENU = 0x0230;
inline constexpr std::uint32_t WM_ENTERSIZEMOVE = 0x0231;
inline constexpr std::uint32_t WM_EXITSIZEMOVE = 0x0232;
inline constexpr std::uint32_t WM_MDIREFRESHMENU = 0x0234;
inline constexpr std::uint32_t MM_WOM_OPEN = 0x03BB;
inline constexpr std::uint32_t MM_WOM_CLOSE = 0x03BC;
inline constexpr std::uint32_t MM_WOM_DONE = 0x03BD;
inline constexpr std::uint32_t WM_USER = 0x0400;

// --- Window styles (WS_) and extended styles (WS_EX_) -----------------------
inline constexpr std::uint32_t WS_OVERLAPPED = 0x00000000;
inline constexpr std::uint32_t WS_POPUP = 0x80000000;
inline constexpr std::uint32_t WS_CHILD = 0x40000000;
inline constexpr std::uint32_t WS_MINIMIZE = 0x20000000;
inline constexpr std::uint32_t WS_VISIBLE = 0x10000000;
inline constexpr std::uint32_t WS_DISABLED = 0x08000000;
inline constexpr std::uint32_t WS_CLIPSIBLINGS = 0x04000000;
inline constexpr std::uint32_t WS_CLIPCHILDREN = 0x02000000;
inline constexpr std::uint32_t WS_MAXIMIZE = 0x01000000;
inline constexpr std::uint32_t WS_CAPTION = 0x00C00000;  // WS_BORDER | WS_DLGFRAME
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_DLGFRAME = 0x00400000;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000;
inline constexpr std::uint32_t WS_HSCROLL = 0x00100000;
inline constexpr std::uint32_t WS_SYSMENU = 0x00080000;
inline constexpr std::uint32_t WS_THICKFRAME = 0x00040000;
inline constexpr std::uint32_t WS_GROUP = 0x00020000;
inline constexpr std::uint32_t WS_TABSTOP = 0x00010000;
inline constexpr std::uint32_t WS_MINIMIZEBOX = 0x00020000;
inline constexpr std::uint32_t WS_MAXIMIZEBOX = 0x00010000;
inline constexpr std::uint32_t WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr std::uint32_t WS_CHILDWINDOW = WS_CHILD;

inline constexpr std::uint32_t WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr std::uint32_t WS_EX_NOPARENTNOTIFY = 0x00000004;
inline constexpr std::uint32_t WS_EX_TOPMOST = 0x00000008;
inline constexpr std::uint32_t WS_EX_TRANSPARENT = 0x00000020;
inline constexpr std::uint32_t WS_EX_MDICHILD = 0x00000040;
inline constexpr std::uint32_t WS_EX_TOOLWINDOW = 0x00000080;

// The MDI client's own style: children keep exactly the styles they ask for.
inline constexpr std::uint32_t MDIS_ALLCHILDSTYLES = 0x0001;

// --- Class styles (CS_) -------------------------------------------------------
inline constexpr std::uint32_t CS_VREDRAW = 0x0001;
inline constexpr std::uint32_t CS_HREDRAW = 0x0002;
inline constexpr std::uint32_t CS_DBLCLKS = 0x0008;
inline constexpr std::uint32_t CS_OWNDC = 0x0020;
inline constexpr std::uint32_t CS_CLASSDC = 0x0040;
inline constexpr std::uint32_t CS_PARENTDC = 0x0080;
inline constexpr std::uint32_t CS_SAVEBITS = 0x0800;

// --- Hit-test codes (WM_NCHITTEST) --------------------------------------------
inline constexpr int HTERROR = -2;
inline constexpr int HTTRANSPARENT = -1;
inline constexpr int HTNOWHERE = 0;
inline constexpr int HTCLIENT = 1;
inline constexpr int HTCAPTION = 2;
inline constexpr int HTSYSMENU = 3;
inline constexpr int HTMENU = 5;
inline constexpr int HTHSCROLL = 6;
inline constexpr int HTVSCROLL = 7;
inline constexpr int HTMINBUTTON = 8;
inline constexpr int HTMAXBUTTON = 9;
inline constexpr int HTLEFT = 10;
inline constexpr int HTRIGHT = 11;
inline constexpr int HTTOP = 12;
inline constexpr int HTTOPLEFT = 13;
inline constexpr int HTTOPRIGHT = 14;
inline constexpr int HTBOTTOM = 15;
inline constexpr int HTBOTTOMLEFT = 16;
inline constexpr int HTBOTTOMRIGHT = 17;
inline constexpr int HTBORDER = 18;
inline constexpr int HTCLOSE = 20;

// --- WM_ACTIVATE, WM_MOUSEACTIVATE, WM_SIZE, WM_SHOWWINDOW codes ---------------
inline constexpr int WA_INACTIVE = 0;
inline constexpr int WA_ACTIVE = 1;
inline constexpr int WA_CLICKACTIVE = 2;
inline constexpr int MA_ACTIVATE = 1;
inline constexpr int MA_ACTIVATEANDEAT = 2;
inline constexpr int MA_NOACTIVATE = 3;
inline constexpr int MA_NOACTIVATEANDEAT = 4;
inline constexpr int SIZE_RESTORED = 0;
inline constexpr int SIZE_MINIMIZED = 1;
inline constexpr int SIZE_MAXIMIZED = 2;

// --- WM_SIZING edges ----------------------------------------------------------
inline constexpr int WMSZ_LEFT = 1;
inline constexpr int WMSZ_RIGHT = 2;
inline constexpr int WMSZ_TOP = 3;
inline constexpr int WMSZ_TOPLEFT = 4;
inline constexpr int WMSZ_TOPRIGHT = 5;
inline constexpr int WMSZ_BOTTOM = 6;
inline constexpr int WMSZ_BOTTOMLEFT = 7;
inline constexpr int WMSZ_BOTTOMRIGHT = 8;

// --- ShowWindow commands (SW_) ------------------------------------------------
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;

// --- SetWindowPos flags (SWP_) and insert-after handles -----------------------
inline constexpr std::uint32_t SWP_NOSIZE = 0x0001;
inline constexpr std::uint32_t SWP_NOMOVE = 0x0002;
inline constexpr std::uint32_t SWP_NOZORDER = 0x0004;
inline constexpr std::uint32_t SWP_NOREDRAW = 0x0008;
inline constexpr std::uint32_t SWP_NOACTIVATE = 0x0010;
inline constexpr std::uint32_t SWP_FRAMECHANGED = 0x0020;
inline constexpr std::uint32_t SWP_SHOWWINDOW = 0x0040;
inline constexpr std::uint32_t SWP_HIDEWINDOW = 0x0080;
inline constexpr std::uint32_t SWP_NOCOPYBITS = 0x0100;
inline constexpr std::uint32_t SWP_NOOWNERZORDER = 0x0200;

// --- WM_SYSCOMMAND codes (SC_) ------------------------------------------------
inline constexpr std::uint32_t SC_SIZE = 0xF000;
inline constexpr std::uint32_t SC_MOVE = 0xF010;
inline constexpr std::uint32_t SC_MINIMIZE = 0xF020;
inline constexpr std::uint32_t SC_MAXIMIZE = 0xF030;
inline constexpr std::uint32_t SC_NEXTWINDOW = 0xF040;
inline constexpr std::uint32_t SC_CLOSE = 0xF060;
inline constexpr std::uint32_t SC_MOUSEMENU = 0xF090;
inline constexpr std::uint32_t SC_KEYMENU = 0xF100;
inline constexpr std::uint32_t SC_RESTORE = 0xF120;

// --- PeekMessage removal ------------------------------------------------------
inline constexpr std::uint32_t PM_NOREMOVE = 0x0000;
inline constexpr std::uint32_t PM_REMOVE = 0x0001;
inline constexpr std::uint32_t PM_NOYIELD = 0x0002;

// --- Mouse key flags of button messages (MK_) ---------------------------------
inline constexpr std::uint32_t MK_LBUTTON = 0x0001;
inline constexpr std::uint32_t MK_RBUTTON = 0x0002;
inline constexpr std::uint32_t MK_SHIFT = 0x0004;
inline constexpr std::uint32_t MK_CONTROL = 0x0008;
inline constexpr std::uint32_t MK_MBUTTON = 0x0010;

// --- Redraw and scroll-window flags -------------------------------------------
inline constexpr std::uint32_t SW_SCROLLCHILDREN = 0x0001;
inline constexpr std::uint32_t SW_INVALIDATE = 0x0002;
inline constexpr std::uint32_t SW_ERASE = 0x0004;

// --- Scroll bars --------------------------------------------------------------
inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr int SB_CTL = 2;
inline constexpr int SB_BOTH = 3;
inline constexpr int SB_LINEUP = 0;
inline constexpr int SB_LINELEFT = 0;
inline constexpr int SB_LINEDOWN = 1;
inline constexpr int SB_LINERIGHT = 1;
inline constexpr int SB_PAGEUP = 2;
inline constexpr int SB_PAGELEFT = 2;
inline constexpr int SB_PAGEDOWN = 3;
inline constexpr int SB_PAGERIGHT = 3;
inline constexpr int SB_THUMBPOSITION = 4;
inline constexpr int SB_THUMBTRACK = 5;
inline constexpr int SB_TOP = 6;
inline constexpr int SB_LEFT = 6;
inline constexpr int SB_BOTTOM = 7;
inline constexpr int SB_RIGHT = 7;
inline constexpr int SB_ENDSCROLL = 8;
inline constexpr std::uint32_t SIF_RANGE = 0x0001;
inline constexpr std::uint32_t SIF_PAGE = 0x0002;
inline constexpr std::uint32_t SIF_POS = 0x0004;
inline constexpr std::uint32_t SIF_DISABLENOSCROLL = 0x0008;
inline constexpr std::uint32_t SIF_TRACKPOS = 0x0010;
inline constexpr std::uint32_t SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// --- GetWindow relations (GW_) ------------------------------------------------
inline constexpr int GW_HWNDFIRST = 0;
inline constexpr int GW_HWNDLAST = 1;
inline constexpr int GW_HWNDNEXT = 2;
inline constexpr int GW_HWNDPREV = 3;
inline constexpr int GW_OWNER = 4;
inline constexpr int GW_CHILD = 5;

// --- Virtual keys (VK_) -------------------------------------------------------
inline constexpr std::uint8_t VK_LBUTTON = 0x01;
inline constexpr std::uint8_t VK_RBUTTON = 0x02;
inline constexpr std::uint8_t VK_MBUTTON = 0x04;
inline constexpr std::uint8_t VK_BACK = 0x08;
inline constexpr std::uint8_t VK_TAB = 0x09;
inline constexpr std::uint8_t VK_RETURN = 0x0D;
inline constexpr std::uint8_t VK_SHIFT = 0x10;
inline constexpr std::uint8_t VK_CONTROL = 0x11;
inline constexpr std::uint8_t VK_MENU = 0x12;  // Alt
inline constexpr std::uint8_t VK_PAUSE = 0x13;
inline constexpr std::uint8_t VK_CAPITAL = 0x14;
inline constexpr std::uint8_t VK_ESCAPE = 0x1B;
inline constexpr std::uint8_t VK_SPACE = 0x20;
inline constexpr std::uint8_t VK_PRIOR = 0x21;  // Page Up
inline constexpr std::uint8_t VK_NEXT = 0x22;   // Page Down
inline constexpr std::uint8_t VK_END = 0x23;
inline constexpr std::uint8_t VK_HOME = 0x24;
inline constexpr std::uint8_t VK_LEFT = 0x25;
inline constexpr std::uint8_t VK_UP = 0x26;
inline constexpr std::uint8_t VK_RIGHT = 0x27;
inline constexpr std::uint8_t VK_DOWN = 0x28;
inline constexpr std::uint8_t VK_INSERT = 0x2D;
inline constexpr std::uint8_t VK_DELETE = 0x2E;
inline constexpr std::uint8_t VK_NUMPAD0 = 0x60;
inline constexpr std::uint8_t VK_NUMPAD9 = 0x69;
inline constexpr std::uint8_t VK_MULTIPLY = 0x6A;
inline constexpr std::uint8_t VK_ADD = 0x6B;
inline constexpr std::uint8_t VK_SUBTRACT = 0x6D;
inline constexpr std::uint8_t VK_DECIMAL = 0x6E;
inline constexpr std::uint8_t VK_DIVIDE = 0x6F;
inline constexpr std::uint8_t VK_F1 = 0x70;
inline constexpr std::uint8_t VK_F4 = 0x73;
inline constexpr std::uint8_t VK_F6 = 0x75;
inline constexpr std::uint8_t VK_F10 = 0x79;
inline constexpr std::uint8_t VK_F15 = 0x7E;
inline constexpr std::uint8_t VK_NUMLOCK = 0x90;
inline constexpr std::uint8_t VK_OEM_1 = 0xBA;       // ;
inline constexpr std::uint8_t VK_OEM_PLUS = 0xBB;    // =
inline constexpr std::uint8_t VK_OEM_COMMA = 0xBC;
inline constexpr std::uint8_t VK_OEM_MINUS = 0xBD;
inline constexpr std::uint8_t VK_OEM_PERIOD = 0xBE;
inline constexpr std::uint8_t VK_OEM_2 = 0xBF;       // /
inline constexpr std::uint8_t VK_OEM_3 = 0xC0;       // `
inline constexpr std::uint8_t VK_OEM_4 = 0xDB;       // [
inline constexpr std::uint8_t VK_OEM_5 = 0xDC;       // backslash
inline constexpr std::uint8_t VK_OEM_6 = 0xDD;       // ]

// Bits of a key message's lParam.
inline constexpr std::uint32_t KF_EXTENDED_BIT = 1u << 24;
inline constexpr std::uint32_t KF_ALTDOWN_BIT = 1u << 29;
inline constexpr std::uint32_t KF_REPEAT_BIT = 1u << 30;
inline constexpr std::uint32_t KF_UP_BIT = 1u << 31;

// The MDI client's first child id and the default position marker.
inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// Win32's double-click rules: the time and the box around the first click.
inline constexpr std::uint64_t kDoubleClickMilliseconds = 500;
inline constexpr int kDoubleClickWidth = 4;
inline constexpr int kDoubleClickHeight = 4;

// ============================================================================
// Menus, dialogs, caret, cursors, clipboard (the desktop's user interface
// pieces) add their numbers below this line.
// ============================================================================

// --- Menus (MF_, TPM_, MFS_) ----------------------------------------------------
inline constexpr std::uint32_t MF_STRING = 0x0000;
inline constexpr std::uint32_t MF_ENABLED = 0x0000;
inline constexpr std::uint32_t MF_UNCHECKED = 0x0000;
inline constexpr std::uint32_t MF_BYCOMMAND = 0x0000;
inline constexpr std::uint32_t MF_GRAYED = 0x0001;
inline constexpr std::uint32_t MF_DISABLED = 0x0002;
inline constexpr std::uint32_t MF_CHECKED = 0x0008;
inline constexpr std::uint32_t MF_POPUP = 0x0010;
inline constexpr std::uint32_t MF_HILITE = 0x0080;
inline constexpr std::uint32_t MF_BYPOSITION = 0x0400;
inline constexpr std::uint32_t MF_SEPARATOR = 0x0800;
inline constexpr std::uint32_t MF_SYSMENU = 0x2000;
inline constexpr std::uint32_t MF_MOUSESELECT = 0x8000;
inline constexpr std::uint32_t TPM_LEFTBUTTON = 0x0000;
inline constexpr std::uint32_t TPM_RIGHTBUTTON = 0x0002;
inline constexpr std::uint32_t TPM_LEFTALIGN = 0x0000;
inline constexpr std::uint32_t TPM_CENTERALIGN = 0x0004;
inline constexpr std::uint32_t TPM_RIGHTALIGN = 0x0008;
inline constexpr std::uint32_t TPM_TOPALIGN = 0x0000;
inline constexpr std::uint32_t TPM_VCENTERALIGN = 0x0010;
inline constexpr std::uint32_t TPM_BOTTOMALIGN = 0x0020;
inline constexpr std::uint32_t TPM_NONOTIFY = 0x0080;
inline constexpr std::uint32_t TPM_RETURNCMD = 0x0100;

// --- Dialogs: button ids, notifications, styles, message boxes -----------------
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;
inline constexpr int BN_CLICKED = 0;
inline constexpr int EN_CHANGE = 0x0300;
inline constexpr std::uint32_t BS_PUSHBUTTON = 0x0000;
inline constexpr std::uint32_t BS_DEFPUSHBUTTON = 0x0001;
inline constexpr std::uint32_t BS_CHECKBOX = 0x0002;
inline constexpr std::uint32_t BS_AUTOCHECKBOX = 0x0003;
inline constexpr std::uint32_t BM_GETCHECK = 0x00F0;
inline constexpr std::uint32_t BM_SETCHECK = 0x00F1;
inline constexpr int BST_UNCHECKED = 0;
inline constexpr int BST_CHECKED = 1;
inline constexpr std::uint32_t SS_LEFT = 0x0000;
inline constexpr std::uint32_t SS_CENTER = 0x0001;
inline constexpr std::uint32_t SS_RIGHT = 0x0002;
inline constexpr std::uint32_t SS_NOPREFIX = 0x0080;
inline constexpr std::uint32_t ES_AUTOHSCROLL = 0x0080;
inline constexpr std::uint32_t ES_READONLY = 0x0800;
inline constexpr std::uint32_t DS_MODALFRAME = 0x0080;
inline constexpr std::uint32_t DM_GETDEFID = WM_USER + 0;
inline constexpr std::uint32_t DM_SETDEFID = WM_USER + 1;
inline constexpr std::uint32_t WM_GETDLGCODE = 0x0087;
inline constexpr std::uint32_t BM_GETSTATE = 0x00F2;
inline constexpr std::uint32_t BM_SETSTATE = 0x00F3;
inline constexpr std::uint32_t BM_SETSTYLE = 0x00F4;
inline constexpr std::uint32_t BM_CLICK = 0x00F5;
inline constexpr std::uint32_t EM_GETSEL = 0x00B0;
inline constexpr std::uint32_t EM_SETSEL = 0x00B1;
inline constexpr std::uint32_t EM_LIMITTEXT = 0x00C5;
inline constexpr std::uint32_t MB_OK = 0x0000;
inline constexpr std::uint32_t MB_OKCANCEL = 0x0001;
inline constexpr std::uint32_t MB_ABORTRETRYIGNORE = 0x0002;
inline constexpr std::uint32_t MB_YESNOCANCEL = 0x0003;
inline constexpr std::uint32_t MB_YESNO = 0x0004;
inline constexpr std::uint32_t MB_RETRYCANCEL = 0x0005;
inline constexpr std::uint32_t MB_DEFBUTTON2 = 0x0100;
inline constexpr std::uint32_t MB_DEFBUTTON3 = 0x0200;

inline constexpr std::uint32_t LB_ADDSTRING = 0x0180;     // lparam: const char*
inline constexpr std::uint32_t LB_INSERTSTRING = 0x0181;  // wparam: index; lparam: const char*
inline constexpr std::uint32_t LB_DELETESTRING = 0x0182;
inline constexpr std::uint32_t LB_RESETCONTENT = 0x0184;
inline constexpr std::uint32_t LB_SETCURSEL = 0x0186;
inline constexpr std::uint32_t LB_GETCURSEL = 0x0188;
inline constexpr std::uint32_t LB_GETTEXT = 0x0189;       // lparam: std::string* to fill (ours)
inline constexpr std::uint32_t LB_GETTEXTLEN = 0x018A;
inline constexpr std::uint32_t LB_GETCOUNT = 0x018B;
inline constexpr std::uint32_t LB_GETTOPINDEX = 0x018E;
inline constexpr std::uint32_t LB_SETTOPINDEX = 0x0197;
inline constexpr int LB_ERR = -1;
inline constexpr int LBN_SELCHANGE = 1;
inline constexpr int LBN_DBLCLK = 2;
inline constexpr std::uint32_t LBS_NOTIFY = 0x0001;

// --- Clipboard formats (CF_) -----------------------------------------------------
inline constexpr std::uint32_t CF_TEXT = 1;
inline constexpr std::uint32_t CF_BITMAP = 2;
inline constexpr std::uint32_t CF_OEMTEXT = 7;
inline constexpr std::uint32_t CF_DIB = 8;
inline constexpr std::uint32_t CF_UNICODETEXT = 13;
inline constexpr std::uint32_t kFirstRegisteredFormat = 0xC000;
inline constexpr std::uint32_t kLastRegisteredFormat = 0xFFFF;

// --- Cursors: the built-in cursors' resource numbers (IDC_) ---------------------
inline constexpr std::uint32_t IDC_ARROW = 32512;
inline constexpr std::uint32_t IDC_IBEAM = 32513;
inline constexpr std::uint32_t IDC_WAIT = 32514;
inline constexpr std::uint32_t IDC_CROSS = 32515;
inline constexpr std::uint32_t IDC_SIZENWSE = 32642;
inline constexpr std::uint32_t IDC_SIZENESW = 32643;
inline constexpr std::uint32_t IDC_SIZEWE = 32644;
inline constexpr std::uint32_t IDC_SIZENS = 32645;

}  // namespace orvane::desktop
