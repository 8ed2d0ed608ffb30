// RecentDocs values of any bytes and length: an order value naming any item numbers, items of
// any content. Every document read has a shortcut name ending in ".lnk" and an extension, and
// the list never exceeds its bound.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "menu/view_state.h"
#include "settings/settings.h"
#include "sources/recent_documents.h"
#include "tests/fakes/fakes.h"

namespace {

constexpr char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RecentDocs";

void Check(bool condition) {
  if (!condition) std::abort();
}

void SetValue(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  fakes::FakeServices().registry_bytes[{services::RegistryRoot::CurrentUser, kKey, name}] = bytes;
}

std::uint32_t NumberAt(const std::vector<std::uint8_t>& order, std::size_t at) {
  std::uint32_t number = 0;
  for (std::size_t i = 0; i < 4 && at + i < order.size(); ++i) number |= std::uint32_t{order[at + i]} << (8 * i);
  return number;
}

// The input: one options byte, then values, each a 16-bit little-endian length and its bytes
// (a length past the end takes what is left).
struct Chunks {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;

  bool Done() const { return at >= size; }
  std::uint8_t Byte() { return Done() ? 0 : data[at++]; }
  std::vector<std::uint8_t> Next() {
    const std::size_t length = Byte() | (Byte() << 8);
    const std::size_t taken = std::min(length, size - std::min(at, size));
    std::vector<std::uint8_t> bytes(data + at, data + at + taken);
    at += taken;
    return bytes;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fakes::Reset();
  Chunks input{data, size};
  const std::uint8_t options = input.Byte();
  const bool all = (options & 0x80) != 0;
  const std::int32_t maximum = static_cast<std::int32_t>(options & 0x3F) - 2;
  menu::View().AllDocumentsShown = all;
  settings::Current().RecentDocsMaximum = maximum;

  const std::vector<std::uint8_t> order = input.Next();
  SetValue("MRUListEx", order);
  // Items for the numbers the order names, in its order (the last ones may stay missing).
  for (std::size_t at = 0; at < order.size() && !input.Done(); at += 4) {
    SetValue(std::to_string(NumberAt(order, at)), input.Next());
  }

  sources::ReadRecentDocuments(menu::View().AllDocumentsShown);
  const std::vector<sources::RecentDocument>& documents = sources::RecentDocuments();
  Check(documents.size() <= order.size() / 4 + 1);
  if (!all && maximum >= 0) Check(documents.size() <= static_cast<std::size_t>(maximum) + 1);
  for (const sources::RecentDocument& document : documents) {
    Check(document.ShortcutName.size() >= 4);
    Check(document.ShortcutName.compare(document.ShortcutName.size() - 4, 4, ".lnk") == 0);
    Check(!document.Extension.empty());
  }
  return 0;
}
