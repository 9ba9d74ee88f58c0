// The settings dialog for real: its own procedure on its own template, in the platform's
// modal loop, driven by the messages a player's actions produce. A scenario is a list of
// steps; each runs from a message posted after the previous one, so whatever a step posts
// (keys, the dialog's own queued list commands) is delivered before the next step looks.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "resource.h"
#include "settings_dialog.h"

namespace {

const INT_PTR kSentinel = 0x5E57;
const UINT kNextStep = WM_APP + 1;

typedef std::function<void(HWND)> Step;

std::vector<Step> g_steps;
RECT g_placed; // where the platform put the dialog, before it moved itself
RECT g_moved;
std::vector<std::string> g_started;

UINT WINAPI RecordStart(LPCSTR commandLine, UINT show)
{
    g_started.push_back(std::string(commandLine) + " " + std::to_string(show));
    return 33;
}

INT_PTR CALLBACK Driver(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        GetWindowRect(dialog, &g_placed);
        const INT_PTR result = SettingsDialogProc(dialog, message, wParam, lParam);
        GetWindowRect(dialog, &g_moved);
        PostMessageA(dialog, kNextStep, 0, 0);
        return result;
    }
    if (message == kNextStep) {
        const size_t step = wParam;
        if (step < g_steps.size()) {
            g_steps[step](dialog);
            if (IsWindow(dialog))
                PostMessageA(dialog, kNextStep, step + 1, 0);
        } else {
            EndDialog(dialog, kSentinel);
        }
        return TRUE;
    }
    return SettingsDialogProc(dialog, message, wParam, lParam);
}

// Runs the dialog over `settings` with an owner window; returns how it ended.
INT_PTR RunScenario(LauncherSettings* settings, std::vector<Step> steps)
{
    g_steps = std::move(steps);
    g_started.clear();
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 200, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    SettingsDialogData data = {settings, RecordStart};
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LAUNCHER), owner, Driver,
                                           reinterpret_cast<LPARAM>(&data));
    DestroyWindow(owner);
    return result;
}

