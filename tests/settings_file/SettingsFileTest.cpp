#include "SettingsFile.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "SettingsFileName.h"
#include "SettingsText.h"
#include "SettingsTestSupport.h"

namespace tacho {
namespace {

using test::kStartUpFile;
using test::kToday;
using test::Open;
using test::ReadBytes;
using test::Save;
using test::StateOf;
using test::TempDir;
using test::WriteBytes;
using BoxKind = FormModel::BoxKind;

TEST(SaveSettings, RightAfterStartWritesTheStartUpEntries) {
  TempDir dir;
  FormModel form(kToday);
  Save(form, dir.Name(u"start.txt"));
  EXPECT_EQ(ReadBytes(dir.path() / "start.txt"), kStartUpFile);
  EXPECT_TRUE(form.boxes.empty());
}

TEST(SaveSettings, ProposesTheRegistrationNumberAndAddsTxt) {
  TempDir dir;
  FormModel form(kToday);
  form.SetText(ControlId::sEdit_VRN, u"А123ВС77");
  Save(form, dir.Name(u"А123ВС77"));
  EXPECT_EQ(form.proposedSaveNames, std::vector<std::u16string>{u"А123ВС77"});
  EXPECT_EQ(dir.Entries(), std::vector<std::u16string>{u"А123ВС77.txt"});
}

TEST(SaveSettings, ChosenNameGetsTxtUnlessItEndsInLowerCaseTxt) {
  TempDir dir;
  FormModel form(kToday);
  Save(form, dir.Name(u"a.TXT"));
  Save(form, dir.Name(u"b."));
  Save(form, dir.Name(u"c.txt"));
  EXPECT_EQ(dir.Entries(), (std::vector<std::u16string>{u"a.TXT.txt", u"b..txt", u"c.txt"}));
}

TEST(SaveSettings, CancelledDialogWritesNothing) {
  TempDir dir;
  FormModel form(kToday);
  Save(form, std::nullopt);
  EXPECT_TRUE(dir.Entries().empty());
  EXPECT_TRUE(form.boxes.empty());
  EXPECT_EQ(form.proposedSaveNames, std::vector<std::u16string>{u""});
}

TEST(SaveSettings, ReplacesAnExistingFileLeavingNoScratchFile) {
  TempDir dir;
  WriteBytes(dir.path() / "s.txt", "old contents, longer than the new ones will be, so that a short write shows");
  FormModel form(kToday);
  Save(form, dir.Name(u"s.txt"));
  EXPECT_EQ(ReadBytes(dir.path() / "s.txt"), kStartUpFile);
  EXPECT_EQ(dir.Entries(), std::vector<std::u16string>{u"s.txt"});
  EXPECT_TRUE(form.boxes.empty());
}

// The reason is the system's own text, which differs between systems; the
// POSIX tests check the words.
TEST(SaveSettings, FileThatCannotBeCreatedIsNamedInTheErrorBox) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder.txt");
  for (const std::u16string& chosen : {dir.Name(u"missing/s"), dir.Name(u"folder.txt")}) {
    SCOPED_TRACE(ToUtf8(chosen));
    FormModel form(kToday);
    Save(form, chosen);
    ASSERT_EQ(form.boxes.size(), 1u);
    EXPECT_EQ(form.boxes[0].kind, BoxKind::Error);
    const std::u16string prefix = u"Не удалось создать файл «" + WithTxtExtension(chosen) + u"»: ";
    EXPECT_TRUE(form.boxes[0].text.starts_with(prefix)) << ToUtf8(form.boxes[0].text);
    EXPECT_GT(form.boxes[0].text.size(), prefix.size());
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.txt"));
  EXPECT_EQ(dir.Entries(), std::vector<std::u16string>{u"folder.txt"});
}

// Every field and list, with -0 against +0, no operator and an empty date.
void SetOtherEntries(FormModel& form) {
  form.SetText(ControlId::sEdit_VIN, u"XTA210930Y1234567890");
  form.SetText(ControlId::sEdit_VRN, u"А123ВС77");
  form.SelectIndex(ControlId::sComboBox_country, 0);
  form.SetText(ControlId::sEdit_W, u"8000");
  form.SetText(ControlId::sEdit_L, u" 1950 ");
  form.SetText(ControlId::sEdit_typeSize, u"315/80R22.5");
  form.SetText(ControlId::sEdit_speed, u"90");
  form.SetText(ControlId::sEdit_odometer, u"123456");
  form.SetText(ControlId::sDateEdit2, u"  .  .    ");
  form.SelectIndex(ControlId::sComboBox1, form.FindItem(ControlId::sComboBox1, u"-0"));
  form.SelectIndex(ControlId::sComboBox2, 59);
  form.SelectIndex(ControlId::sComboBox3, -1);
  form.SetText(ControlId::Edit_operator, u"\"internet\",\"gdata\",\"gdata\"");
  form.SetText(ControlId::Edit_IP, u"10.0.0.1");
  form.SetText(ControlId::Edit_port, u"abc");
  form.SetText(ControlId::Edit_int_send, u"60");
  form.SetText(ControlId::Edit_int_save, u"30");
  form.SetText(ControlId::sEdit_master_N, u"Мастерская №5");
}

TEST(SettingsRoundTrip, ASavedFileLoadsBackToTheSameState) {
  TempDir dir;
  FormModel saved(kToday);
  SetOtherEntries(saved);
  Save(saved, dir.Name(u"r.txt"));

  FormModel loaded(kToday);
  Open(loaded, dir.Name(u"r.txt"));
  EXPECT_TRUE(loaded.boxes.empty());
  EXPECT_EQ(StateOf(loaded), StateOf(saved));
  EXPECT_EQ(loaded.SelectedIndex(ControlId::sComboBox1), 22);
}

// A text set by program, such as a device's reply, may hold line breaks.
TEST(SettingsRoundTrip, FieldTextsWithLineBreaksStillGiveEighteenLines) {
  TempDir dir;
  FormModel saved(kToday);
  SetOtherEntries(saved);
  saved.SetText(ControlId::Edit_IP, u"10.0.0.1\r\n\r\n");
  saved.SetText(ControlId::Edit_operator, u"\"internet\"\n,\"gdata\"");
  saved.SetText(ControlId::sEdit_VIN, u"\rXTA");
  Save(saved, dir.Name(u"r.txt"));

  const std::string bytes = ReadBytes(dir.path() / "r.txt");
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), 18);
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\r'), 18);
  EXPECT_EQ(DecodeSettingsText(bytes).size(), 18u);

