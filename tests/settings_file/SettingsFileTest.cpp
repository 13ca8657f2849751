#include "SettingsFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "HandlerRunner.h"
#include "SettingsTestSupport.h"

namespace tacho {
namespace {

using test::kToday;
using test::ReadBytes;
using test::StateOf;
using test::TempDir;
using test::WriteBytes;
using Box = FormModel::Box;
using BoxKind = FormModel::BoxKind;

void Save(FormModel& form, std::optional<std::u16string> answer) {
  Session session;
  form.saveAnswers.push_back(std::move(answer));
  RunHandler(form, [&] { Save_File_ButtonClick(form, session); });
}

void Open(FormModel& form, std::optional<std::u16string> answer) {
  Session session;
  form.openAnswers.push_back(std::move(answer));
  RunHandler(form, [&] { Open_File_ButtonClick(form, session); });
}

const std::string kStartUpFile =
    "\r\n\r\n43\r\n\r\n\r\n\r\n\r\n\r\n15.03.2026\r\n+0\r\n00\r\n-1\r\n\r\n\r\n\r\n\r\n\r\n\xD0\xD4\r\n";

TEST(SaveSettings, RightAfterStartWritesTheStartUpEntries) {
  TempDir dir;
  FormModel form(kToday);
  Save(form, dir.Name("start.txt"));
  EXPECT_EQ(ReadBytes(dir.path() / "start.txt"), kStartUpFile);
  EXPECT_TRUE(form.boxes.empty());
}

TEST(SaveSettings, ProposesTheRegistrationNumberAndAddsTxt) {
  TempDir dir;
  FormModel form(kToday);
  form.SetText(ControlId::sEdit_VRN, u"А123ВС77");
  Save(form, dir.Name("А123ВС77"));
  EXPECT_EQ(form.proposedSaveNames, std::vector<std::u16string>{u"А123ВС77"});
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"А123ВС77.txt"});
}

TEST(SaveSettings, ChosenNameGetsTxtUnlessItEndsInLowerCaseTxt) {
  TempDir dir;
  FormModel form(kToday);
  Save(form, dir.Name("a.TXT"));
  Save(form, dir.Name("b."));
  Save(form, dir.Name("c.txt"));
  auto names = dir.Entries();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"a.TXT.txt", "b..txt", "c.txt"}));
}

TEST(SaveSettings, CancelledDialogWritesNothing) {
  TempDir dir;
  FormModel form(kToday);
  Save(form, std::nullopt);
  EXPECT_TRUE(dir.Entries().empty());
  EXPECT_TRUE(form.boxes.empty());
  EXPECT_EQ(form.proposedSaveNames, std::vector<std::u16string>{u""});
}

TEST(SaveSettings, ReplacesAnExistingFileKeepingItsPermissions) {
  TempDir dir;
  const auto path = dir.path() / "s.txt";
  WriteBytes(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  FormModel form(kToday);
  Save(form, dir.Name("s.txt"));
  EXPECT_EQ(ReadBytes(path), kStartUpFile);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"s.txt"});
}

TEST(SaveSettings, WritesThroughASymbolicLinkAndKeepsTheLink) {
  TempDir dir;
  WriteBytes(dir.path() / "real.txt", "old");
  std::filesystem::create_symlink("real.txt", dir.path() / "link.txt");
  FormModel form(kToday);
  Save(form, dir.Name("link.txt"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.txt"));
  EXPECT_EQ(ReadBytes(dir.path() / "real.txt"), kStartUpFile);
}

// A write that fails midway (here the file-size limit stops it after 16 bytes)
// leaves the old file whole and no scratch file behind.
TEST(SaveSettings, FailureMidwayKeepsTheOldFile) {
  TempDir dir;
  const auto path = dir.path() / "s.txt";
  WriteBytes(path, "old contents");
  FormModel form(kToday);
  form.SetText(ControlId::sEdit_VIN, std::u16string(100, u'V'));

  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit previous{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
  rlimit small = previous;
  small.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  Save(form, dir.Name("s.txt"));
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(ReadBytes(path), "old contents");
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"s.txt"});
  ASSERT_EQ(form.boxes.size(), 1u);
  EXPECT_EQ(form.boxes[0].kind, BoxKind::Error);
  EXPECT_EQ(form.boxes[0].text, u"Не удалось записать файл «" + dir.Name("s.txt") + u"»: файл слишком велик");
}

TEST(SaveSettings, FileThatCannotBeCreatedNamesTheFileAndTheReason) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder.txt");
  struct Case {
    std::u16string chosen;
    std::u16string message;
  } cases[] = {
      {dir.Name("missing/s"), u"Не удалось создать файл «" + dir.Name("missing/s.txt") +
                                  u"»: нет такого файла или папки"},
      {dir.Name("folder.txt"), u"Не удалось создать файл «" + dir.Name("folder.txt") + u"»: это папка"},
  };
  for (const Case& c : cases) {
    FormModel form(kToday);
    Save(form, c.chosen);
    EXPECT_EQ(form.BoxTexts(), std::vector<std::u16string>{c.message});
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "folder.txt"));
  EXPECT_EQ(dir.Entries(), std::vector<std::string>{"folder.txt"});
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
  Save(saved, dir.Name("r.txt"));

  FormModel loaded(kToday);
  Open(loaded, dir.Name("r.txt"));
  EXPECT_TRUE(loaded.boxes.empty());
  EXPECT_EQ(StateOf(loaded), StateOf(saved));
  EXPECT_EQ(loaded.SelectedIndex(ControlId::sComboBox1), 22);
}

TEST(SettingsRoundTrip, StartUpStateLoadsIntoAChangedWindow) {
  TempDir dir;
  const FormModel start(kToday);
  WriteBytes(dir.path() / "start.txt", kStartUpFile);
  FormModel form(kToday);
  SetOtherEntries(form);
  Open(form, dir.Name("start.txt"));
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
    Open(form, dir.Name(name));
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
  Open(form, dir.Name("u.txt"));
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
    Open(form, dir.Name(files[i].first));
    ASSERT_EQ(form.boxes.size(), 1u);
    EXPECT_EQ(form.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(form.boxes[0].text, messages[i]);
    EXPECT_EQ(StateOf(form), before);
  }
}

TEST(SettingsLoad, MissingFileOrFolderIsAPlainMessage) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder.txt");
  for (const char* name : {"missing.txt", "folder.txt"}) {
    SCOPED_TRACE(name);
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

TEST(SettingsLoad, PipeIsRefusedWithoutWaitingForAWriter) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir.path() / "pipe.txt").c_str(), 0600), 0);
  FormModel form(kToday);
  const test::FormState before = StateOf(form);
  Open(form, dir.Name("pipe.txt"));
  EXPECT_EQ(form.BoxTexts(),
            std::vector<std::u16string>{u"Не удалось открыть файл «" + dir.Name("pipe.txt") + u"»: это не обычный файл"});
  EXPECT_EQ(StateOf(form), before);
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
  form.openAnswers.push_back(dir.Name("s.txt"));
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
  form.openAnswers.push_back(dir.Name("bad.txt"));
  RunHandler(form, [&] { Open_File_ButtonClick(form, session); });
  EXPECT_EQ(form.boxes.size(), 1u);
  EXPECT_FALSE(session.commandRunning);
}

}  // namespace
}  // namespace tacho
