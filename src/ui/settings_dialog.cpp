// The settings dialog. Lists map to option indices by the items' exact text, never by
// position, and an index the dialog does not offer is shown as no selection and kept.

#include "settings_dialog.h"

#include <string.h>

#include "resource.h"

static const char kWebsiteCommand[] = "explorer.exe \"https://www.orbivane.com/\"";

struct ListBinding {
    int controlId;
    const OptionTable* table;
    int32_t LauncherSettings::*field;
};

// The order in which the lists are filled, and in which their first choices are accepted.
static const ListBinding kLists[] = {
    {IDC_RENDER_MODE, &kRenderModes, &LauncherSettings::renderMode},
    {IDC_RESOLUTION, &kResolutions, &LauncherSettings::resolution},
    {IDC_TEXTURE_QUALITY, &kTextureQualities, &LauncherSettings::textureQuality},
};

static void FillList(HWND dialog, const ListBinding& list, const LauncherSettings* settings)
{
    HWND control = GetDlgItem(dialog, list.controlId);
    SendMessageA(control, CB_RESETCONTENT, 0, 0);
    for (int32_t index = 0; index < list.table->offered; ++index)
        SendMessageA(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(list.table->names[index]));
    // An index outside the table has no name to look for: the list shows no selection.
    const char* name = OptionName(list.table, settings->*list.field);
    if (name != nullptr)
        SendMessageA(control, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
}

// The player accepted a choice (or the dialog re-reads its own): the field becomes the index
// of the offered name equal to the selected text; no selection leaves it as it is.
static void AcceptListChoice(HWND dialog, const ListBinding& list, LauncherSettings* settings)
{
    HWND control = GetDlgItem(dialog, list.controlId);
    char text[256];
    text[0] = '\0';
    const LRESULT selection = SendMessageA(control, CB_GETCURSEL, 0, 0);
    if (selection != CB_ERR) {
        const LRESULT length = SendMessageA(control, CB_GETLBTEXTLEN, static_cast<WPARAM>(selection), 0);
        if (length >= 0 && length < static_cast<LRESULT>(sizeof text))
            SendMessageA(control, CB_GETLBTEXT, static_cast<WPARAM>(selection), reinterpret_cast<LPARAM>(text));
    }
    for (int32_t index = 0; index < list.table->offered; ++index) {
        if (strcmp(list.table->names[index], text) == 0)
            settings->*list.field = index;
    }
}

static INT_PTR OnInitDialog(HWND dialog, SettingsDialogData* data)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
    const LauncherSettings* settings = data->settings;

    RECT frame;
    GetWindowRect(dialog, &frame);
    MoveWindow(dialog, frame.left - 50, frame.top - 80, frame.right - frame.left, frame.bottom - frame.top, TRUE);

    SendDlgItemMessageA(dialog, IDC_TUTORIAL, BM_SETCHECK, settings->tutorial != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    for (const ListBinding& list : kLists)
        FillList(dialog, list, settings);

    // Screen readers name a list by the first static text before it in the z-order, which
    // is the template's order. The template puts both row labels before both lists, so the
    // Resolution list would be announced as "Rendering Mode": that label goes between the
    // lists. Nothing moves on screen, and the tab order, which counts tab stops alone, stays.
    SetWindowPos(FindWindowExA(dialog, nullptr, "Static", "Rendering Mode"), GetDlgItem(dialog, IDC_RESOLUTION), 0,
                 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // Queued, not sent: the modal loop delivers them once the dialog is up, and each list's
    // index is then derived again from what the list shows.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_RESOLUTION, CBN_SELENDOK), 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_RENDER_MODE, CBN_SELENDOK), 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_TEXTURE_QUALITY, CBN_SELENDOK), 0);
    return FALSE; // the platform sets no initial focus
}

static void OnCommand(HWND dialog, SettingsDialogData* data, int controlId, int notification)
{
    for (const ListBinding& list : kLists) {
        if (list.controlId == controlId) {
            if (notification == CBN_SELENDOK)
                AcceptListChoice(dialog, list, data->settings);
            return;
        }
    }
    switch (controlId) {
    case IDC_START:
    case IDC_QUIT:
        EndDialog(dialog, controlId);
        break;
    case IDC_TUTORIAL:
        data->settings->tutorial = SendDlgItemMessageA(dialog, IDC_TUTORIAL, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        break;
    case IDC_WEBSITE:
        data->startProgram(kWebsiteCommand, SW_SHOW); // not reported if it fails
        break;
    default:
        break; // Esc and the close box (IDCANCEL) included: the dialog ends only by its buttons
    }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog, reinterpret_cast<SettingsDialogData*>(lParam));
    case WM_COMMAND: {
        SettingsDialogData* data = reinterpret_cast<SettingsDialogData*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (data != nullptr)
            OnCommand(dialog, data, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    default:
        return FALSE;
    }
}

INT_PTR RunSettingsDialog(HINSTANCE instance, HWND owner, SettingsDialogData* data)
{
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LAUNCHER), owner, SettingsDialogProc,
                           reinterpret_cast<LPARAM>(data));
}
