// The resources as built into launcher.exe, read back through the platform's resource
// functions: the dialog template field by field, the banner's and the icon's formats, and
// that the executable carries these three and nothing else.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "process_window.h"
#include "resource.h"

namespace {

class LauncherResources : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ASSERT_NE("", LauncherUnderTest()) << "ORBIVANE_LAUNCHER names no launcher to read";
        module_ = LoadLibraryExA(LauncherUnderTest().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module_) << LauncherUnderTest();
    }
    static std::vector<unsigned char> Resource(LPCSTR type, LPCSTR name)
    {
        HRSRC found = FindResourceA(module_, name, type);
        if (found == nullptr)
            return {};
        const unsigned char* data = static_cast<const unsigned char*>(LockResource(LoadResource(module_, found)));
        return std::vector<unsigned char>(data, data + SizeofResource(module_, found));
    }
    static HMODULE module_;
};
HMODULE LauncherResources::module_;

// Reads a dialog template in its extended form.
struct Reader {
    const std::vector<unsigned char>& bytes;
    size_t at = 0;
    uint16_t Word()
    {
        uint16_t value = static_cast<uint16_t>(bytes.at(at) | bytes.at(at + 1) << 8);
        at += 2;
        return value;
    }
    uint32_t Dword()
    {
        uint32_t low = Word();
        return low | static_cast<uint32_t>(Word()) << 16;
    }
    int16_t Short() { return static_cast<int16_t>(Word()); }
    std::string Text()
    {
        std::string text;
        for (uint16_t c = Word(); c != 0; c = Word())
            text += static_cast<char>(c);
        return text;
    }
    // A name or ordinal field, as "#n" for an ordinal.
    std::string NameOrOrdinal()
    {
        if (bytes.at(at) == 0xFF && bytes.at(at + 1) == 0xFF) {
            at += 2;
            return "#" + std::to_string(Word());
        }
        return Text();
    }
    void AlignDword() { at = (at + 3) & ~static_cast<size_t>(3); }
};

