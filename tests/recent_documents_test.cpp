// Recent documents come from Windows' RecentDocs index: the order value names the items, each
// item's bytes hold the shortcut's file name, and the reading stops one document past the
// maximum unless every document is asked for.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "menu/view_state.h"
#include "settings/settings.h"
#include "sources/recent_documents.h"
#include "tests/fakes/fakes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;
using fakes::FakeServices;

Bytes Wide(const std::string& text) {
  Bytes bytes;
  for (const char c : text) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
  return bytes;
}

Bytes Join(Bytes a, const Bytes& b) { return a.insert(a.end(), b.begin(), b.end()), a; }

// An item as Windows writes it: the document's name in UTF-16LE, then a one-entry item list
// of the shortcut file whose name is 8-bit text at offset 14.
Bytes WindowsItem(const std::string& document, const std::string& shortcut) {
  Bytes list = {0, 0, static_cast<std::uint8_t>(15 + shortcut.size()), 0, 0x32, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  return Join(Join(Wide(document), list), Join(Bytes(shortcut.begin(), shortcut.end()), {0, 0, 0}));
}
Bytes Doc(const std::string& name) { return WindowsItem(name, name + ".lnk"); }

// An item whose shortcut name appears only in UTF-16LE, after an unrelated 8-bit field.
Bytes WideOnlyItem(const std::string& shortcut) {
  return Join(Join({0x14, 0, 0x32, 0, 'R', 'E', 'P', 'O', 'R', 'T', '~', '1', 0, 0}, Wide(shortcut)), {0, 0});
}

Bytes Order(const std::vector<std::uint32_t>& numbers) {
  Bytes order;
  for (std::uint32_t n : numbers) order.insert(order.end(), {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16), std::uint8_t(n >> 24)});
  return Join(order, {0xFF, 0xFF, 0xFF, 0xFF});
}

void SetValue(const std::string& name, const Bytes& bytes) {
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
  FakeServices().registry_bytes[{services::RegistryRoot::CurrentUser, key, name}] = bytes;
}

// Items numbered 0, 1, 2, ... and listed in that order, most recent first.
void SetItems(const std::vector<Bytes>& items) {
  std::vector<std::uint32_t> numbers;
  for (std::uint32_t n = 0; n < items.size(); ++n) SetValue(std::to_string(n), items[n]), numbers.push_back(n);
  SetValue("MRUListEX", Order(numbers));
}

Lines Read() {
  sources::ReadRecentDocuments(menu::View().AllDocumentsShown);
  Lines lines;
  for (const auto& d : sources::RecentDocuments()) lines.push_back(d.DisplayName + "|" + d.ShortcutName + "|" + d.Extension);
  return lines;
}

class RecentDocuments : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    settings::Current() = settings::Settings{};
    menu::View() = menu::ViewState{};
  }
};

TEST_F(RecentDocuments, ReadsEightBitAndWideNamesInWindowsOrder) {
  SetValue("MRUListEX", Order({2, 0, 10}));
  SetValue("0", Doc("Caf\xE9 Cr\xE8me.txt"));
  SetValue("2", Doc("Rapport.PDF"));
  SetValue("10", WideOnlyItem("notes.md.lnk"));
  EXPECT_EQ(Read(), (Lines{"Rapport.PDF|Rapport.PDF.lnk|pdf", "Caf\xE9 Cr\xE8me.txt|Caf\xE9 Cr\xE8me.txt.lnk|txt",
                           "notes.md|notes.md.lnk|md"}));
  const auto& reads = FakeServices().registry_byte_reads;
  ASSERT_EQ(reads.size(), 4u);
  EXPECT_EQ(reads[0], std::make_pair(std::string("MRUListEX"), std::size_t{65535}));
  EXPECT_EQ(reads[3], std::make_pair(std::string("10"), std::size_t{4096}));
}

TEST_F(RecentDocuments, DuplicateMarkersUpToFiveCharactersAreRemoved) {
  SetItems({WindowsItem("x", "report.txt (2).lnk"), WindowsItem("x", "report.txt (10).lnk"),
            WindowsItem("x", "a.doc (abcde).lnk"), WindowsItem("x", "a.doc ().lnk"),
            WindowsItem("x", "a.doc (abcdef).lnk"), WindowsItem("x", "a.doc(2).lnk"),
            WindowsItem("x", "a.doc (x) (3).lnk")});
  EXPECT_EQ(Read(), (Lines{"report.txt|report.txt (2).lnk|txt", "report.txt|report.txt (10).lnk|txt",
                           "a.doc|a.doc (abcde).lnk|doc", "a.doc|a.doc ().lnk|doc",
                           "a.doc (abcdef)|a.doc (abcdef).lnk|doc (abcdef)", "a.doc(2)|a.doc(2).lnk|doc(2)",
                           "a.doc (x)|a.doc (x) (3).lnk|doc (x)"}));
}