  FormModel loaded(kToday);
  Open(loaded, dir.Name(u"r.txt"));
  EXPECT_TRUE(loaded.boxes.empty());
  EXPECT_EQ(loaded.ReadText(ControlId::Edit_IP), u"10.0.0.1");
  EXPECT_EQ(loaded.ReadText(ControlId::Edit_operator), u"\"internet\"");
  EXPECT_EQ(loaded.ReadText(ControlId::sEdit_VIN), u"");
  EXPECT_EQ(loaded.ReadText(ControlId::Edit_port), u"abc");
  EXPECT_EQ(loaded.ReadText(ControlId::sEdit_master_N), u"Мастерская №5");
}

TEST(SettingsRoundTrip, StartUpStateLoadsIntoAChangedWindow) {
  TempDir dir;
  const FormModel start(kToday);
  WriteBytes(dir.path() / "start.txt", kStartUpFile);
  FormModel form(kToday);
  SetOtherEntries(form);
  Open(form, dir.Name(u"start.txt"));
  EXPECT_EQ(StateOf(form), StateOf(start));
}

// Files written by other programs load like the tool's own.
std::string Utf16(const std::u16string& text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : text) {
    const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

TEST(SettingsLoad, OtherEncodingsAndLineEndsGiveTheSameState) {
  FormModel saved(kToday);
  SetOtherEntries(saved);
  std::u16string crlf, lf;
  for (const std::u16string& line : ReadEntries(saved)) {
    crlf += line + u"\r\n";
    lf += line + u"\n";
  }
  const std::pair<const char*, std::string> files[] = {
      {"crlf.txt", ToAnsi(crlf)},
      {"lf.txt", ToAnsi(lf)},
      {"no-final-break.txt", ToAnsi(crlf.substr(0, crlf.size() - 2))},
      {"utf8.txt", "\xEF\xBB\xBF" + ToUtf8(lf)},
      {"utf16le.txt", Utf16(crlf, false)},
      {"utf16be.txt", Utf16(lf, true)},
      {"20-lines.txt", ToAnsi(crlf + u"19\r\nlast\r\n")},
  };
  TempDir dir;
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    WriteBytes(dir.path() / name, bytes);
    FormModel form(kToday);
    Open(form, dir.Name(FromUtf8(name)));
    EXPECT_TRUE(form.boxes.empty());
    EXPECT_EQ(StateOf(form), StateOf(saved));
  }
}

TEST(SettingsLoad, Utf8WithoutMarkIsReadAs1251) {
  TempDir dir;
  std::u16string text;
  for (int i = 0; i < 17; ++i) text += i == 2 || i == 11 ? u"1\n" : u"\n";
  WriteBytes(dir.path() / "u.txt", ToUtf8(text + u"РФ\n"));
  FormModel form(kToday);
  Open(form, dir.Name(u"u.txt"));
  EXPECT_TRUE(form.boxes.empty());
  EXPECT_EQ(form.ReadText(ControlId::sEdit_master_N), u"Р\u00A0Р¤");
}

