// The four choices the launcher keeps for the game, the option tables that give the indices
// their meaning, and settings.cfg, through which the game receives them.
#pragma once

#include <stdint.h>
#include <stdio.h>

struct LauncherSettings {
    uint8_t tutorial;       // non-zero: show the in-game tutorial
    int32_t renderMode;     // index into kRenderModes
    int32_t resolution;     // index into kResolutions
    int32_t textureQuality; // index into kTextureQualities
};

// The one record of the process, holding the defaults (1, 1, 2, 1) until a file replaces them.
extern LauncherSettings g_settings;

// A fixed table of option names. Only the first `offered` names appear in the dialog; an
// index from a file may lie anywhere, so lookups go through OptionName.
struct OptionTable {
    const char* const* names;
    int32_t size;
    int32_t offered;
};

extern const OptionTable kRenderModes;      // "Fast", "Normal" offered; "Quality" stored only
extern const OptionTable kResolutions;      // "640x480" .. "1600x1200"
extern const OptionTable kTextureQualities; // "High", "Medium", "Low"

// The name at index, or null when the index lies outside the table.
const char* OptionName(const OptionTable* table, int32_t index);

// settings.cfg is exactly 13 bytes, little-endian, in this order.
enum {
    kSettingsTutorialOffset = 0,
    kSettingsRenderModeOffset = 1,
    kSettingsResolutionOffset = 5,
    kSettingsTextureQualityOffset = 9,
    kSettingsFileSize = 13
};

// Reads the file into g_settings when it opens. Each field takes the stored value when the
// file holds it whole and keeps its current value otherwise; no range check is made.
void LoadSettings(const char* fileName);

// Stands for the platform's durable file replacement: pushing a written file to the disk,
// and putting one file in place of another in a single step. Both answer true on success.
struct FileReplacer {
    bool (*flushToDisk)(FILE* file);
    bool (*replace)(const char* source, const char* target);
};

// The Win32 replacer (FlushFileBuffers, MoveFileExA); only the Windows build has it.
extern const FileReplacer kPlatformFileReplacer;

// Writes g_settings as the 13-byte file. The bytes go to fileName + ".tmp" first and replace
// the file only once they are on disk. When writing or flushing them fails, the old file is
// left whole; when only the replace is refused, or no temporary file can be created, the
// file is written in place. No temporary file is left behind. Failures are not reported.
void SaveSettings(const char* fileName, const FileReplacer* replacer);
