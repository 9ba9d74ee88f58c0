// The launcher's entry point. It reads nothing from its arguments; it fills the platform
// records with the real routines and runs the launch pass once.

#include <windows.h>

#include "dxdiag_query.h"
#include "file_version.h"
#include "launch_sequence.h"
#include "owner_window.h"
#include "settings.h"
#include "settings_dialog.h"
#include "version_detector.h"

static const ComApi kCom = {CoInitialize, CoUninitialize, CoCreateInstance};
static const LadderPlatform kLadderPlatform = {GetSystemDirectoryA, ReadFileVersion};

static HRESULT AskDiagnosticProvider(int32_t* major, int32_t* minor, char* letter)
{
    return QueryDiagnosticVersion(&kCom, major, minor, letter);
}

static HRESULT AskSystemFiles(int32_t* major, int32_t* minor, char* letter)
{
    return LadderDirectXVersion(&kLadderPlatform, major, minor, letter);
}

static const VersionSources kSources = {AskDiagnosticProvider, AskSystemFiles};

static HRESULT Detect(uint32_t* packed, char* text, int32_t capacity)
{
    return DetectDirectXVersion(&kSources, packed, text, capacity);
}

static void Save(const char* fileName)
{
    SaveSettings(fileName, &kPlatformFileReplacer);
}

static INT_PTR ShowSettingsDialog(HINSTANCE instance, HWND owner)
{
    SettingsDialogData data = {&g_settings, WinExec};
    return RunSettingsDialog(instance, owner, &data);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    static const LaunchPlatform platform = {Detect,  LoadSettings, Save,        CreateOwnerWindow, ShowSettingsDialog,
                                            MessageBoxA, DrainThreadMessages, WinExec};
    return RunLaunchSequence(instance, &platform);
}
