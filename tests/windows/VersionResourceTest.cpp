// The program file data that app/win/Tachocalib.rc gives the tool, read back
// through the system's own calls from this test program, which links the same
// script: the version record (1.1.2.0, Russian, code page 1251, the product
// name) and the manifest (themed common controls 6, no elevation, per-monitor
// dpi awareness).
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr std::wstring_view kProductName = L"Программа записи калибровочных данных";
constexpr WORD kRussian = 0x0419;
constexpr WORD kWindows1251 = 1251;

std::wstring OwnPath() {
  std::wstring path(MAX_PATH, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return path;
}

// The whole version record of this program file, as GetFileVersionInfoW gives it.
std::vector<std::uint8_t> VersionRecord() {
  const std::wstring path = OwnPath();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  std::vector<std::uint8_t> record(size);
  if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, record.data())) record.clear();
  return record;
}

// The value at `key`, or nullptr with length 0.
const void* Query(std::vector<std::uint8_t>& record, const wchar_t* key, UINT& length) {
  void* value = nullptr;
  length = 0;
  if (!VerQueryValueW(record.data(), key, &value, &length)) return nullptr;
  return value;
}

std::wstring QueryText(std::vector<std::uint8_t>& record, const std::wstring& key) {
  UINT length = 0;
  const auto* text = static_cast<const wchar_t*>(Query(record, key.c_str(), length));
  return text ? std::wstring(text) : std::wstring();
}

class VersionRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(record.empty()) << "the program file carries no version record"; }
  std::vector<std::uint8_t> record = VersionRecord();
};

TEST_F(VersionRecordTest, FileAndProductVersionAre1_1_2_0) {
  UINT length = 0;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(Query(record, L"\\", length));
  ASSERT_NE(fixed, nullptr);
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, (1u << 16) | 1u);
  EXPECT_EQ(fixed->dwFileVersionLS, (2u << 16) | 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, (1u << 16) | 1u);
  EXPECT_EQ(fixed->dwProductVersionLS, (2u << 16) | 0u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST_F(VersionRecordTest, TranslationIsRussianInWindows1251Only) {
  UINT length = 0;
  const auto* pairs = static_cast<const WORD*>(Query(record, L"\\VarFileInfo\\Translation", length));
  ASSERT_NE(pairs, nullptr);
  ASSERT_EQ(length, 2 * sizeof(WORD));
  EXPECT_EQ(pairs[0], kRussian);
  EXPECT_EQ(pairs[1], kWindows1251);
}

TEST_F(VersionRecordTest, RussianStringsNameTheProductAndVersion) {
  const std::wstring block = L"\\StringFileInfo\\041904E3\\";
  EXPECT_EQ(QueryText(record, block + L"ProductName"), kProductName);
  EXPECT_EQ(QueryText(record, block + L"FileVersion"), L"1.1.2.0");
  EXPECT_EQ(QueryText(record, block + L"ProductVersion"), L"1.1.2.0");
}

TEST(VersionResource, IsStoredUnderRussian) {
  EXPECT_NE(FindResourceExW(nullptr, MAKEINTRESOURCEW(16), MAKEINTRESOURCEW(1), MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT)),
            nullptr);
}

// The manifest as stored: resource 1 of type RT_MANIFEST, the one the loader reads.
std::string ManifestText() {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  if (!found) return {};
  HGLOBAL loaded = LoadResource(nullptr, found);
  const auto* bytes = static_cast<const char*>(LockResource(loaded));
  return bytes ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

// The attributes of the first element `name` after `from`.
std::map<std::string, std::string> Attributes(const std::string& xml, const std::string& name, std::size_t from = 0) {
  std::map<std::string, std::string> attributes;
  const std::size_t start = xml.find("<" + name, from);
  if (start == std::string::npos) return attributes;
  const std::size_t end = xml.find('>', start);
  std::size_t at = start + name.size() + 1;
  while (at < end) {
    const std::size_t eq = xml.find('=', at);
    if (eq == std::string::npos || eq > end) break;
    std::size_t keyStart = xml.find_first_not_of(" \t\r\n", at);
    const std::string key = xml.substr(keyStart, xml.find_last_not_of(" \t\r\n", eq - 1) + 1 - keyStart);
    const std::size_t open = xml.find_first_of("\"'", eq);
    const std::size_t close = xml.find(xml[open], open + 1);
    attributes[key] = xml.substr(open + 1, close - open - 1);
    at = close + 1;
  }
  return attributes;
}

TEST(Manifest, AsksForCommonControls6) {
  const std::string manifest = ManifestText();
  ASSERT_FALSE(manifest.empty()) << "no RT_MANIFEST resource 1";
  const std::size_t dependency = manifest.find("<dependentAssembly");
  ASSERT_NE(dependency, std::string::npos);
  auto identity = Attributes(manifest, "assemblyIdentity", dependency);
  EXPECT_EQ(identity["type"], "win32");
  EXPECT_EQ(identity["name"], "Microsoft.Windows.Common-Controls");
  EXPECT_EQ(identity["version"], "6.0.0.0");
  EXPECT_EQ(identity["publicKeyToken"], "6595b64144ccf1df");
}

TEST(Manifest, RunsWithTheRightsOfItsUser) {
  const std::string manifest = ManifestText();
  ASSERT_FALSE(manifest.empty());
  auto level = Attributes(manifest, "requestedExecutionLevel");
  EXPECT_EQ(level["level"], "asInvoker");
  EXPECT_EQ(level["uiAccess"], "false");
}

// The text of the first element `name`.
std::string ElementText(const std::string& xml, const std::string& name) {
  const std::size_t start = xml.find("<" + name);
  if (start == std::string::npos) return {};
  const std::size_t open = xml.find('>', start);
  const std::size_t close = xml.find("</" + name, open);
  if (open == std::string::npos || close == std::string::npos) return {};
  return xml.substr(open + 1, close - open - 1);
}

TEST(Manifest, DeclaresPerMonitorDpiAwareness) {
  const std::string manifest = ManifestText();
  ASSERT_FALSE(manifest.empty());
  // Windows 8.1 and 10 before 1607 read dpiAware; later ones read dpiAwareness.
  EXPECT_EQ(ElementText(manifest, "dpiAware"), "true/pm");
  EXPECT_EQ(Attributes(manifest, "dpiAware")["xmlns"], "http://schemas.microsoft.com/SMI/2005/WindowsSettings");
  EXPECT_EQ(ElementText(manifest, "dpiAwareness"), "PerMonitorV2, PerMonitor");
  EXPECT_EQ(Attributes(manifest, "dpiAwareness")["xmlns"], "http://schemas.microsoft.com/SMI/2016/WindowsSettings");
}

// The loader read the manifest: the process's activation context sends
// comctl32.dll to the side-by-side version 6.
TEST(Manifest, LoaderRedirectsComctl32ToVersion6) {
  ACTCTX_SECTION_KEYED_DATA data{};
  data.cbSize = sizeof(data);
  EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"comctl32.dll", &data))
      << "error " << GetLastError();
}

}  // namespace
