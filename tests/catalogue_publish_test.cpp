// The two alternating catalogues: publication in one step, readers that keep the catalogue they
// took, and finding a running program's shortcut.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "sources/catalogue.h"
#include "sources/catalogue_find.h"

namespace {

using sources::Catalogue;
using sources::CatalogueRecord;
using Strings = std::vector<std::string>;

CatalogueRecord Entry(const std::string& name, const std::string& target = "x", const std::string& arguments = "") {
  CatalogueRecord entry;
  entry.Kind = sources::kProgramEntry;
  entry.Name = name;
  entry.Folder = "C:\\Menu\\";
  entry.Target = target;
  entry.Arguments = arguments;
  return entry;
}

Strings Names(const sources::SharedCatalogue& catalogue) {
  Strings names;
  if (catalogue) {
    for (const CatalogueRecord& record : *catalogue) names.push_back(record.Name);
  }
  return names;
}

class CataloguePublication : public ::testing::Test {
 protected:
  void SetUp() override { sources::ResetCatalogues(); }
};

TEST_F(CataloguePublication, IndicatorGoesNoneThenAThenBThenAAndSkipsEmptyResults) {
  EXPECT_EQ(sources::CurrentCatalogue(), 0);
  EXPECT_EQ(sources::TakeCurrentCatalogue(), nullptr);
  EXPECT_FALSE(sources::PublishCatalogue({}));
  EXPECT_EQ(sources::CurrentCatalogue(), 0);

  EXPECT_TRUE(sources::PublishCatalogue({Entry("Un.lnk")}));
  EXPECT_EQ(sources::CurrentCatalogue(), 2);
  EXPECT_EQ(sources::TakeCurrentCatalogue(), sources::CatalogueA());
  EXPECT_TRUE(sources::PublishCatalogue({Entry("Deux.lnk")}));
  EXPECT_EQ(sources::CurrentCatalogue(), 1);
  EXPECT_EQ(sources::TakeCurrentCatalogue(), sources::CatalogueB());
  EXPECT_FALSE(sources::PublishCatalogue({}));
  EXPECT_EQ(sources::CurrentCatalogue(), 1);
  EXPECT_TRUE(sources::PublishCatalogue({Entry("Trois.lnk")}));
  EXPECT_EQ(sources::CurrentCatalogue(), 2);
  EXPECT_EQ(Names(sources::CatalogueA()), Strings{"Trois.lnk"});
  EXPECT_EQ(Names(sources::CatalogueB()), Strings{"Deux.lnk"});
}

TEST_F(CataloguePublication, AReaderKeepsItsCatalogueWhileOthersArePublished) {
  ASSERT_TRUE(sources::PublishCatalogue({Entry("Ancien.lnk")}));
  const sources::SharedCatalogue walked = sources::TakeCurrentCatalogue();
  // Two more refreshes: the second refills the slot the reader took its catalogue from.
  ASSERT_TRUE(sources::PublishCatalogue({Entry("B.lnk")}));
  ASSERT_TRUE(sources::PublishCatalogue({Entry("Nouveau.lnk"), Entry("Encore.lnk")}));
  EXPECT_EQ(Names(walked), Strings{"Ancien.lnk"});
  EXPECT_EQ(Names(sources::TakeCurrentCatalogue()), (Strings{"Nouveau.lnk", "Encore.lnk"}));
}

TEST_F(CataloguePublication, ReadersOnAnotherThreadOnlyEverSeeWholeCatalogues) {
  // Every catalogue holds 200 records of one generation; a torn or reused one would mix them.
  std::atomic<bool> done{false};
  std::thread refresh([&done] {
    for (int generation = 1; generation <= 300; ++generation) {
      sources::PublishCatalogue(Catalogue(200, Entry(std::to_string(generation))));
    }
    done = true;
  });
  int torn = 0;
  while (!done) {
    const sources::SharedCatalogue catalogue = sources::TakeCurrentCatalogue();
    if (!catalogue) continue;
    for (const CatalogueRecord& record : *catalogue) torn += record.Name != catalogue->front().Name;
  }
  refresh.join();
  EXPECT_EQ(torn, 0);
  EXPECT_EQ(Names(sources::TakeCurrentCatalogue()).front(), "300");
}

TEST(FindInCatalogue, FirstEntryWithoutArgumentsElseTheLastMatch) {
  CatalogueRecord header;  // a group header: no target
  const Catalogue catalogue = {
      header,
      Entry("Avec.lnk", "C:\\Windows\\Notepad.exe", "/p"),
      Entry("Sans.lnk", "C:\\WINDOWS\\notepad.exe"),
      Entry("Second sans.lnk", "C:\\Windows\\notepad.exe"),
      Entry("Outil 1.lnk", "C:\\outil.exe", "-a"),
      Entry("Outil 2.lnk", "C:\\outil.exe", "-b"),
      Entry("Site.url", ""),
  };
  const auto plain = sources::FindInCatalogue(catalogue, "c:\\windows\\notepad.exe");
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->name + "|" + plain->folder + "|" + plain->target, "Sans.lnk|C:\\Menu\\|C:\\WINDOWS\\notepad.exe");
  EXPECT_EQ(sources::FindInCatalogue(catalogue, "c:\\outil.exe")->name, "Outil 2.lnk");
  EXPECT_FALSE(sources::FindInCatalogue(catalogue, "c:\\autre.exe").has_value());
  // An unreadable program path is "": it matches neither headers nor entries without target.
  EXPECT_FALSE(sources::FindInCatalogue(catalogue, "").has_value());
}

TEST_F(CataloguePublication, FindByProgramPathLooksInTheCurrentCatalogueOnly) {
  EXPECT_FALSE(sources::FindByProgramPath("c:\\un.exe").has_value());
  ASSERT_TRUE(sources::PublishCatalogue({Entry("Un.lnk", "C:\\un.exe")}));
  EXPECT_EQ(sources::FindByProgramPath("c:\\un.exe")->name, "Un.lnk");
  ASSERT_TRUE(sources::PublishCatalogue({Entry("Deux.lnk", "C:\\deux.exe")}));
  EXPECT_FALSE(sources::FindByProgramPath("c:\\un.exe").has_value());
}

}  // namespace