TEST_F(RecentDocuments, SkippedItemsCountAsStepsButNotTowardsTheMaximum) {
  settings::Current().RecentDocsMaximum = 1;
  SetItems({Doc("Photos"),                         // a folder: no extension
            WindowsItem("x", "v1.5\\Photos.lnk"),  // the dot is not in the file name
            WindowsItem("x", " (2).lnk"),          // nothing left once the marker is gone
            {'n', 'o', ' ', 'l', 'n', 'k', 0},     // no shortcut name
            Bytes(4097, 'a'),                      // larger than the buffer
            Doc("a.txt"), Doc("b.txt"), Doc("c.txt")});
  SetValue("MRUListEX", Order({0, 1, 2, 3, 4, 99, 5, 6, 7}));  // there is no item 99
  EXPECT_EQ(Read(), (Lines{"a.txt|a.txt.lnk|txt", "b.txt|b.txt.lnk|txt"}));
  // The order, then the seven items up to b.txt that exist: item 99 is not asked for.
  EXPECT_EQ(FakeServices().registry_byte_reads.size(), 8u);
  EXPECT_EQ(FakeServices().registry_name_listings, 1);

  // A key that cannot be listed: every item is asked for, with the same result.
  FakeServices().registry_byte_reads.clear();
  FakeServices().registry_names_unlistable = true;
  EXPECT_EQ(Read(), (Lines{"a.txt|a.txt.lnk|txt", "b.txt|b.txt.lnk|txt"}));
  EXPECT_EQ(FakeServices().registry_byte_reads.size(), 9u);
}

TEST_F(RecentDocuments, FortyDocumentsGiveSixteenOrAllSortedIgnoringCase) {
  // Names alternate between capitals and small letters; items 5, 18 and 31 share one name.
  std::vector<Bytes> items;
  for (int n = 0; n < 40; ++n) {
    items.push_back(Doc(n % 13 == 5 ? (n % 2 ? "SAME.txt" : "same.txt")
                                    : (n % 2 ? "Doc" : "doc") + std::to_string(100 - n) + ".txt"));
  }
  SetItems(items);
  ASSERT_EQ(Read().size(), 16u);
  EXPECT_EQ(sources::RecentDocuments().back().DisplayName, "Doc85.txt");

  menu::View().AllDocumentsShown = true;
  sources::ReadRecentDocuments(menu::View().AllDocumentsShown);
  const auto& documents = sources::RecentDocuments();
  ASSERT_EQ(documents.size(), 40u);
  for (std::size_t i = 1; i < documents.size(); ++i) {
    EXPECT_FALSE(sources::NameLessIgnoringCase(documents[i].DisplayName, documents[i - 1].DisplayName)) << i;
  }
  EXPECT_EQ(documents.front().DisplayName, "doc100.txt");
  // Equal names keep Windows' order.
  EXPECT_EQ(documents[37].ShortcutName + documents[38].ShortcutName + documents[39].ShortcutName,
            "SAME.txt.lnksame.txt.lnkSAME.txt.lnk");
  EXPECT_TRUE(menu::View().AllDocumentsShown);
}

TEST_F(RecentDocuments, IgnoringCaseFoldsWindows1252Capitals) {
  EXPECT_FALSE(sources::NameLessIgnoringCase("\xC9t\xE9.txt", "\xE9t\xE9.txt"));  // É = é
  EXPECT_TRUE(sources::NameLessIgnoringCase("\x9Cuvre", "\x8Cuvres"));            // œ = Œ
  EXPECT_TRUE(sources::NameLessIgnoringCase("\xD7", "\xF7"));                      // × and ÷ are no letters
  EXPECT_TRUE(sources::NameLessIgnoringCase("zoo", "\xC0 voir"));                  // À after z
}

