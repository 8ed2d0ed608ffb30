#include "sources/recent_documents.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_set>

#include "platform/location_marker.h"
#include "platform/paths.h"
#include "platform/services.h"
#include "platform/text.h"
#include "settings/settings.h"

KV_MARKED_FILE(402);

namespace sources {
namespace {

using Bytes = std::vector<std::uint8_t>;
using ItemNames = std::unordered_set<std::string>;

constexpr char kRecentDocsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";
constexpr char kOrderValue[] = "MRUListEX";
constexpr std::size_t kOrderBufferSize = 65535;
constexpr std::size_t kItemBufferSize = 4096;
constexpr std::uint32_t kEndOfOrder = 0xFFFFFFFFu;
constexpr std::size_t kItemNumberSize = 4;
// Longest duplicate marker removed: " (" + up to five characters + ")".
constexpr std::size_t kMarkerInsideMax = 5;

// More values than Windows ever keeps there: a key holding more is not listed, its items are
// then asked for one by one.
constexpr std::size_t kMaxValueNames = 100000;

std::optional<Bytes> ReadValue(const std::string& name, std::size_t buffer_size) {
  return services::RegistryReadBytes(services::RegistryRoot::CurrentUser, kRecentDocsKey, name, buffer_size);
}

// The names of the items that exist, or nothing when the key cannot be listed. A damaged order
// value may name thousands of items that do not: asking the registry for each of them is a
// round trip to the system every time (seconds of a frozen menu), one listing is one.
std::optional<ItemNames> ExistingItems() {
  std::optional<std::vector<std::string>> names =
      services::RegistryValueNames(services::RegistryRoot::CurrentUser, kRecentDocsKey, kMaxValueNames);
  if (!names) return std::nullopt;
  return ItemNames(names->begin(), names->end());
}

// The order value: 32-bit little-endian item numbers up to an all-bits-set one, or to the end
// of the data when that is missing. A last group of fewer than four bytes still gives a
// number, read from the bytes it has. Windows names an item once; a repeat is skipped, or a
// damaged order value could fill the menu with one document thousands of times.
std::vector<std::uint32_t> ItemNumbers(const Bytes& order) {
  std::vector<std::uint32_t> numbers;
  std::unordered_set<std::uint32_t> seen;
  for (std::size_t at = 0; at < order.size(); at += kItemNumberSize) {
    const std::size_t width = std::min(kItemNumberSize, order.size() - at);
    std::uint32_t number = 0;
    for (std::size_t i = width; i-- > 0;) number = (number << 8) | order[at + i];
    if (width == kItemNumberSize && number == kEndOfOrder) break;
    if (seen.insert(number).second) numbers.push_back(number);
  }
  return numbers;
}

// First occurrence of `pattern` starting on a byte. (Searching the data as hexadecimal text
// would also find a pattern shifted by half a byte, and cut a garbage name from there.)
std::optional<std::size_t> Find(const Bytes& data, const Bytes& pattern) {
  const auto found = std::search(data.begin(), data.end(), pattern.begin(), pattern.end());
  if (found == data.end()) return std::nullopt;
  return static_cast<std::size_t>(found - data.begin());
}

// The 8-bit name that ends just before `end`, read backwards one byte at a time: a zero byte
// is skipped, two zeros in a row end the name.
std::string NameEndingAt(const Bytes& data, std::size_t end) {
  std::string reversed;
  for (std::size_t i = end; i-- > 0;) {
    if (data[i] != 0) {
      reversed.push_back(static_cast<char>(data[i]));
    } else if (i > 0 && data[i - 1] == 0) {
      break;
    }
  }
  return std::string(reversed.rbegin(), reversed.rend());
}

// The UTF-16LE name that ends just before `end`, read backwards one character at a time up to
// a zero character. A character beyond U+00FF has no 8-bit form and becomes "?" (its bytes
// would otherwise show as control characters and stray letters).
std::string WideNameEndingAt(const Bytes& data, std::size_t end) {
  std::string reversed;
  for (std::size_t i = end; i >= 2; i -= 2) {
    const unsigned character = data[i - 2] | (data[i - 1] << 8);
    if (character == 0) break;
    reversed.push_back(character <= 0xFF ? static_cast<char>(character) : '?');
  }
  return std::string(reversed.rbegin(), reversed.rend());
}

// The item's shortcut file name without ".lnk": Windows stores it as 8-bit text, some items only
// as UTF-16LE, so the 8-bit form is looked for first.
std::optional<std::string> ShortcutStemIn(const Bytes& item) {
  static const Bytes kDotLnk = {'.', 'l', 'n', 'k'};
  static const Bytes kWideDotLnk = {'.', 0, 'l', 0, 'n', 0, 'k', 0};
  if (const std::optional<std::size_t> dot = Find(item, kDotLnk)) return NameEndingAt(item, *dot);
  if (const std::optional<std::size_t> dot = Find(item, kWideDotLnk)) return WideNameEndingAt(item, *dot);
  return std::nullopt;
}

// Windows names a second shortcut to a document of the same name "report.txt (2).lnk": a
// trailing " (...)" with up to five characters inside is taken off; longer ones stay.
std::string WithoutDuplicateMarker(const std::string& stem) {
  if (stem.empty() || stem.back() != ')') return stem;
  const std::size_t size = stem.size();
  // `back` counts from the end, the ")" being 1: the "(" may be at 2 (nothing inside) to 7.
  for (std::size_t back = 2; back <= kMarkerInsideMax + 2 && back < size; ++back) {
    if (stem[size - back] == '(' && stem[size - back - 1] == ' ') return stem.substr(0, size - back - 1);
  }
  return stem;
}

// The document of one item, or nothing when the item is not among the existing ones (when they
// are known), cannot be read, names no shortcut or names one without extension (a shortcut to a
// folder, for example).
std::optional<RecentDocument> ReadItem(std::uint32_t number, const std::optional<ItemNames>& existing) {
  const std::string name = std::to_string(number);
  if (existing && existing->count(name) == 0) return std::nullopt;
  const std::optional<Bytes> item = ReadValue(name, kItemBufferSize);
  if (!item) return std::nullopt;
  const std::optional<std::string> stem = ShortcutStemIn(*item);
  if (!stem) return std::nullopt;
  RecentDocument document;
  document.DisplayName = WithoutDuplicateMarker(*stem);
  document.ShortcutName = *stem + ".lnk";
  document.Extension = platform::LowerExtension(document.DisplayName);
  if (document.Extension.empty()) return std::nullopt;
  return document;
}

unsigned char FoldedCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 0x20);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 0x20);  // À-Þ, not ×
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 0x10);  // Š Œ Ž
  if (c == 0x9F) return 0xFF;                                                            // Ÿ
  return c;
}

}  // namespace

