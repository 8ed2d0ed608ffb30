// The names Windows shows for Start-menu folders and shortcuts, applied to the catalogue.
#include "sources/shown_names.h"

#include <gtest/gtest.h>

#include <map>

#include "tests/test_text.h"

namespace {

using sources::Catalogue;
using sources::CatalogueRecord;
using sources::kGroupHeader;
using sources::kProgramEntry;
using test_text::Utf16Le;

constexpr char kUser[] = "C:\\U\\";
constexpr char kCommon[] = "C:\\C\\";

CatalogueRecord Header(const std::string& relative, const std::string& base) {
  return {kGroupHeader, relative, 0, base + relative, "", "", "", 0, ""};
}
CatalogueRecord Entry(const std::string& name, const std::string& folder) {
  return {kProgramEntry, name, 0, folder, "C:\\p.exe", "exe", "", 0, ""};
}

class ShownNames : public ::testing::Test {
 protected:
  void SetUp() override { sources::ForgetIndirectStrings(); }

  sources::ShownNameSources Sources() {
    sources::ShownNameSources given;
    given.read_file = [this](const std::string& path) -> std::optional<std::string> {
      const auto found = files_.find(path);
      if (found == files_.end()) return std::nullopt;
      return found->second;
    };
    given.to_code_page = test_text::Latin1;
    given.module_strings = [this](const std::string& module, const std::vector<std::uint32_t>& ids) {
      module_reads_.push_back(module);
      std::vector<std::optional<std::u16string>> strings(ids.size());
      for (std::size_t i = 0; i < ids.size(); ++i) {
        const auto found = tables_[module].find(ids[i]);
        if (found != tables_[module].end()) strings[i] = found->second;
      }
      return strings;
    };
    return given;
  }

  Catalogue Applied(Catalogue catalogue) {
    sources::ApplyShownNames(catalogue, {kUser, kCommon}, Sources());
    return catalogue;
  }

  static std::vector<std::string> Shown(const Catalogue& catalogue) {
    std::vector<std::string> shown;
    for (const CatalogueRecord& record : catalogue) shown.push_back(record.Shown);
    return shown;
  }

