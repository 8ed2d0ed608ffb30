// Reading the names Windows shows for Start-menu folders and shortcuts from their desktop.ini.
#include "sources/desktop_ini.h"

#include <gtest/gtest.h>

#include "tests/test_text.h"

namespace {

using test_text::Latin1;
using test_text::Utf16Le;

std::optional<sources::DesktopIni> Parse(const std::string& bytes) { return sources::ParseDesktopIni(bytes, Latin1); }

TEST(DesktopIni, AnsiFileAsTheProfileFunctionsReadIt) {
  const auto ini = Parse(
      "; made by setup\r\n"
      "[.ShellClassInfo]\r\n"
      "LocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21761\r\n"
      "[LocalizedFileNames]\n"
      "Command Prompt.lnk=@%SystemRoot%\\system32\\shell32.dll,-22022\n"
      "  notepad.lnk =  \"Bloc-notes\"  \n"
      "garbage without equals\n"
      "[broken\n"
      "Vide.lnk=\n"
      "Caf\xE9.lnk=Caf\xE9 cr\xE8me\r"
      "NOTEPAD.LNK=second, ignored\r\n"
      "[localizedfilenames]\r\n"
      "Later.lnk=from a repeated section, ignored\r\n");
  ASSERT_TRUE(ini);
  EXPECT_EQ(ini->folder_name, "@%SystemRoot%\\system32\\shell32.dll,-21761");
  EXPECT_EQ(sources::ShownFileName(*ini, "command prompt.LNK"), "@%SystemRoot%\\system32\\shell32.dll,-22022");
  EXPECT_EQ(sources::ShownFileName(*ini, "Notepad.lnk"), "Bloc-notes");
  EXPECT_EQ(sources::ShownFileName(*ini, "Caf\xE9.lnk"), "Caf\xE9 cr\xE8me");
  EXPECT_EQ(sources::ShownFileName(*ini, "Vide.lnk"), std::nullopt);  // an empty value keeps the file name
  EXPECT_EQ(sources::ShownFileName(*ini, "Later.lnk"), std::nullopt);
  EXPECT_EQ(sources::ShownFileName(*ini, "Other.lnk"), std::nullopt);
}

TEST(DesktopIni, Utf16AndUtf8FilesGoToTheCodePageLineByLine) {
  const auto ini = Parse(Utf16Le(
      u"[LocalizedFileNames]\r\nFile Explorer.lnk=Explorateur de fichiers\r\n"
      u"Greek.lnk=\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC\r\nCaf\u00E9.lnk=Caf\u00E9\r\n"));
  ASSERT_TRUE(ini);
  EXPECT_EQ(sources::ShownFileName(*ini, "File Explorer.lnk"), "Explorateur de fichiers");
  EXPECT_EQ(sources::ShownFileName(*ini, "Greek.lnk"), std::nullopt);  // no place in the code page
  EXPECT_EQ(sources::ShownFileName(*ini, "Caf\xE9.lnk"), "Caf\xE9");
  const auto utf8 = Parse("\xEF\xBB\xBF[.ShellClassInfo]\nLocalizedResourceName=Outils syst\xC3\xA8me\n");
  ASSERT_TRUE(utf8);
  EXPECT_EQ(utf8->folder_name, "Outils syst\xE8me");
}

TEST(DesktopIni, WhatIsNoTextOrTooLargeIsIgnoredWhole) {
  const char with_nul[] = "[LocalizedFileNames]\r\nA.lnk=B\0\r\n";
  EXPECT_FALSE(Parse(std::string(with_nul, sizeof with_nul - 1)));
  EXPECT_FALSE(Parse(Utf16Le(u"[x]") + "\x41"));                        // odd length
  EXPECT_FALSE(Parse(Utf16Le(std::u16string(u"A=") + char16_t(0xD800))));  // lone surrogate
  EXPECT_FALSE(Parse("\xEF\xBB\xBF" "A=\xC3"));                          // UTF-8 cut short
  EXPECT_FALSE(Parse("[LocalizedFileNames]\r\n" + std::string(sources::kMaxDesktopIniBytes, 'x')));
  const auto empty = Parse("");
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->folder_name.empty());
  EXPECT_TRUE(empty->file_names.empty());
}

}  // namespace