TEST_F(RecentDocuments, MissingOrBrokenOrderGivesWhatCanBeRead) {
  SetValue("0", Doc("a.txt"));
  SetValue("1", Doc("b.txt"));
  SetValue("258", Doc("c.txt"));
  sources::RecentDocuments().push_back({"old", "old.lnk", "txt"});
  EXPECT_TRUE(Read().empty()) << "no order value";

  SetValue("MRUListEX", {1, 0, 0, 0, 0, 0, 0, 0, 2, 1});  // no terminator, a last group of two bytes
  EXPECT_EQ(Read(), (Lines{"b.txt|b.txt.lnk|txt", "a.txt|a.txt.lnk|txt", "c.txt|c.txt.lnk|txt"}));

  SetValue("MRUListEX", Order({0xFFFFFFFE, 0}));  // an item number that names no value
  EXPECT_EQ(Read(), (Lines{"a.txt|a.txt.lnk|txt"}));
  EXPECT_EQ(FakeServices().registry_byte_reads.back().first, "0") << "no value 4294967294: not asked for";
  EXPECT_EQ(FakeServices().registry_byte_reads.rbegin()[1].first, "MRUListEX");

  Bytes long_order = Order({0});
  long_order.resize(65536, 0xFF);
  SetValue("MRUListEX", long_order);  // larger than the order buffer: unreadable
  EXPECT_TRUE(Read().empty());
}

TEST_F(RecentDocuments, ShortcutNamesAreCutOnlyAtWholeBytes) {
  // x2 E6 C6 E6 Bx spells ".lnk" in hexadecimal text half a byte off, and x2 E0 06 C0 ... its
  // UTF-16 form: neither may be taken for the name's end.
  SetItems({Join({0x12, 0xE6, 0xC6, 0xE6, 0xB0, 0, 0}, Doc("r.txt")),
            Join({0x42, 0xE0, 0x06, 0xC0, 0x06, 0xE0, 0x06, 0xB0, 0x00, 0, 0}, WideOnlyItem("w.txt.lnk"))});
  EXPECT_EQ(Read(), (Lines{"r.txt|r.txt.lnk|txt", "w.txt|w.txt.lnk|txt"}));
}

TEST_F(RecentDocuments, RepeatedItemNumbersListTheirDocumentOnce) {
  SetItems({Doc("a.txt"), Doc("b.txt")});
  Bytes order = Order({1, 0, 1, 1, 0});
  order.resize(65532);  // then item 0 again and again, without the end mark
  SetValue("MRUListEX", order);
  EXPECT_EQ(Read(), (Lines{"b.txt|b.txt.lnk|txt", "a.txt|a.txt.lnk|txt"}));
  EXPECT_EQ(FakeServices().registry_byte_reads.size(), 3u) << "each item is read once";
  menu::View().AllDocumentsShown = true;
  EXPECT_EQ(Read(), (Lines{"a.txt|a.txt.lnk|txt", "b.txt|b.txt.lnk|txt"}));
}

TEST_F(RecentDocuments, WideCharactersBeyondLatin1BecomeQuestionMarks) {
  auto wide = [](const std::u16string& text) {
    Bytes bytes = {0, 0};
    for (const char16_t c : text) bytes.insert(bytes.end(), {std::uint8_t(c & 0xFF), std::uint8_t(c >> 8)});
    return Join(bytes, {0, 0});
  };
  SetItems({wide(u"R\u00E9sum\u00E9 \u03A9mega.txt.lnk"), wide(u"\u041E\u0442\u0447\u0451\u0442.txt.lnk"),
            wide(u"\u0100\u4E00.txt.lnk")});  // low or high byte zero
  EXPECT_EQ(Read(), (Lines{"R\xE9sum\xE9 ?mega.txt|R\xE9sum\xE9 ?mega.txt.lnk|txt", "?????.txt|?????.txt.lnk|txt",
                           "??.txt|??.txt.lnk|txt"}));
}

TEST_F(RecentDocuments, GarbageItemsNeverBreakTheList) {
  std::mt19937 random(7);
  std::vector<Bytes> items(300);
  for (Bytes& item : items) {
    item.resize(random() % 64);  // mostly bytes that matter to the search, some of any value
    for (auto& byte : item) byte = static_cast<std::uint8_t>(random() % 5 ? "\0.lnk a)(\\"[random() % 10] : random());
    item.insert(item.begin() + random() % (item.size() + 1), {'.', 'l', 'n', 'k'});
  }
  SetItems(items);
  menu::View().AllDocumentsShown = true;
  sources::ReadRecentDocuments(menu::View().AllDocumentsShown);
  EXPECT_GT(sources::RecentDocuments().size(), 5u);
  for (const auto& document : sources::RecentDocuments()) {
    EXPECT_FALSE(document.Extension.empty());
    EXPECT_EQ(document.ShortcutName.find('\0'), std::string::npos);
    EXPECT_EQ(document.ShortcutName.rfind(document.DisplayName, 0), 0u);
  }
}

}  // namespace
