// Detection on the real platform: Wine's DirectX diagnostic provider and its system32.

#include <gtest/gtest.h>

#include <dxdiag.h>

#include "dxdiag_query.h"
#include "file_ladder.h"
#include "file_version.h"
#include "version_detector.h"

namespace {

const ComApi kRealCom = {CoInitialize, CoUninitialize, CoCreateInstance};
const LadderPlatform kRealLadder = {GetSystemDirectoryA, ReadFileVersion};

HRESULT RealProvider(int32_t* major, int32_t* minor, char* letter)
{
    return QueryDiagnosticVersion(&kRealCom, major, minor, letter);
}

HRESULT RealFiles(int32_t* major, int32_t* minor, char* letter)
{
    return LadderDirectXVersion(&kRealLadder, major, minor, letter);
}

HRESULT Fails(int32_t*, int32_t*, char*)
{
    return E_FAIL;
}

TEST(RealPlatform, TheHeadersGiveTheProvidersIdentifiers)
{
    const GUID provider = {0xA65B8071, 0x3BFE, 0x4213, {0x9A, 0x5B, 0x49, 0x1D, 0xA4, 0x46, 0x1C, 0xA7}};
    const GUID providerInterface = {0x9C6B4CB0, 0x23F8, 0x49CC, {0xA3, 0xED, 0x45, 0xA5, 0x50, 0x00, 0xA6, 0xD2}};
    EXPECT_TRUE(IsEqualGUID(provider, CLSID_DxDiagProvider));
    EXPECT_TRUE(IsEqualGUID(providerInterface, IID_IDxDiagProvider));
    EXPECT_EQ(sizeof(void*) == 8 ? 24u : 16u, sizeof(DXDIAG_INIT_PARAMS));
}

TEST(RealPlatform, TheProviderAnswers90c)
{
    int32_t major = 0, minor = 0;
    char letter = ' ';
    ASSERT_EQ(S_OK, QueryDiagnosticVersion(&kRealCom, &major, &minor, &letter));
    EXPECT_EQ(9, major);
    EXPECT_EQ(0, minor);
    EXPECT_EQ('c', letter);

    const VersionSources sources = {RealProvider, RealFiles};
    uint32_t packed = 0;
    char text[10];
    EXPECT_EQ(S_OK, DetectDirectXVersion(&sources, &packed, text, sizeof text));
    EXPECT_EQ(0x00090003u, packed);
    EXPECT_STREQ("9.0c", text);
}

TEST(RealPlatform, TheQueryLeavesComAsItFoundIt)
{
    // Initialised by the caller: the query's own S_FALSE is balanced, the caller's stays.
    ASSERT_EQ(S_OK, CoInitialize(nullptr));
    int32_t major = 0;
    EXPECT_EQ(S_OK, QueryDiagnosticVersion(&kRealCom, &major, nullptr, nullptr));
    EXPECT_EQ(S_FALSE, CoInitialize(nullptr)); // still initialised once by us
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(S_OK, CoInitialize(nullptr)); // and now fully undone
    CoUninitialize();
}

TEST(RealPlatform, TheLadderOnSystem32Answers90WithoutALetter)
{
    int32_t major = -1, minor = -1;
    char letter = '?';
    EXPECT_EQ(S_OK, LadderDirectXVersion(&kRealLadder, &major, &minor, &letter));
    EXPECT_EQ(9, major);
    EXPECT_EQ(0, minor);
    EXPECT_EQ(' ', letter);

    // With the provider failing, a 9.0c system is reported as 9.0: the gate asks for 9.0c.
    const VersionSources sources = {Fails, RealFiles};
    uint32_t packed = 0;
    char text[10];
    EXPECT_EQ(S_OK, DetectDirectXVersion(&sources, &packed, text, sizeof text));
    EXPECT_EQ(0x00090000u, packed);
    EXPECT_STREQ("9.0", text);
}

} // namespace
