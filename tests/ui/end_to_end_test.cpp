// The real launcher.exe that ORBIVANE_LAUNCHER names (this build's, or another build's) as a
// player meets it: copied into a fresh folder (with or without the stand-in game), started as
// its own process, and driven from outside through its windows.

#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process_window.h"
#include "resource.h"
#include "temp_folder.h"

namespace {

const char kDialogCaption[] = "Orbivane Alpha Demo 0.1.1 Setup";
const std::vector<unsigned char> kDefaultBytes = {0x01, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00,
                                                  0x00, 0x00, 0x01, 0x00, 0x00, 0x00};

// A fresh folder holding launcher.exe and, when asked, the stand-in game.
std::string PrepareFolder(bool withGame)
{
    const std::string folder = MakeTempFolder();
    EXPECT_TRUE(CopyFileA(LauncherUnderTest().c_str(), PathIn(folder, "launcher.exe").c_str(), FALSE))
        << LauncherUnderTest();
    if (withGame) {
        EXPECT_TRUE(CopyFileA(PathIn(TestProgramFolder(), "quarnel.exe").c_str(), PathIn(folder, "quarnel.exe").c_str(), FALSE));
    }
    return folder;
}

struct Launched {
    PROCESS_INFORMATION process;
    HANDLE job; // the launcher and every program it starts
    std::string folder;
    DWORD programsStarted; // counted by the job once the launcher has ended
};

// Starts the launcher in its folder, inside a job of its own.
Launched Launch(const std::string& folder)
{
    Launched launched = {{}, CreateJobObjectA(nullptr, nullptr), folder, 0};
    EXPECT_NE(nullptr, launched.job);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string program = PathIn(folder, "launcher.exe");
    if (!CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, folder.c_str(),
                        &startup, &launched.process)) {
        const DWORD error = GetLastError();
        ADD_FAILURE() << "the launcher could not be started: error " << error;
        CloseHandle(launched.job);
    } else {
        EXPECT_TRUE(AssignProcessToJobObject(launched.job, launched.process.hProcess));
        ResumeThread(launched.process.hThread);
    }
    return launched;
}

HWND FindOnce(const Launched& launched, const char* className, const char* caption)
{
    return FindProcessWindow(launched.process.dwProcessId, className, caption);
}

// Waits until the process shows a visible window of that class and caption. A launcher that
// ends first is reported with its exit status, which tells a crash from an early return.
HWND WaitForWindow(const Launched& launched, const char* className, const char* caption)
{
    if (launched.process.hProcess == nullptr)
        return nullptr; // never started: reported as it failed
    for (int i = 0; i < 3000; ++i) {
        if (HWND window = FindOnce(launched, className, caption))
            return window;
        if (WaitForSingleObject(launched.process.hProcess, 10) == WAIT_OBJECT_0) {
            DWORD status = 0;
            GetExitCodeProcess(launched.process.hProcess, &status);
            ADD_FAILURE() << "the launcher ended with status 0x" << std::hex << status << " before showing \""
                          << caption << "\"";
            return nullptr;
        }
    }
    return nullptr;
}

// The names of the running programs this process started: a launcher that does not end while
// its game runs waits on the game, one with none never got the game going.
std::string ProgramsStartedBy(DWORD processId)
{
    std::string names;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return " (no list of processes)";
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == processId)
            names += std::string(" ") + entry.szExeFile;
    }
    CloseHandle(snapshot);
    return names.empty() ? " none" : names;
}

