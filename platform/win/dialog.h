// USER: modal dialogs from DLGTEMPLATE resources, their buttons, static
// labels and edit boxes.
//
// Implements DialogBoxParamA over the standard (not extended) template form
// that respack writes, read from RT_DIALOG resources with every size checked:
// a popup window of the class "#32770" at the template's place relative to
// the owner's client area, with the template's items as child windows of the
// classes "Button", "Static" and "Edit" carrying their ids. Dialog units
// become pixels through the base units of the template's font as the layer's
// font engine measures it (the system font without DS_SETFONT), by Windows'
// rule: the average width of the 52 letters and the cell height. The owner's
// top-level window is disabled and deactivated for the dialog; the dialog gets
// WM_INITDIALOG (wParam: the first enabled, visible WS_TABSTOP item, else the
// first enabled item; TRUE gives it the focus, selecting an edit box's text)
// and is then shown. The modal loop keeps dispatching the messages of every
// window, so that the rest of the program stays painted and its timers run,
// and waits as the layer's pump does; it ends at EndDialog, after which the
// dialog is destroyed, the owner enabled and activated again and the focus
// given back to the window that had it. DefDlgProcA is the dialog class's
// procedure: it calls the DLGPROC and does the default work when it returns
// FALSE (focus kept across activation, WM_CLOSE as IDCANCEL, DM_GETDEFID).
// Owner-drawn buttons and SS_OWNERDRAW labels are drawn by the dialog
// procedure through WM_DRAWITEM: ODA_DRAWENTIRE when they paint, ODA_SELECT
// when a button is pressed or released, ODA_FOCUS when it gains or loses the
// focus, with ODS_SELECTED, ODS_FOCUS and ODS_DISABLED, a device context
// clipped to the item and its client rectangle. Other buttons and labels
// paint a plain grey face with their text. Buttons capture the mouse and send
// BN_CLICKED on a release inside; Space clicks the focused button. The keyboard
// works as in Windows dialogs: Enter clicks the focused button, else the
// default id (IDOK, or a BS_DEFPUSHBUTTON's); Escape is IDCANCEL; Tab and
// Shift+Tab move the focus among enabled, visible WS_TABSTOP items, wrapping.
// The edit box keeps one line of Windows-1252 text (EM_LIMITTEXT, 30000 by
// default) with a caret, a selection (Shift with the arrows, Home and End, a
// click, a drag or Shift+click), Backspace and Delete, typing over the
// selection, horizontal scrolling that keeps the caret in view with
// ES_AUTOHSCROLL (without it, typing stops at the box's width), EM_GETSEL,
// EM_SETSEL, WM_SETTEXT, WM_GETTEXT and EN_CHANGE; it draws black text in its
// dialog's font on white, a 1-pixel border with WS_BORDER, and a steady caret.
//
// Left out: modeless dialogs, DLGTEMPLATEEX, dialog menus, classes and list
// boxes, scroll bars and combo boxes (a template naming one cannot be made),
// DS_CENTER and DS_ABSALIGN, group boxes, check and radio buttons' own
// drawing and arrow keys between them, mnemonics, multi-line edit boxes,
// ES_CENTER and ES_RIGHT, the clipboard, undo, word moves, caret blinking,
// DWLP_MSGRESULT and DWLP_USER, WM_CTLCOLOR* messages, WM_ENTERIDLE.
//
// Differs from Windows: there is no non-client area, so WS_BORDER draws no
// frame around the dialog and the window rectangle is the client rectangle;
// the dialog window has WS_CLIPCHILDREN, so that its painting never covers
// its items; WM_SETFONT goes to the items only, not to the dialog; a dialog is
// shown right after WM_INITDIALOG rather than when the queue first runs empty;
// closing the disabled owner during a dialog (the desktop's close button, the
// end of a script) closes the dialog as WM_CLOSE does; Enter clicks a focused
// owner-drawn button too, where Windows sends the default id; a handled
// message returns the DLGPROC's own answer, not DWLP_MSGRESULT.
#pragma once

#include "platform/win/types.h"
#include "platform/win/user.h"

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define WM_GETTEXT 0x000D
#define WM_SETTEXT 0x000C
#define WM_GETTEXTLENGTH 0x000E
#define WM_DRAWITEM 0x002B
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_GETDLGCODE 0x0087
#define WM_INITDIALOG 0x0110
#define WM_CTLCOLORDLG 0x0136
#define DM_GETDEFID (WM_USER + 0)
#define DC_HASDEFID 0x534B

#define IDOK 1
#define IDCANCEL 2

#define BN_CLICKED 0
#define EN_CHANGE 0x0300

// What a control asks of the dialog's keyboard handling (WM_GETDLGCODE).
#define DLGC_WANTARROWS 0x0001
#define DLGC_WANTTAB 0x0002
#define DLGC_WANTALLKEYS 0x0004
#define DLGC_WANTMESSAGE 0x0004
#define DLGC_HASSETSEL 0x0008
#define DLGC_DEFPUSHBUTTON 0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON 0x0040
#define DLGC_WANTCHARS 0x0080
#define DLGC_STATIC 0x0100
#define DLGC_BUTTON 0x2000

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
#define DS_MODALFRAME 0x80L
#define DS_CENTER 0x0800L

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
#define EM_SETLIMITTEXT EM_LIMITTEXT

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
#define DialogBoxA(instance, templateName, owner, dialogProc) \
    DialogBoxParamA(instance, templateName, owner, dialogProc, 0)
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
// Handles a dialog's keyboard message (Tab, Shift+Tab, Enter, Escape) and
// dispatches any other message of the dialog's windows; FALSE when the message
// is not for the dialog. The modal loop calls it for every message.
BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg);
