// Byte layouts of the binary registry values that the program reads back (recent documents and
// their most-recently-used order), so that tests can seed them.
#include "kvtool.h"

namespace kvtool {
namespace {

// RecentDocs item value:
//   document name, UTF-16LE, zero-terminated (WORD 0)
//   shortcut item:  WORD cb (counts itself), then cb - 2 bytes of item data:
//                   offset 2: kFileItemType; offsets 3..13: zero;
//                   offset kRecentDocShortcutNameOffset: shortcut file name, 8-bit (ANSI), zero-terminated
//   WORD 0 ending the item id list
// Offsets count from the first byte of the WORD cb. The program's reader uses the same offset.
constexpr std::size_t kRecentDocShortcutNameOffset = 14;
constexpr std::uint8_t kFileItemType = 0x32;

void append_word(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value & 0xff));
  bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xff));
}

void append_dword(std::vector<std::uint8_t>& bytes, std::uint32_t value) {
  append_word(bytes, value & 0xffff);
  append_word(bytes, value >> 16);
}

std::optional<std::wstring> to_wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

}  // namespace

std::vector<std::uint8_t> mru_list_ex_bytes(const std::vector<std::uint32_t>& indices) {
  std::vector<std::uint8_t> bytes;
  for (std::uint32_t index : indices) append_dword(bytes, index);
  append_dword(bytes, 0xffffffffu);
  return bytes;
}

std::optional<std::vector<std::uint8_t>> recent_doc_bytes(const std::string& document_name,
                                                          const std::string& shortcut_name) {
  const auto wide_name = to_wide(document_name);
  if (!wide_name) return std::nullopt;
  const std::size_t item_size = kRecentDocShortcutNameOffset + shortcut_name.size() + 1;
  if (item_size > 0xffff) return std::nullopt;  // cb is a WORD

  std::vector<std::uint8_t> bytes;
  for (wchar_t c : *wide_name) append_word(bytes, static_cast<std::uint16_t>(c));
  append_word(bytes, 0);

  const std::size_t item_start = bytes.size();
  append_word(bytes, static_cast<std::uint32_t>(item_size));
  bytes.push_back(kFileItemType);
  bytes.resize(item_start + kRecentDocShortcutNameOffset, 0);
  bytes.insert(bytes.end(), shortcut_name.begin(), shortcut_name.end());
  bytes.push_back(0);

  append_word(bytes, 0);
  return bytes;
}

}  // namespace kvtool