// Waits for the launcher to end (ending it when it does not) and returns its exit code. The
// programs it started are counted then: the job counts every process it ever held, so a game
// started where none should be shows at once, where its log would come late or never.
DWORD WaitForExit(Launched& launched, DWORD milliseconds = 60000)
{
    DWORD code = 0xDEAD;
    if (launched.process.hProcess == nullptr)
        return code;
    if (WaitForSingleObject(launched.process.hProcess, milliseconds) != WAIT_OBJECT_0) {
        ADD_FAILURE() << "the launcher did not end; programs it started that still run:"
                      << ProgramsStartedBy(launched.process.dwProcessId);
        TerminateProcess(launched.process.hProcess, 0xDEAD);
        WaitForSingleObject(launched.process.hProcess, 5000);
    }
    GetExitCodeProcess(launched.process.hProcess, &code);
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    EXPECT_TRUE(QueryInformationJobObject(launched.job, JobObjectBasicAccountingInformation, &accounting,
                                          sizeof accounting, nullptr));
    launched.programsStarted = accounting.TotalProcesses - 1;
    CloseHandle(launched.job);
    CloseHandle(launched.process.hProcess);
    CloseHandle(launched.process.hThread);
    launched.process = {};
    return code;
}

// Every run is ended, whatever the test found: a launcher left waiting must not block the next.
class Launcher : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE("", LauncherUnderTest()) << "ORBIVANE_LAUNCHER names no launcher to drive";
        // Wine starts its desktop process for the first program that needs a window, as a
        // child of that program: held by this one, it is never among the launcher's.
        GetDesktopWindow();
    }
    Launched& Start(const std::string& folder)
    {
        launched_ = Launch(folder);
        return launched_;
    }
    void TearDown() override
    {
        if (launched_.process.hProcess != nullptr)
            WaitForExit(launched_, 0);
    }
    Launched launched_ = {};
};

void Press(HWND dialog, int id)
{
    DWORD_PTR ignored;
    SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

void Choose(HWND dialog, int id, const char* name)
{
    HWND list = GetDlgItem(dialog, id);
    const LRESULT position = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
    ASSERT_NE(CB_ERR, position) << name;
    SendMessageA(list, CB_SETCURSEL, position, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
}

// The game runs on its own: wait for its log.
std::string GameLog(const std::string& folder)
{
    std::vector<unsigned char> bytes;
    for (int i = 0; i < 200; ++i) {
        if (ReadBytes(PathIn(folder, "game.log"), &bytes) && !bytes.empty() && bytes.back() == '\n')
            break;
        Sleep(50);
    }
    return std::string(bytes.begin(), bytes.end());
}

std::string MessageText(HWND box)
{
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return text;
}

TEST_F(Launcher, StartWithNoFileSavesTheDefaultsThenStartsTheGame)
{
    Launched& launched = Start(PrepareFolder(true));
    HWND dialog = WaitForWindow(launched, "#32770", kDialogCaption);
    ASSERT_NE(nullptr, dialog);
    EXPECT_NE(nullptr, FindOnce(launched, "fooclass", "Orbivane")) << "the owner window is shown";
    EXPECT_EQ(FindOnce(launched, "fooclass", "Orbivane"), GetWindow(dialog, GW_OWNER));
    Press(dialog, IDC_START);
    WaitForExit(launched);
    EXPECT_EQ(1u, launched.programsStarted);

    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadBytes(PathIn(launched.folder, "settings.cfg"), &bytes));
    EXPECT_EQ(kDefaultBytes, bytes);
    // The game found the saved file: the save came before the start.
    EXPECT_EQ("command line: quarnel.exe game\nshow: 5\nsettings: 01 01 00 00 00 02 00 00 00 01 00 00 00\n",
              GameLog(launched.folder));
}

TEST_F(Launcher, QuitSavesAndStartsNothing)
{
    const std::string folder = PrepareFolder(true);
    ASSERT_TRUE(WriteBytes(PathIn(folder, "settings.cfg"), {0x07, 0x02, 0x00, 0x00, 0x00}));
    Launched& launched = Start(folder);
    HWND dialog = WaitForWindow(launched, "#32770", kDialogCaption);
    ASSERT_NE(nullptr, dialog);
    Press(dialog, IDC_QUIT);
    EXPECT_EQ(0u, WaitForExit(launched));
    EXPECT_EQ(0u, launched.programsStarted);

    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadBytes(PathIn(folder, "settings.cfg"), &bytes));
    const std::vector<unsigned char> expected = {0x07, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00,
                                                 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
    EXPECT_EQ(expected, bytes);
}

TEST_F(Launcher, ChangedChoicesReachTheFileAndTheGame)
{
    Launched& launched = Start(PrepareFolder(true));
    HWND dialog = WaitForWindow(launched, "#32770", kDialogCaption);
    ASSERT_NE(nullptr, dialog);
    Choose(dialog, IDC_RESOLUTION, "1600x1200");
    Choose(dialog, IDC_RENDER_MODE, "Fast");
    Choose(dialog, IDC_TEXTURE_QUALITY, "Low");
    Press(dialog, IDC_TUTORIAL);
    Press(dialog, IDC_START);
    WaitForExit(launched);

    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadBytes(PathIn(launched.folder, "settings.cfg"), &bytes));
    const std::vector<unsigned char> expected = {0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00,
                                                 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
    EXPECT_EQ(expected, bytes);
    EXPECT_NE(std::string::npos,
              GameLog(launched.folder).find("settings: 00 00 00 00 00 04 00 00 00 02 00 00 00\n"));
}

TEST_F(Launcher, AMissingGameIsReportedToThePlayer)
{
    Launched& launched = Start(PrepareFolder(false));
    HWND dialog = WaitForWindow(launched, "#32770", kDialogCaption);
    ASSERT_NE(nullptr, dialog);
    Press(dialog, IDC_START);
    HWND box = WaitForWindow(launched, "#32770", "Orbivane");
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(0u, MessageText(box).find("Orbivane could not be started")) << MessageText(box);
    Press(box, IDOK);
    EXPECT_EQ(1u, WaitForExit(launched));
    EXPECT_EQ(0u, launched.programsStarted);

    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadBytes(PathIn(launched.folder, "settings.cfg"), &bytes));
    EXPECT_EQ(kDefaultBytes, bytes);
}

