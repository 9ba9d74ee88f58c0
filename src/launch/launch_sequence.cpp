// The launch pass. It decides only from the detector's status and packed version, runs the
// dialog once, saves whatever the dialog left in the settings record, and starts the game.

#include "launch_sequence.h"

#include "bounded_text.h"
#include "resource.h"

#include <string.h>

static const uint32_t kDirectX9c = 0x00090003u;
static const char kGateCaption[] = "DirectX Version Error";
static const char kSettingsFile[] = "settings.cfg";
static const char kGameCommandLine[] = "quarnel.exe game";

// WinExec answers 31 or less when it started nothing.
static const UINT kLargestStartError = 31;

static int ShowGateMessage(const LaunchPlatform* platform, const char* message)
{
    platform->messageBox(nullptr, message, kGateCaption, MB_OK | MB_ICONINFORMATION);
    return 0;
}

// A game that does not start must not look like a launch that worked: the player is told why.
static int ReportGameNotStarted(const LaunchPlatform* platform, UINT startError)
{
    char reason[192];
    reason[0] = '\0';
    if (startError == 0) {
        BoundedCopy(reason, sizeof reason, "The system is out of memory or resources.");
    } else {
        DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                          FORMAT_MESSAGE_MAX_WIDTH_MASK,
                                      nullptr, startError, 0, reason, sizeof reason, nullptr);
        if (length == 0 || length >= sizeof reason)
            BoundedFormat(reason, sizeof reason, "Error %u.", startError);
        // The system's texts end in a line break the message box does not need.
        size_t end = strlen(reason);
        while (end > 0 && (reason[end - 1] == ' ' || reason[end - 1] == '\r' || reason[end - 1] == '\n'))
            reason[--end] = '\0';
    }

    char message[256];
    BoundedCopy(message, sizeof message, "Orbivane could not be started (quarnel.exe).\n");
    BoundedAppend(message, sizeof message, reason);
    platform->messageBox(nullptr, message, "Orbivane", MB_OK | MB_ICONERROR);
    return 1;
}

int RunLaunchSequence(HINSTANCE instance, const LaunchPlatform* platform)
{
    char message[128];
    char versionText[10];
    uint32_t packed = 0;

    // The DxDiag provider, COM and the dialog all load DLLs by name: a DLL dropped in the
    // game's folder must not be among them.
    platform->narrowDllSearch();
    HRESULT status = platform->detectDirectXVersion(&packed, versionText, sizeof versionText);
    if (FAILED(status)) {
        BoundedFormat(message, sizeof message, "Unknown version of DirectX installed");
        return ShowGateMessage(platform, message);
    }
    if (packed == 0) {
        BoundedCopy(message, sizeof message, "DirectX not installed");
        return ShowGateMessage(platform, message);
    }
    if (packed < kDirectX9c) {
        BoundedFormat(message, sizeof message,
                      "You need DirectX 9.0c or better installed to run Orbivane. \n"
                      "Please download from https://www.microsoft.com/directx.");
        return ShowGateMessage(platform, message);
    }

    HWND owner = platform->createOwnerWindow(instance);
    platform->loadSettings(kSettingsFile);
    INT_PTR endCode = platform->runSettingsDialog(instance, owner);
    platform->saveSettings(kSettingsFile);
    WPARAM lastDrained = platform->drainMessages();

    if (endCode == IDC_QUIT)
        return 0;
    UINT started = platform->startProgram(kGameCommandLine, SW_SHOW);
    if (started <= kLargestStartError)
        return ReportGameNotStarted(platform, started);
    return static_cast<int>(lastDrained);
}

WPARAM DrainThreadMessages()
{
    MSG message;
    ZeroMemory(&message, sizeof message);
    WPARAM last = 0;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
        last = message.wParam;
    }
    return last;
}