// The whole file is checked before any field changes.
TEST(SettingsLoad, BadFileShowsTheErrorBoxAndChangesNoField) {
  TempDir dir;
  FormModel good(kToday);
  SetOtherEntries(good);
  std::string seventeen, letters;
  const auto lines = ReadEntries(good);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i < 17) seventeen += ToAnsi(lines[i]) + "\r\n";
    letters += (i == 2 ? std::string("RUS") : ToAnsi(lines[i])) + "\r\n";
  }
  const std::pair<const char*, std::string> files[] = {
      {"17.txt", seventeen}, {"letters.txt", letters}, {"empty.txt", ""}};
  const std::u16string messages[] = {u"List index out of bounds (17)", u"'RUS' is not a valid integer value",
                                     u"List index out of bounds (0)"};
  for (std::size_t i = 0; i < std::size(files); ++i) {
    SCOPED_TRACE(files[i].first);
    WriteBytes(dir.path() / files[i].first, files[i].second);
    FormModel form(kToday);
    const test::FormState before = StateOf(form);
    Open(form, dir.Name(FromUtf8(files[i].first)));
    ASSERT_EQ(form.boxes.size(), 1u);
    EXPECT_EQ(form.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(form.boxes[0].text, messages[i]);
    EXPECT_EQ(StateOf(form), before);
  }
}

// A file of exactly `size` bytes, all 18 lines, whose VIN line takes the room left.
std::string FileOfSize(std::size_t size) {
  FormModel form(kToday);
  SetOtherEntries(form);
  std::vector<std::u16string> lines = ReadEntries(form);
  lines[0].clear();
  const std::size_t rest = EncodeSettingsFile(lines).size();
  lines[0].assign(size - rest, u'V');
  return EncodeSettingsFile(lines);
}

TEST(SettingsLoad, FileUpToTheBoundLoadsWithItsLongLines) {
  TempDir dir;
  const std::string bytes = FileOfSize(kSettingsFileMaxBytes);
  ASSERT_EQ(bytes.size(), kSettingsFileMaxBytes);
  WriteBytes(dir.path() / "full.txt", bytes);
  FormModel form(kToday);
  Open(form, dir.Name(u"full.txt"));
  EXPECT_TRUE(form.boxes.empty());
  const std::u16string vin = form.ReadText(ControlId::sEdit_VIN);
  EXPECT_GT(vin.size(), kSettingsFileMaxBytes - 1000);
  EXPECT_EQ(vin.find_first_not_of(u'V'), std::u16string::npos);
  EXPECT_EQ(form.ReadText(ControlId::sEdit_master_N), u"Мастерская №5");
}

TEST(SettingsLoad, FileBeyondTheBoundIsRefusedByNameAndChangesNoField) {
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"one-byte-over.txt", FileOfSize(kSettingsFileMaxBytes + 1)},
      {"four-megabytes.txt", FileOfSize(4 * 1024 * 1024)},
  };
  TempDir dir;
  for (const auto& file : files) {
    SCOPED_TRACE(file.name);
    WriteBytes(dir.path() / file.name, file.bytes);
    FormModel form(kToday);
    const test::FormState before = StateOf(form);
    Open(form, dir.Name(FromUtf8(file.name)));
    ASSERT_EQ(form.boxes.size(), 1u);
    EXPECT_EQ(form.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(form.boxes[0].text, u"Не удалось прочитать файл «" + dir.Name(FromUtf8(file.name)) +
                                      u"»: файл больше 256 КБ, это не файл настроек");
    EXPECT_EQ(StateOf(form), before);
  }
}

TEST(SettingsLoad, MissingFileOrFolderIsAPlainMessage) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder.txt");
  for (const char16_t* name : {u"missing.txt", u"folder.txt"}) {
    SCOPED_TRACE(ToUtf8(name));
    FormModel form(kToday);
    SetOtherEntries(form);
    const test::FormState before = StateOf(form);
    Open(form, dir.Name(name));
    ASSERT_EQ(form.boxes.size(), 1u);
    EXPECT_EQ(form.boxes[0].kind, BoxKind::Plain);
    EXPECT_EQ(form.boxes[0].text, u"Файл не найден");
    EXPECT_EQ(StateOf(form), before);
  }
}

TEST(SettingsLoad, CancelledDialogChangesNothing) {
  FormModel form(kToday);
  const test::FormState before = StateOf(form);
  Open(form, std::nullopt);
  EXPECT_TRUE(form.boxes.empty());
  EXPECT_EQ(StateOf(form), before);
}

TEST(SettingsLoad, RefusedQuietlyWhileACommandRuns) {
  TempDir dir;
  WriteBytes(dir.path() / "s.txt", kStartUpFile);
  FormModel form(kToday);
  SetOtherEntries(form);
  const test::FormState before = StateOf(form);
  Session session;
  const CommandScope running(session);
  form.openAnswers.push_back(dir.Name(u"s.txt"));
  RunHandler(form, [&] { Open_File_ButtonClick(form, session); });
  EXPECT_EQ(form.openAnswers.size(), 1u);  // no dialog shown
  EXPECT_TRUE(form.boxes.empty());
  EXPECT_EQ(StateOf(form), before);
  EXPECT_TRUE(session.commandRunning);
}

TEST(SettingsLoad, LeavesTheSessionFreeAfterAnError) {
  TempDir dir;
  WriteBytes(dir.path() / "bad.txt", "");
  FormModel form(kToday);
  Session session;
  form.openAnswers.push_back(dir.Name(u"bad.txt"));
  RunHandler(form, [&] { Open_File_ButtonClick(form, session); });
  EXPECT_EQ(form.boxes.size(), 1u);
  EXPECT_FALSE(session.commandRunning);
}

}  // namespace
}  // namespace tacho
