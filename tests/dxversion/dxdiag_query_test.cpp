// The diagnostic-provider query against fake COM objects that implement the real provider
// and container interfaces and count their references: every failure step, odd property
// types, and the balance of CoInitialize and CoUninitialize.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <dxdiag.h>

#include "dxdiag_query.h"

namespace {

struct Property {
    HRESULT status;
    VARTYPE type;
    ULONG number;
    const wchar_t* text;
};

struct ComScript {
    const char* name;
    HRESULT coInitialize;
    HRESULT create;
    HRESULT initialize;
    HRESULT root;
    HRESULT child;
    Property major;
    Property minor;
    Property letter;
};

struct Observed {
    std::vector<std::string> calls;
    int liveReferences = 0;
    int coInitializeSucceeded = 0;
    int coUninitialize = 0;
    DXDIAG_INIT_PARAMS parameters = {};
    bool holderEmptyOnEveryRead = true;
};

const ComScript* g_script;
Observed g_seen;

std::string Narrow(const wchar_t* text)
{
    std::string narrow;
    for (; *text != L'\0'; ++text)
        narrow += static_cast<char>(*text);
    return narrow;
}

// Reference counting shared by the fakes: every live reference is counted in g_seen, and
// each release is logged with the object's name so the order can be checked.
template <typename Interface>
class Counted : public Interface {
public:
    explicit Counted(const char* name) : name_(name) { ++g_seen.liveReferences; }
    virtual ~Counted() = default;
    STDMETHODIMP QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override
    {
        ++g_seen.liveReferences;
        return ++references_;
    }
    STDMETHODIMP_(ULONG) Release() override
    {
        g_seen.calls.push_back(std::string("Release ") + name_);
        --g_seen.liveReferences;
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

private:
    const char* name_;
    ULONG references_ = 1;
};

class FakeContainer final : public Counted<IDxDiagContainer> {
public:
    using Counted::Counted;
    STDMETHODIMP GetNumberOfChildContainers(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumChildContainerNames(DWORD, LPWSTR, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetChildContainer(LPCWSTR name, IDxDiagContainer** child) override
    {
        g_seen.calls.push_back("GetChildContainer " + Narrow(name));
        *child = nullptr;
        if (FAILED(g_script->child))
            return g_script->child;
        *child = new FakeContainer("system info");
        return S_OK;
    }
    STDMETHODIMP GetNumberOfProps(DWORD*) override { return E_NOTIMPL; }
    STDMETHODIMP EnumPropNames(DWORD, LPWSTR, DWORD) override { return E_NOTIMPL; }
    STDMETHODIMP GetProp(LPCWSTR name, VARIANT* holder) override
    {
        const std::string property = Narrow(name);
        g_seen.calls.push_back("GetProp " + property);
        if (V_VT(holder) != VT_EMPTY)
            g_seen.holderEmptyOnEveryRead = false;
        const Property& p = property == "dwDirectXVersionMajor"   ? g_script->major
                            : property == "dwDirectXVersionMinor" ? g_script->minor
                                                                  : g_script->letter;
        if (FAILED(p.status))
            return p.status;
        V_VT(holder) = p.type;
        if (p.type == VT_BSTR)
            V_BSTR(holder) = SysAllocString(p.text);
        else if (p.type == VT_UNKNOWN)
            V_UNKNOWN(holder) = new FakeContainer("property object"); // released only by VariantClear
        else
            V_UI4(holder) = p.number;
        return S_OK;
    }
};

class FakeProvider final : public Counted<IDxDiagProvider> {
public:
    FakeProvider() : Counted("provider") {}
    STDMETHODIMP Initialize(DXDIAG_INIT_PARAMS* parameters) override
    {
        g_seen.calls.push_back("Initialize");
        g_seen.parameters = *parameters;
        return g_script->initialize;
    }
    STDMETHODIMP GetRootContainer(IDxDiagContainer** root) override
    {
        g_seen.calls.push_back("GetRootContainer");
        *root = nullptr;
        if (FAILED(g_script->root))
            return g_script->root;
        *root = new FakeContainer("root");
        return S_OK;
    }
};

HRESULT WINAPI FakeCoInitialize(LPVOID reserved)
{
    EXPECT_EQ(nullptr, reserved);
    g_seen.calls.push_back("CoInitialize");
    if (SUCCEEDED(g_script->coInitialize))
        ++g_seen.coInitializeSucceeded;
    return g_script->coInitialize;
}

void WINAPI FakeCoUninitialize()
{
    g_seen.calls.push_back("CoUninitialize");
    ++g_seen.coUninitialize;
}

HRESULT WINAPI FakeCoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID interfaceId,
                                    LPVOID* object)
{
    g_seen.calls.push_back("CoCreateInstance");
    EXPECT_TRUE(IsEqualGUID(classId, CLSID_DxDiagProvider));
    EXPECT_TRUE(IsEqualGUID(interfaceId, IID_IDxDiagProvider));
    EXPECT_EQ(nullptr, outer);
    EXPECT_EQ(static_cast<DWORD>(CLSCTX_INPROC_SERVER), context);
    *object = nullptr;
    if (FAILED(g_script->create))
        return g_script->create;
    *object = static_cast<IDxDiagProvider*>(new FakeProvider());
    return S_OK;
}

const ComApi kFakeCom = {FakeCoInitialize, FakeCoUninitialize, FakeCoCreateInstance};

const Property kMajor9 = {S_OK, VT_UI4, 9, nullptr};
const Property kMinor0 = {S_OK, VT_UI4, 0, nullptr};
const Property kLetterC = {S_OK, VT_BSTR, 0, L"c"};
const Property kMissing = {E_FAIL, VT_EMPTY, 0, nullptr};

struct Expected {
    HRESULT status;
    int32_t major; // -5, -5 and '?' are the caller's presets: untouched
    int32_t minor;
    char letter;
};

struct QueryCase {
    ComScript script;
    Expected expected;
};

TEST(QueryDiagnosticVersion, EveryPathReleasesEverythingAndBalancesCom)
{
    const QueryCase cases[] = {
        {{"9.0c", S_OK, S_OK, S_OK, S_OK, S_OK, kMajor9, kMinor0, kLetterC}, {S_OK, 9, 0, 'c'}},
        {{"already initialised", S_FALSE, S_OK, S_OK, S_OK, S_OK, kMajor9, kMinor0, kLetterC}, {S_OK, 9, 0, 'c'}},
        {{"CoInitialize fails", RPC_E_CHANGED_MODE, S_OK, S_OK, S_OK, S_OK, kMajor9, kMinor0, kLetterC},
         {S_OK, 9, 0, 'c'}},
        {{"not registered", S_OK, REGDB_E_CLASSNOTREG, S_OK, S_OK, S_OK, kMajor9, kMinor0, kLetterC},
         {E_FAIL, -5, -5, '?'}},
        {{"Initialize refused", S_OK, S_OK, E_INVALIDARG, S_OK, S_OK, kMajor9, kMinor0, kLetterC},
         {E_FAIL, -5, -5, '?'}},
        {{"no root", S_OK, S_OK, S_OK, E_FAIL, S_OK, kMajor9, kMinor0, kLetterC}, {E_FAIL, -5, -5, '?'}},
        {{"no system info", S_OK, S_OK, S_OK, S_OK, E_INVALIDARG, kMajor9, kMinor0, kLetterC},
         {E_FAIL, -5, -5, '?'}},
        {{"major missing", S_OK, S_OK, S_OK, S_OK, S_OK, kMissing, kMinor0, kLetterC}, {E_FAIL, -5, 0, 'c'}},
        {{"major signed", S_OK, S_OK, S_OK, S_OK, S_OK, {S_OK, VT_I4, 9, nullptr}, kMinor0, kLetterC},
         {E_FAIL, -5, 0, 'c'}},
        {{"major as text", S_OK, S_OK, S_OK, S_OK, S_OK, {S_OK, VT_BSTR, 0, L"9"}, kMinor0, kLetterC},
         {E_FAIL, -5, 0, 'c'}},
        {{"minor missing", S_OK, S_OK, S_OK, S_OK, S_OK, kMajor9, kMissing, kLetterC}, {E_FAIL, 9, -5, 'c'}},
        {{"letter missing", S_OK, S_OK, S_OK, S_OK, S_OK, kMajor9, kMinor0, kMissing}, {E_FAIL, 9, 0, '?'}},
        {{"letter empty", S_OK, S_OK, S_OK, S_OK, S_OK, kMajor9, kMinor0, {S_OK, VT_BSTR, 0, L""}},
         {E_FAIL, 9, 0, '?'}},
        {{"letter as number", S_OK, S_OK, S_OK, S_OK, S_OK, kMajor9, kMinor0, {S_OK, VT_UI4, 99, nullptr}},
         {E_FAIL, 9, 0, '?'}},
        {{"letter as an object", S_OK, S_OK, S_OK, S_OK, S_OK, kMajor9, kMinor0, {S_OK, VT_UNKNOWN, 0, nullptr}},
         {E_FAIL, 9, 0, '?'}},
        {{"major as an object", S_OK, S_OK, S_OK, S_OK, S_OK, {S_OK, VT_UNKNOWN, 0, nullptr}, kMinor0, kLetterC},
         {E_FAIL, -5, 0, 'c'}},
        {{"large unsigned stored bit for bit", S_OK, S_OK, S_OK, S_OK, S_OK, {S_OK, VT_UI4, 0xFFFFFFFFu, nullptr},
          {S_OK, VT_UI4, 0x80000000u, nullptr}, kLetterC},
         {S_OK, -1, INT32_MIN, 'c'}},
        {{"nine characters fit", S_OK, S_OK, S_OK, S_OK, S_OK, kMajor9, kMinor0, {S_OK, VT_BSTR, 0, L"bcdefghij"}},
         {S_OK, 9, 0, 'b'}},
        {{"ten characters do not fit: NUL", S_OK, S_OK, S_OK, S_OK, S_OK, kMajor9, kMinor0,
          {S_OK, VT_BSTR, 0, L"bcdefghijk"}},
         {S_OK, 9, 0, '\0'}},
    };
    for (const QueryCase& c : cases) {
        SCOPED_TRACE(c.script.name);
        g_script = &c.script;
        g_seen = Observed();
        int32_t major = -5, minor = -5;
        char letter = '?';
        EXPECT_EQ(c.expected.status, QueryDiagnosticVersion(&kFakeCom, &major, &minor, &letter));
        EXPECT_EQ(c.expected.major, major);
        EXPECT_EQ(c.expected.minor, minor);
        EXPECT_EQ(c.expected.letter, letter);
        EXPECT_EQ(0, g_seen.liveReferences);
        EXPECT_EQ(g_seen.coInitializeSucceeded, g_seen.coUninitialize);
        EXPECT_TRUE(g_seen.holderEmptyOnEveryRead);
    }
}

TEST(QueryDiagnosticVersion, CallsInOrderAndReleasesNewestFirst)
{
    const ComScript script = {"9.0c", S_OK, S_OK, S_OK, S_OK, S_OK, kMissing, kMinor0, kLetterC};
    g_script = &script;
    g_seen = Observed();
    int32_t major = 0, minor = 0;
    char letter = ' ';
    EXPECT_EQ(E_FAIL, QueryDiagnosticVersion(&kFakeCom, &major, &minor, &letter));
    const std::vector<std::string> expected = {
        "CoInitialize", "CoCreateInstance", "Initialize", "GetRootContainer", "GetChildContainer DxDiag_SystemInfo",
        "GetProp dwDirectXVersionMajor", "GetProp dwDirectXVersionMinor", "GetProp szDirectXVersionLetter",
        "Release system info", "Release root", "Release provider", "CoUninitialize"};
    EXPECT_EQ(expected, g_seen.calls);

    EXPECT_EQ(sizeof(DXDIAG_INIT_PARAMS), g_seen.parameters.dwSize);
    EXPECT_EQ(111u, g_seen.parameters.dwDxDiagHeaderVersion);
    EXPECT_FALSE(g_seen.parameters.bAllowWHQLChecks);
    EXPECT_EQ(nullptr, g_seen.parameters.pReserved);
}

TEST(QueryDiagnosticVersion, NullOutputsWriteNothing)
{
    const ComScript script = {"9.0c", S_OK, S_OK, S_OK, S_OK, S_OK, kMajor9, kMinor0, kLetterC};
    g_script = &script;
    g_seen = Observed();
    EXPECT_EQ(S_OK, QueryDiagnosticVersion(&kFakeCom, nullptr, nullptr, nullptr));
    EXPECT_EQ(0, g_seen.liveReferences);
    EXPECT_EQ(1, g_seen.coUninitialize);
}

} // namespace