std::string ListText(HWND dialog, int id)
{
    HWND list = GetDlgItem(dialog, id);
    const LRESULT selection = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (selection == CB_ERR)
        return "(none)";
    char text[256] = "";
    SendMessageA(list, CB_GETLBTEXT, selection, reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<std::string> ListItems(HWND dialog, int id)
{
    HWND list = GetDlgItem(dialog, id);
    std::vector<std::string> items;
    for (LRESULT i = 0; i < SendMessageA(list, CB_GETCOUNT, 0, 0); ++i) {
        char text[256] = "";
        SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

// What the platform does when the player picks an item: select it, then accept it. The item
// is found by its exact text: the platform's own search ignores case.
void Choose(HWND dialog, int id, const char* name, WORD notification = CBN_SELENDOK)
{
    HWND list = GetDlgItem(dialog, id);
    const std::vector<std::string> items = ListItems(dialog, id);
    LRESULT position = CB_ERR;
    for (size_t i = 0; i < items.size() && position == CB_ERR; ++i) {
        if (items[i] == name)
            position = static_cast<LRESULT>(i);
    }
    ASSERT_NE(CB_ERR, position) << name;
    SendMessageA(list, CB_SETCURSEL, position, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(list));
}

void Click(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool Checked(HWND dialog)
{
    return SendDlgItemMessageA(dialog, IDC_TUTORIAL, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Same(const LauncherSettings& a, const LauncherSettings& b)
{
    return a.tutorial == b.tutorial && a.renderMode == b.renderMode && a.resolution == b.resolution &&
           a.textureQuality == b.textureQuality;
}

const LauncherSettings kDefaults = {1, 1, 2, 1};

// The name a screen reader announces for a control without text of its own, by Active
// Accessibility's rule: the text of the first static text control before it in the z-order,
// looking back no further than a control that starts a group of tab stops.
std::string AccessibleName(HWND control)
{
    for (HWND before = GetWindow(control, GW_HWNDPREV); before != nullptr; before = GetWindow(before, GW_HWNDPREV)) {
        const LONG style = GetWindowLongA(before, GWL_STYLE);
        if ((style & (WS_GROUP | WS_TABSTOP)) == (WS_GROUP | WS_TABSTOP))
            break;
        char className[16] = "";
        GetClassNameA(before, className, sizeof className);
        const LONG type = style & SS_TYPEMASK;
        if (lstrcmpiA(className, "Static") == 0 &&
            (type <= SS_RIGHT || type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP)) {
            char text[64] = "";
            GetWindowTextA(before, text, sizeof text);
            return text;
        }
    }
    return "(none)";
}

// The controls the Tab key visits, from the first.
std::vector<int> TabOrder(HWND dialog)
{
    std::vector<int> order;
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (HWND at = first; at != nullptr && order.size() < 20;) {
        order.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(dialog, at, FALSE);
        if (at == first)
            break;
    }
    return order;
}

TEST(SettingsDialog, DefaultsShowUnderTheirOwnLabelsAndStartChangesNothing)
{
    struct Row {
        int list;
        const char* name; // as a screen reader announces it
        const char* shown;
        std::vector<std::string> items;
    };
    const Row rows[] = {
        {IDC_RESOLUTION, "Resolution", "1024x768", {"640x480", "800x600", "1024x768", "1280x1024", "1600x1200"}},
        {IDC_RENDER_MODE, "Rendering Mode", "Normal", {"Fast", "Normal"}},
        {IDC_TEXTURE_QUALITY, "Texture Quality", "Medium", {"High", "Medium", "Low"}},
    };
    LauncherSettings settings = kDefaults;
    const INT_PTR end = RunScenario(&settings, {[&](HWND dialog) {
                                        EXPECT_TRUE(Checked(dialog));
                                        for (const Row& row : rows) {
                                            SCOPED_TRACE(row.name);
                                            EXPECT_EQ(row.name, AccessibleName(GetDlgItem(dialog, row.list)));
                                            EXPECT_EQ(row.shown, ListText(dialog, row.list));
                                            EXPECT_EQ(row.items, ListItems(dialog, row.list));
                                        }
                                        EXPECT_EQ(std::vector<int>({IDC_START, IDC_QUIT, IDC_RESOLUTION, IDC_RENDER_MODE,
                                                                    IDC_TUTORIAL, IDC_WEBSITE, IDC_TEXTURE_QUALITY}),
                                                  TabOrder(dialog));
                                        Click(dialog, IDC_START);
                                    }});
    EXPECT_EQ(IDC_START, end);
    EXPECT_TRUE(Same(kDefaults, settings));
}

TEST(SettingsDialog, MovesItself50LeftAnd80UpFromWhereItWasPlaced)
{
    LauncherSettings settings = kDefaults;
    RECT final = {};
    EXPECT_EQ(IDC_QUIT, RunScenario(&settings, {[&](HWND dialog) {
                                        GetWindowRect(dialog, &final);
                                        Click(dialog, IDC_QUIT);
                                    }}));
    EXPECT_EQ(g_placed.left - 50, final.left);
    EXPECT_EQ(g_placed.top - 80, final.top);
    EXPECT_EQ(g_placed.right - g_placed.left, final.right - final.left);
    EXPECT_EQ(g_placed.bottom - g_placed.top, final.bottom - final.top);
    EXPECT_EQ(g_moved.left, final.left);
}

TEST(SettingsDialog, EachOfferedNameChoosesItsIndex)
{
    struct Choice {
        int list;
        const char* name;
        int32_t LauncherSettings::*field;
        int32_t index;
    };
    const Choice choices[] = {
        {IDC_RENDER_MODE, "Fast", &LauncherSettings::renderMode, 0},
        {IDC_RENDER_MODE, "Normal", &LauncherSettings::renderMode, 1},
        {IDC_RESOLUTION, "640x480", &LauncherSettings::resolution, 0},
        {IDC_RESOLUTION, "800x600", &LauncherSettings::resolution, 1},
        {IDC_RESOLUTION, "1024x768", &LauncherSettings::resolution, 2},
        {IDC_RESOLUTION, "1280x1024", &LauncherSettings::resolution, 3},
        {IDC_RESOLUTION, "1600x1200", &LauncherSettings::resolution, 4},
        {IDC_TEXTURE_QUALITY, "High", &LauncherSettings::textureQuality, 0},
        {IDC_TEXTURE_QUALITY, "Medium", &LauncherSettings::textureQuality, 1},
        {IDC_TEXTURE_QUALITY, "Low", &LauncherSettings::textureQuality, 2},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(c.name);
        LauncherSettings settings = {1, 9, 9, 9}; // nothing offered: the lists start empty
        EXPECT_EQ(IDC_START, RunScenario(&settings, {[&](HWND dialog) {
                                             Choose(dialog, c.list, c.name);
                                             EXPECT_EQ(c.index, settings.*c.field);
                                             Click(dialog, IDC_START);
                                         }}));
        EXPECT_EQ(c.index, settings.*c.field);
    }
}

TEST(SettingsDialog, ListsMapByTextNotPositionAndOnlyOnAcceptance)
{
    LauncherSettings settings = kDefaults;
    EXPECT_EQ(IDC_START,
              RunScenario(&settings, {[&](HWND dialog) {
                                          // Another notification than "selection accepted" does nothing.
                                          Choose(dialog, IDC_RENDER_MODE, "Fast", CBN_SELCHANGE);
                                          EXPECT_EQ(1, settings.renderMode);
                                          // Shift the positions: "Normal" is now item 2, yet means index 1.
                                          HWND list = GetDlgItem(dialog, IDC_RENDER_MODE);
                                          SendMessageA(list, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("normal"));
                                          Choose(dialog, IDC_RENDER_MODE, "Normal");
                                          EXPECT_EQ(1, settings.renderMode);
                                          Choose(dialog, IDC_RENDER_MODE, "Fast");
                                          EXPECT_EQ(0, settings.renderMode);
                                          // A text that is not an offered name, even one differing only in case.
                                          Choose(dialog, IDC_RENDER_MODE, "normal");
                                          EXPECT_EQ(0, settings.renderMode);
                                          Click(dialog, IDC_START);
                                      }}));
    EXPECT_EQ(0, settings.renderMode);
}

TEST(SettingsDialog, IndicesItDoesNotOfferShowNoSelectionAndStay)
{
    const LauncherSettings stored[] = {{1, 2, 2, 1}, {1, 9, 9, 9}, {1, -1, -1, -1}};
    for (const LauncherSettings& s : stored) {
        SCOPED_TRACE(s.renderMode);
        LauncherSettings settings = s;
        EXPECT_EQ(IDC_START, RunScenario(&settings, {[&](HWND dialog) {
                                             EXPECT_EQ("(none)", ListText(dialog, IDC_RENDER_MODE));
                                             EXPECT_EQ(std::vector<std::string>({"Fast", "Normal"}),
                                                       ListItems(dialog, IDC_RENDER_MODE));
                                             EXPECT_EQ(s.resolution == 2 ? "1024x768" : "(none)",
                                                       ListText(dialog, IDC_RESOLUTION));
                                             EXPECT_EQ(s.textureQuality == 1 ? "Medium" : "(none)",
                                                       ListText(dialog, IDC_TEXTURE_QUALITY));
                                             // The accepted command with no selection changes nothing.
                                             SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_RENDER_MODE, CBN_SELENDOK), 0);
                                             Click(dialog, IDC_START);
                                         }}));
        EXPECT_TRUE(Same(s, settings));
    }
}

TEST(SettingsDialog, TutorialByteIsKeptUntilTheBoxIsToggled)
{
    LauncherSettings settings = {7, 1, 2, 1};
    EXPECT_EQ(IDC_START, RunScenario(&settings, {[](HWND dialog) {
                                         EXPECT_TRUE(Checked(dialog));
                                         Click(dialog, IDC_START);
                                     }}));
    EXPECT_EQ(7, settings.tutorial);

    settings = {7, 1, 2, 1};
    EXPECT_EQ(IDC_QUIT, RunScenario(&settings, {[&](HWND dialog) {
                                        Click(dialog, IDC_TUTORIAL);
                                        EXPECT_FALSE(Checked(dialog));
                                        EXPECT_EQ(0, settings.tutorial);
                                        Click(dialog, IDC_TUTORIAL);
                                        EXPECT_EQ(1, settings.tutorial);
                                        Click(dialog, IDC_QUIT);
                                    }}));
    EXPECT_EQ(1, settings.tutorial);

    settings = {0, 1, 2, 1};
    EXPECT_EQ(IDC_START, RunScenario(&settings, {[](HWND dialog) {
                                         EXPECT_FALSE(Checked(dialog));
                                         Click(dialog, IDC_START);
                                     }}));
    EXPECT_EQ(0, settings.tutorial);
}

TEST(SettingsDialog, EscCloseBoxAndVisitWebsiteLeaveItOpen)
{
    LauncherSettings settings = {1, 0, 4, 2};
    const INT_PTR end = RunScenario(
        &settings, {
                       [](HWND dialog) { PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0); },
                       [](HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); },
                       [](HWND dialog) {
                           SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1007, BN_CLICKED), 0);
                           Click(dialog, IDC_WEBSITE);
                       },
                       [](HWND dialog) {
                           EXPECT_EQ("Fast", ListText(dialog, IDC_RENDER_MODE));
                           EXPECT_EQ("1600x1200", ListText(dialog, IDC_RESOLUTION));
                           EXPECT_EQ("Low", ListText(dialog, IDC_TEXTURE_QUALITY));
                       },
                   });
    // Had any of them ended the dialog, the last step would not have run to end it.
    EXPECT_EQ(kSentinel, end);
    EXPECT_TRUE(Same(LauncherSettings{1, 0, 4, 2}, settings));
    EXPECT_EQ(std::vector<std::string>({"explorer.exe \"https://www.orbivane.com/\" 5"}), g_started);
}

TEST(SettingsDialog, EnterEndsItWithStart)
{
    LauncherSettings settings = kDefaults;
    EXPECT_EQ(IDC_START, RunScenario(&settings, {[](HWND dialog) {
                                         PostMessageA(GetDlgItem(dialog, IDC_RESOLUTION), WM_KEYDOWN, VK_RETURN, 0);
                                     },
                                     [](HWND) { ADD_FAILURE() << "Enter did not end the dialog"; }}));
}

// The public wrapper, driven from a second thread as another program would. It waits as
// long as the test may take: one that gave up would leave the dialog open for good.
DWORD WINAPI PressQuitWhenShown(LPVOID)
{
    for (int i = 0; i < 6000; ++i) {
        HWND dialog = FindWindowA("#32770", "Orbivane Alpha Demo 0.1.1 Setup");
        if (dialog != nullptr && IsWindowVisible(dialog)) {
            SendMessageA(GetDlgItem(dialog, IDC_QUIT), BM_CLICK, 0, 0);
            return 0;
        }
        Sleep(10);
    }
    return 1;
}

TEST(RunSettingsDialog, ReturnsTheButtonThatEndedIt)
{
    LauncherSettings settings = kDefaults;
    SettingsDialogData data = {&settings, RecordStart};
    HANDLE driver = CreateThread(nullptr, 0, PressQuitWhenShown, nullptr, 0, nullptr);
    EXPECT_EQ(IDC_QUIT, RunSettingsDialog(GetModuleHandleA(nullptr), nullptr, &data));
    WaitForSingleObject(driver, 5000);
    CloseHandle(driver);
    EXPECT_TRUE(Same(kDefaults, settings));
}

TEST(RunSettingsDialog, AMissingTemplateGivesMinusOne)
{
    LauncherSettings settings = kDefaults;
    SettingsDialogData data = {&settings, RecordStart};
    // A module without the template: the platform cannot show the dialog.
    EXPECT_EQ(-1, RunSettingsDialog(GetModuleHandleA("kernel32.dll"), nullptr, &data));
}

} // namespace