// Run with Wine's DxDiag provider disabled (a "dxdiagn=" entry in WINEDLLOVERRIDES, set by
// the test's environment): the file ladder then answers 9.0, below 9.0c.
TEST_F(Launcher, GateWithoutTheProviderAsksFor90c)
{
    char overrides[256] = "";
    GetEnvironmentVariableA("WINEDLLOVERRIDES", overrides, sizeof overrides);
    ASSERT_NE(nullptr, strstr(overrides, "dxdiagn=")) << "run this test with the provider disabled";
    const std::vector<unsigned char> stored = {0x00, 0x01, 0x00, 0x00, 0x00, 0x04, 0x00};
    for (bool withFile : {true, false}) {
        SCOPED_TRACE(withFile ? "with a settings file" : "without one");
        const std::string folder = PrepareFolder(true);
        if (withFile) {
            ASSERT_TRUE(WriteBytes(PathIn(folder, "settings.cfg"), stored));
        }
        Launched& launched = Start(folder);
        HWND box = WaitForWindow(launched, "#32770", "DirectX Version Error");
        ASSERT_NE(nullptr, box);
        EXPECT_EQ("You need DirectX 9.0c or better installed to run Orbivane. \n"
                  "Please download from https://www.microsoft.com/directx.",
                  MessageText(box));
        EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER));
        EXPECT_EQ(nullptr, FindOnce(launched, "fooclass", nullptr)) << "no owner window before the gate passes";
        Press(box, IDOK);
        EXPECT_EQ(0u, WaitForExit(launched));
        EXPECT_EQ(0u, launched.programsStarted);

        std::vector<unsigned char> bytes;
        EXPECT_EQ(withFile, ReadBytes(PathIn(folder, "settings.cfg"), &bytes));
        if (withFile) {
            EXPECT_EQ(stored, bytes);
        }
    }
}

} // namespace