std::vector<RecentDocument>& RecentDocuments() {
  static std::vector<RecentDocument> documents;
  return documents;
}

bool NameLessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return FoldedCase(static_cast<unsigned char>(x)) < FoldedCase(static_cast<unsigned char>(y));
  });
}

void ReadRecentDocuments(bool all) {
  KV_MARK();
  std::vector<RecentDocument>& documents = RecentDocuments();
  documents.clear();
  const std::int64_t maximum = settings::Current().RecentDocsMaximum;
  const Bytes order = ReadValue(kOrderValue, kOrderBufferSize).value_or(Bytes{});
  if (order.empty()) return;
  const std::optional<ItemNames> existing = ExistingItems();
  std::int64_t count = 0;
  for (const std::uint32_t number : ItemNumbers(order)) {
    KV_MARK();
    if (std::optional<RecentDocument> document = ReadItem(number, existing)) {
      documents.push_back(std::move(*document));
      ++count;
    }
    // Checked after every item, also one that added nothing: the list may hold maximum + 1.
    if (count > maximum && !all) break;
  }
  // Names equal but for case keep Windows' order, most recent first.
  if (all) std::stable_sort(documents.begin(), documents.end(), [](const RecentDocument& a, const RecentDocument& b) {
    return NameLessIgnoringCase(a.DisplayName, b.DisplayName);
  });
}

}  // namespace sources