std::string ClassName(const std::string& field)
{
    if (field == "#128")
        return "button";
    if (field == "#130")
        return "static";
    if (field == "#133")
        return "combobox";
    std::string lower = field;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

struct ControlRow {
    int32_t id;
    std::string className;
    std::string text;
    uint32_t style;
    int16_t x, y, cx, cy;
};

TEST_F(LauncherResources, DialogTemplateMatchesItsTable)
{
    const std::vector<unsigned char> bytes = Resource(MAKEINTRESOURCEA(5), MAKEINTRESOURCEA(IDD_LAUNCHER));
    ASSERT_FALSE(bytes.empty());
    Reader r{bytes};
    EXPECT_EQ(1, r.Word());      // extended form, version 1
    EXPECT_EQ(0xFFFF, r.Word()); // its signature
    EXPECT_EQ(0u, r.Dword());    // help identifier
    EXPECT_EQ(0u, r.Dword());    // extended style
    EXPECT_EQ(0x80C800C8u, r.Dword());
    const uint16_t count = r.Word();
    EXPECT_EQ(13, count);
    EXPECT_EQ(0, r.Short());
    EXPECT_EQ(0, r.Short());
    EXPECT_EQ(186, r.Short());
    EXPECT_EQ(233, r.Short());
    EXPECT_EQ("", r.NameOrOrdinal()); // no menu
    EXPECT_EQ("", r.NameOrOrdinal()); // the standard dialog class
    EXPECT_EQ("Orbivane Alpha Demo 0.1.1 Setup", r.Text());
    EXPECT_EQ(8, r.Word());
    EXPECT_EQ(400, r.Word());
    EXPECT_EQ(0, bytes.at(r.at++)); // not italic
    EXPECT_EQ(1, bytes.at(r.at++)); // character set
    EXPECT_EQ("MS Shell Dlg", r.Text());

    const ControlRow expected[] = {
        {IDC_START, "button", "Start Orbivane!", 0x50010001, 7, 180, 172, 14},
        {IDC_QUIT, "button", "Quit", 0x50010000, 7, 212, 172, 14},
        {-1, "button", "Video Settings", 0x50000007, 7, 44, 172, 92},
        {-1, "static", "Resolution", 0x50020000, 22, 65, 38, 8},
        {-1, "static", "Rendering Mode", 0x50020000, 22, 88, 53, 8},
        {IDC_RESOLUTION, "combobox", "", 0x50210003, 82, 62, 82, 93},
        {IDC_RENDER_MODE, "combobox", "", 0x50210403, 82, 86, 81, 52},
        {-1, "button", "Help", 0x50000007, 7, 140, 172, 32},
        {IDC_TUTORIAL, "button", "Show In-game Tutorial", 0x50010003, 48, 153, 104, 10},
        {IDC_WEBSITE, "button", "Visit Website", 0x50010000, 7, 196, 172, 14},
        {IDC_BANNER, "static", "#103", 0x5000080E, 7, 7, 172, 31},
        {-1, "static", "Texture Quality", 0x50020000, 22, 111, 51, 8},
        {IDC_TEXTURE_QUALITY, "combobox", "", 0x50210403, 82, 110, 81, 52},
    };
    for (uint16_t i = 0; i < count && i < 13; ++i) {
        const ControlRow& e = expected[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        r.AlignDword();
        EXPECT_EQ(0u, r.Dword()); // help identifier
        EXPECT_EQ(0u, r.Dword()); // extended style
        EXPECT_EQ(e.style, r.Dword());
        EXPECT_EQ(e.x, r.Short());
        EXPECT_EQ(e.y, r.Short());
        EXPECT_EQ(e.cx, r.Short());
        EXPECT_EQ(e.cy, r.Short());
        EXPECT_EQ(static_cast<uint32_t>(e.id), r.Dword());
        EXPECT_EQ(e.className, ClassName(r.NameOrOrdinal()));
        EXPECT_EQ(e.text, r.NameOrOrdinal());
        const uint16_t extra = r.Word();
        r.at += extra;
    }
    EXPECT_LE(r.at, bytes.size());
}

TEST_F(LauncherResources, BannerIsAnUncompressed258By50At24Bits)
{
    const std::vector<unsigned char> bytes = Resource(MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(IDB_BANNER));
    ASSERT_GE(bytes.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER header;
    memcpy(&header, bytes.data(), sizeof header);
    EXPECT_EQ(258, header.biWidth);
    EXPECT_EQ(50, header.biHeight);
    EXPECT_EQ(24, header.biBitCount);
    EXPECT_EQ(static_cast<DWORD>(BI_RGB), header.biCompression);
    EXPECT_GE(bytes.size(), header.biSize + 776u * 50u); // rows of 258 * 3 bytes, padded to 776
}

TEST_F(LauncherResources, IconIsOne32By32ImageOf256Colours)
{
    const std::vector<unsigned char> group = Resource(MAKEINTRESOURCEA(14), MAKEINTRESOURCEA(IDI_LAUNCHER));
    ASSERT_EQ(6u + 14u, group.size()); // the directory header and exactly one entry
    EXPECT_EQ(1, group[2] | group[3] << 8);
    EXPECT_EQ(1, group[4] | group[5] << 8);
    EXPECT_EQ(32, group[6]);
    EXPECT_EQ(32, group[7]);
    EXPECT_EQ(8, group[12] | group[13] << 8);
    const int imageId = group[18] | group[19] << 8;

    const std::vector<unsigned char> image = Resource(MAKEINTRESOURCEA(3), MAKEINTRESOURCEA(imageId));
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    EXPECT_NE(0x89, image[0]) << "a PNG image, not a DIB";
    BITMAPINFOHEADER header;
    memcpy(&header, image.data(), sizeof header);
    EXPECT_EQ(32, header.biWidth);
    EXPECT_EQ(64, header.biHeight); // colour image and mask
    EXPECT_EQ(8, header.biBitCount);
}

BOOL CALLBACK CountName(HMODULE, LPCSTR type, LPSTR name, LONG_PTR found)
{
    char line[64];
    snprintf(line, sizeof line, "%u/%u", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(type)),
             IS_INTRESOURCE(name) ? static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)) : 0u);
    reinterpret_cast<std::vector<std::string>*>(found)->push_back(line);
    return TRUE;
}

BOOL CALLBACK EachType(HMODULE module, LPSTR type, LONG_PTR found)
{
    if (!IS_INTRESOURCE(type)) {
        reinterpret_cast<std::vector<std::string>*>(found)->push_back(std::string("named type ") + type);
        return TRUE;
    }
    EnumResourceNamesA(module, type, CountName, found);
    return TRUE;
}

TEST_F(LauncherResources, CarriesExactlyItsThreeResources)
{
    std::vector<std::string> found;
    EnumResourceTypesA(module_, EachType, reinterpret_cast<LONG_PTR>(&found));
    std::sort(found.begin(), found.end());
    // bitmap 103, the icon image, dialog 101, icon group 104: no version, no manifest.
    const std::vector<std::string> expected = {"14/104", "2/103", "3/1", "5/101"};
    EXPECT_EQ(expected, found);
}

} // namespace
