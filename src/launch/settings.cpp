// The settings record and settings.cfg. The file is written field by field in a fixed
// little-endian layout, never as a memory image, so padding and host byte order cannot leak
// into what the game reads.

#include "settings.h"

#include "bounded_text.h"

LauncherSettings g_settings = {1, 1, 2, 1};

static const char* const kRenderModeNames[] = {"Fast", "Normal", "Quality"};
static const char* const kResolutionNames[] = {"640x480", "800x600", "1024x768", "1280x1024", "1600x1200"};
static const char* const kTextureQualityNames[] = {"High", "Medium", "Low"};

const OptionTable kRenderModes = {kRenderModeNames, 3, 2};
const OptionTable kResolutions = {kResolutionNames, 5, 5};
const OptionTable kTextureQualities = {kTextureQualityNames, 3, 3};

const char* OptionName(const OptionTable* table, int32_t index)
{
    if (index < 0 || index >= table->size)
        return nullptr;
    return table->names[index];
}

// A field that the file holds only in part keeps its value.
static void ReadInt32(FILE* file, int32_t* field)
{
    unsigned char bytes[4];
    if (fread(bytes, 1, sizeof bytes, file) != sizeof bytes)
        return;
    *field = static_cast<int32_t>(static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
                                  static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
}

void LoadSettings(const char* fileName)
{
    FILE* file = fopen(fileName, "rb");
    if (file == nullptr)
        return;
    unsigned char tutorial;
    if (fread(&tutorial, 1, 1, file) == 1)
        g_settings.tutorial = tutorial;
    ReadInt32(file, &g_settings.renderMode);
    ReadInt32(file, &g_settings.resolution);
    ReadInt32(file, &g_settings.textureQuality);
    fclose(file);
}

static void PutInt32(unsigned char* at, int32_t value)
{
    const uint32_t bits = static_cast<uint32_t>(value);
    at[0] = static_cast<unsigned char>(bits);
    at[1] = static_cast<unsigned char>(bits >> 8);
    at[2] = static_cast<unsigned char>(bits >> 16);
    at[3] = static_cast<unsigned char>(bits >> 24);
}

static bool WriteAll(FILE* file, const unsigned char* bytes)
{
    return fwrite(bytes, 1, kSettingsFileSize, file) == kSettingsFileSize;
}

static void WriteInPlace(const char* fileName, const unsigned char* bytes)
{
    FILE* file = fopen(fileName, "wb");
    if (file != nullptr) {
        WriteAll(file, bytes);
        fclose(file);
    }
}

void SaveSettings(const char* fileName, const FileReplacer* replacer)
{
    unsigned char bytes[kSettingsFileSize];
    bytes[kSettingsTutorialOffset] = g_settings.tutorial;
    PutInt32(bytes + kSettingsRenderModeOffset, g_settings.renderMode);
    PutInt32(bytes + kSettingsResolutionOffset, g_settings.resolution);
    PutInt32(bytes + kSettingsTextureQualityOffset, g_settings.textureQuality);

    // One fixed name, so a temporary file left by a crash is simply overwritten next time.
    char temporaryName[272];
    FILE* file = nullptr;
    if (BoundedCopy(temporaryName, sizeof temporaryName, fileName) >= 0 &&
        BoundedAppend(temporaryName, sizeof temporaryName, ".tmp") >= 0)
        file = fopen(temporaryName, "wb");

    if (file == nullptr) {
        // Only the file itself may be writable here: the plain in-place write is all there is.
        WriteInPlace(fileName, bytes);
        return;
    }

    bool written = WriteAll(file, bytes);
    written = fflush(file) == 0 && written;
    written = written && replacer->flushToDisk(file);
    written = fclose(file) == 0 && written;
    if (!written) {
        // A full disk or an I/O error: the old file is not risked on a device that fails.
        remove(temporaryName);
        return;
    }
    if (replacer->replace(temporaryName, fileName))
        return;
    // The replace is refused where a plain write still works: a scanner or indexer holding
    // the file open without delete sharing, or a virtualised folder. The bytes are known to
    // fit on the disk, so the player's choices are written in place rather than dropped.
    WriteInPlace(fileName, bytes);
    remove(temporaryName);
}