  std::map<std::string, std::string> files_;
  std::map<std::string, std::map<std::uint32_t, std::u16string>> tables_;
  std::vector<std::string> module_reads_;
};

TEST_F(ShownNames, NamesComeFromPlainValuesAndStringTablesOrTheFileNameStays) {
  const std::string shell = "%SystemRoot%\\system32\\shell32.dll";
  tables_[shell] = {{21761, u"Outils syst\u00E8me Windows"}, {22022, u"Invite de commandes"}, {5, u"\u65E5\u672C"}};
  files_[std::string(kUser) + "Accessories\\desktop.ini"] =
      "[.ShellClassInfo]\r\nLocalizedResourceName=Accessoires Windows\r\n[LocalizedFileNames]\r\n"
      "notepad.LNK=Bloc-notes\r\nGone.lnk=@C:\\nowhere.dll,-3\r\nEmpty.lnk=\r\nTabbed.lnk=a\tb\r\n";
  // The common folder of the same group: its entries' names are its own, its folder name is used
  // only where the user's folder has none.
  files_[std::string(kCommon) + "Accessories\\desktop.ini"] =
      "[.ShellClassInfo]\r\nLocalizedResourceName=Accessoires "
      "communs\r\n[LocalizedFileNames]\r\nPaint.lnk=Peinture\r\n";
  files_[std::string(kCommon) + "Accessories\\System Tools\\desktop.ini"] =
      Utf16Le(u"[.ShellClassInfo]\r\nLocalizedResourceName=@" + std::u16string(shell.begin(), shell.end()) +
              u",-21761\r\n[LocalizedFileNames]\r\nCommand Prompt.lnk=@" + std::u16string(shell.begin(), shell.end()) +
              u",-22022\r\nJapan.lnk=@" + std::u16string(shell.begin(), shell.end()) + u",-5\r\n");
  const std::string accessories = std::string(kUser) + "Accessories\\";
  const std::string tools = std::string(kCommon) + "Accessories\\System Tools\\";
  const Catalogue catalogue = Applied(
      {Header("", kUser), Entry("Top.lnk", kUser), Header("Accessories\\", kUser), Entry("Empty.lnk", accessories),
       Entry("Gone.lnk", accessories), Entry("Notepad.lnk", accessories),
       Entry("Paint.lnk", std::string(kCommon) + "Accessories\\"), Entry("Tabbed.lnk", accessories),
       Header("Accessories\\System Tools\\", kCommon), Entry("Command Prompt.lnk", tools), Entry("Japan.lnk", tools)});
  EXPECT_EQ(Shown(catalogue), (std::vector<std::string>{"", "", "Accessoires Windows", "Bloc-notes", "", "", "Peinture",
                                                        "", "Outils syst\xE8me Windows", "Invite de commandes", ""}));
  EXPECT_EQ(sources::GroupOwnName(catalogue[8]), "Outils syst\xE8me Windows");
  EXPECT_EQ(sources::EntryLabel(catalogue[4]), "Empty");
  EXPECT_EQ(catalogue[9].Name, "Command Prompt.lnk");  // the paths stay
  EXPECT_EQ(catalogue[9].Folder, tools);

  // One read per module, and none at the next refresh: what was resolved, or not, is kept.
  Applied(catalogue);
  EXPECT_EQ(module_reads_, (std::vector<std::string>{shell, "C:\\nowhere.dll"}));
}

TEST_F(ShownNames, GroupsAndEntriesFollowTheShownNamesAndOtherwiseKeepTheirOrder) {
  const Catalogue plain = {Header("", kUser),
                           Entry("A.lnk", kUser),
                           Entry("B.lnk", kUser),
                           Header("Accessories\\", kUser),
                           Header("Accessories\\System Tools\\", kUser),
                           Header("Games\\", kUser),
                           Entry("Chess.lnk", std::string(kUser) + "Games\\")};
  EXPECT_EQ(Applied(plain).size(), plain.size());
  for (std::size_t i = 0; i < plain.size(); ++i) EXPECT_EQ(Applied(plain)[i].Name, plain[i].Name) << i;

  files_[std::string(kUser) + "Accessories\\desktop.ini"] = "[.ShellClassInfo]\r\nLocalizedResourceName=Outils\r\n";
  files_[std::string(kUser) + "Accessories\\System Tools\\desktop.ini"] =
      "[.ShellClassInfo]\r\nLocalizedResourceName=Accessoires\r\n";
  files_[std::string(kUser) + "desktop.ini"] = "[LocalizedFileNames]\r\nA.lnk=Zebre\r\nB.lnk=Abeille\r\n";
  std::vector<std::string> order;
  for (const CatalogueRecord& record : Applied(plain)) order.push_back(record.Name);
  // "Zebre" after "Abeille"; "Outils" after "Games", its sub-folder still below it whatever its name.
  EXPECT_EQ(order, (std::vector<std::string>{"", "B.lnk", "A.lnk", "Games\\", "Chess.lnk", "Accessories\\",
                                             "Accessories\\System Tools\\"}));
}

TEST_F(ShownNames, IndirectStringsAreReadOnlyInTheirOneForm) {
  const auto parsed = sources::ParseIndirectString("@%SystemRoot%\\a,b.dll,-21761;v2");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->module, "%SystemRoot%\\a,b.dll");
  EXPECT_EQ(parsed->id, 21761u);
  for (const char* garbage : {"", "@", "@x.dll", "@x.dll,5", "@x.dll,-", "@x.dll,-0", "@x.dll,-65536", "@x.dll,-1a",
                              "@,-5", "plain,-5", "@x.dll,-99999999999999999999"}) {
    EXPECT_FALSE(sources::ParseIndirectString(garbage)) << garbage;
  }
}

}  // namespace
