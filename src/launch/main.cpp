// The launcher's entry point. It reads nothing from its arguments; it fills the platform
// records with the real routines and runs the launch pass once.

#include <windows.h>

// With the DLL runtime (/MD), a Visual Studio build would need the runtime's DLL
// (vcruntime140.dll) beside the launcher, where players have none.
#if defined(_MSC_VER) && defined(_DLL)
#error "the launcher carries its C runtime: build it with the static one (/MT, MSVC_RUNTIME_LIBRARY MultiThreaded)"
#endif

#include "dxdiag_query.h"
#include "file_version.h"
#include "launch_sequence.h"
#include "owner_window.h"
#include "settings.h"
#include "settings_dialog.h"
#include "system_dlls.h"
#include "version_detector.h"

// The tables below reach the platform through small functions of the launcher's own. The
// address of a function imported from a DLL is known only once the loader has bound it, so a
// table holding one would be filled by code run before WinMain, which not every C runtime's
// start-up runs; the address of the launcher's own function is a constant the image holds.
static HRESULT WINAPI InitializeCom(LPVOID reserved)
{
    return CoInitialize(reserved);
}

static void WINAPI UninitializeCom()
{
    CoUninitialize();
}

static HRESULT WINAPI CreateComObject(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID interfaceId,
                                      LPVOID* object)
{
    return CoCreateInstance(classId, outer, context, interfaceId, object);
}

static UINT WINAPI SystemDirectory(char* buffer, UINT size)
{
    return GetSystemDirectoryA(buffer, size);
}

static int WINAPI ShowMessage(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    return MessageBoxA(owner, text, caption, style);
}

static UINT WINAPI StartProgram(LPCSTR commandLine, UINT showCommand)
{
    return WinExec(commandLine, showCommand);
}

static const ComApi kCom = {InitializeCom, UninitializeCom, CreateComObject};
static const LadderPlatform kLadderPlatform = {SystemDirectory, ReadFileVersion};

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

static void NarrowSearch()
{
    const DllLoaderApi loader = KernelDllLoader();
    NarrowDllSearch(&loader);
}

static INT_PTR ShowSettingsDialog(HINSTANCE instance, HWND owner)
{
    SettingsDialogData data = {&g_settings, StartProgram};
    return RunSettingsDialog(instance, owner, &data);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    static const LaunchPlatform platform = {NarrowSearch,       Detect,      LoadSettings,        Save,
                                            CreateOwnerWindow,  ShowSettingsDialog, ShowMessage, DrainThreadMessages,
                                            StartProgram};
    return RunLaunchSequence(instance, &platform);
}
