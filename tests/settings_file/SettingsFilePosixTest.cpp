// The settings file on POSIX systems: permissions, links, a write that fails
// midway, pipes, and the words of the system's reasons.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

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

TEST(SaveSettingsPosix, ReplacedFileKeepsItsPermissions) {
  TempDir dir;
  const auto path = dir.path() / "s.txt";
  WriteBytes(path, "old");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  FormModel form(kToday);
  Save(form, dir.Name(u"s.txt"));
  EXPECT_EQ(ReadBytes(path), kStartUpFile);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(SaveSettingsPosix, WritesThroughASymbolicLinkAndKeepsTheLink) {
  TempDir dir;
  WriteBytes(dir.path() / "real.txt", "old");
  std::filesystem::create_symlink("real.txt", dir.path() / "link.txt");
  FormModel form(kToday);
  Save(form, dir.Name(u"link.txt"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.txt"));
  EXPECT_EQ(ReadBytes(dir.path() / "real.txt"), kStartUpFile);
  EXPECT_EQ(dir.Entries(), (std::vector<std::u16string>{u"link.txt", u"real.txt"}));
}

// The file-size limit stops the write after 16 bytes.
TEST(SaveSettingsPosix, WriteFailingMidwayKeepsTheOldFileWhole) {
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
  Save(form, dir.Name(u"s.txt"));
  ::setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(ReadBytes(path), "old contents");
  EXPECT_EQ(dir.Entries(), std::vector<std::u16string>{u"s.txt"});
  ASSERT_EQ(form.boxes.size(), 1u);
  EXPECT_EQ(form.boxes[0].kind, BoxKind::Error);
  EXPECT_EQ(form.boxes[0].text, u"Не удалось записать файл «" + dir.Name(u"s.txt") + u"»: файл слишком велик");
}

TEST(SaveSettingsPosix, ReasonsAreGivenInRussian) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "folder.txt");
  const struct {
    const char* name;
    std::u16string chosen;
    std::u16string message;
  } cases[] = {
      {"MissingFolder", dir.Name(u"missing/s"),
       u"Не удалось создать файл «" + dir.Name(u"missing/s.txt") + u"»: нет такого файла или папки"},
      {"NameOfAFolder", dir.Name(u"folder.txt"),
       u"Не удалось создать файл «" + dir.Name(u"folder.txt") + u"»: это папка"},
  };
  for (const auto& [name, chosen, message] : cases) {
    SCOPED_TRACE(name);
    FormModel form(kToday);
    Save(form, chosen);
    EXPECT_EQ(form.BoxTexts(), std::vector<std::u16string>{message});
  }
}

TEST(SettingsLoadPosix, PipeIsRefusedWithoutWaitingForAWriter) {
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir.path() / "pipe.txt").c_str(), 0600), 0);
  FormModel form(kToday);
  const test::FormState before = StateOf(form);
  Open(form, dir.Name(u"pipe.txt"));
  EXPECT_EQ(form.BoxTexts(), std::vector<std::u16string>{u"Не удалось открыть файл «" + dir.Name(u"pipe.txt") +
                                                         u"»: это не обычный файл"});
  EXPECT_EQ(StateOf(form), before);
}

// A sparse file of a terabyte, which takes no room on the disk: a reader that
// took it whole would run out of memory long before the end.
TEST(SettingsLoadPosix, HugeFileIsRefusedWithoutReadingItWhole) {
  TempDir dir;
  const auto path = dir.path() / "disk.img";
  WriteBytes(path, "");
  std::filesystem::resize_file(path, std::uintmax_t{1} << 40);
  FormModel form(kToday);
  const test::FormState before = StateOf(form);
  Open(form, dir.Name(u"disk.img"));
  EXPECT_EQ(form.BoxTexts(), std::vector<std::u16string>{u"Не удалось прочитать файл «" + dir.Name(u"disk.img") +
                                                         u"»: файл больше 256 КБ, это не файл настроек"});
  EXPECT_EQ(StateOf(form), before);
}

}  // namespace
}  // namespace tacho
