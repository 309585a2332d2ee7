// USER: modal dialogs from DLGTEMPLATE resources, their buttons, static
// labels and edit boxes.
//
// Implements DialogBoxParamA over the standard (not extended) template form
// that respack writes: a popup window with the template's items as child
// windows of the classes "Button", "Static" and "Edit". The modal loop keeps
// dispatching the messages of every window, so the rest of the program stays
// painted, and returns when the dialog procedure calls EndDialog. Owner-drawn
// buttons and labels are drawn by the dialog procedure through WM_DRAWITEM;
// other buttons and labels paint a plain face. The keyboard works as in
// Windows dialogs: Enter is the default button (IDOK), Escape is IDCANCEL, Tab
// and Shift+Tab move the focus among enabled, visible WS_TABSTOP items.
// The edit box keeps one line of Windows-1252 text with a caret, a selection
// (Shift with the arrows, Home and End, or the mouse) and horizontal scrolling.
// Left out: modeless dialogs, DLGTEMPLATEEX, dialog menus and classes, group
// boxes, check and radio buttons' own drawing, multi-line edit boxes, the
// clipboard.
#pragma once

#include "platform/win/types.h"
#include "platform/win/user.h"

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define WM_GETTEXT 0x000D
#define WM_SETTEXT 0x000C
#define WM_GETTEXTLENGTH 0x000E
#define WM_DRAWITEM 0x002B
#define WM_GETDLGCODE 0x0087
#define WM_INITDIALOG 0x0110
#define WM_CTLCOLORDLG 0x0136
#define DM_GETDEFID (WM_USER + 0)

#define IDOK 1
#define IDCANCEL 2

#define BN_CLICKED 0
#define EN_CHANGE 0x0300

#define BS_PUSHBUTTON 0x00000000L
#define BS_DEFPUSHBUTTON 0x00000001L
#define BS_OWNERDRAW 0x0000000BL
#define BS_TYPEMASK 0x0000000FL
#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_OWNERDRAW 0x0000000DL
#define SS_TYPEMASK 0x0000001FL
#define ES_LEFT 0x0000L
#define ES_AUTOHSCROLL 0x0080L
#define WS_TABSTOP 0x00010000L
#define WS_GROUP 0x00020000L
#define DS_SETFONT 0x40L

#define ODT_BUTTON 4
#define ODT_STATIC 5
#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODA_FOCUS 0x0004
#define ODS_SELECTED 0x0001
#define ODS_DISABLED 0x0004
#define ODS_FOCUS 0x0010

#define EM_GETSEL 0x00B0
#define EM_SETSEL 0x00B1
#define EM_LIMITTEXT 0x00C5

#define DWLP_MSGRESULT 0

typedef struct tagDRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
} DRAWITEMSTRUCT, *LPDRAWITEMSTRUCT;

// A dialog that cannot be made (no template, a bad template, no window)
// returns -1; otherwise the value given to EndDialog.
INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                               DLGPROC dialogProc, LPARAM initParam);
BOOL WINAPI EndDialog(HWND dialog, INT_PTR result);
HWND WINAPI GetDlgItem(HWND dialog, int id);
int WINAPI GetDlgCtrlID(HWND window);
BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text);
UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount);
LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam,
                                   LPARAM lParam);
int WINAPI GetWindowTextA(HWND window, LPSTR text, int maxCount);
int WINAPI GetWindowTextLengthA(HWND window);
BOOL WINAPI MapDialogRect(HWND dialog, LPRECT rect);
HWND WINAPI GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
LRESULT WINAPI DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
