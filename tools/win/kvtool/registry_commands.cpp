// regset / regget / regdel: seed and inspect the registry values the program reads and writes.
#include "kvtool.h"

#include <cstring>

namespace kvtool {
namespace {

constexpr const char* kRegsetSynopsis =
    "regset <HKCU|HKLM|HKCR> <key> <name|@> <sz|expand_sz|dword|binary-hex|mruex> <data>\n"
    "       kvtool regset <root> <key> <name|@> recentdoc <document name> <shortcut name>";
constexpr const char* kReggetSynopsis = "regget [--type] <HKCU|HKLM|HKCR> <key> <name|@>";
constexpr const char* kRegdelSynopsis = "regdel [--missing-ok] <HKCU|HKLM|HKCR> <key> [name|@]";

std::optional<HKEY> parse_root(const std::string& text) {
  if (text == "HKCU" || text == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
  if (text == "HKLM" || text == "HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
  if (text == "HKCR" || text == "HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
  return std::nullopt;
}

// "@" names the key's default (unnamed) value.
std::string value_name(const std::string& text) { return text == "@" ? std::string() : text; }

std::string registry_error(const char* action, LONG status) {
  return std::string(action) + " failed: error " + std::to_string(status);
}

struct TypedData {
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> string_bytes(const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

bool is_known_type(const std::string& type) {
  for (const char* known : {"sz", "expand_sz", "dword", "binary-hex", "mruex", "recentdoc"}) {
    if (type == known) return true;
  }
  return false;
}

// Builds the value of a known <type> from its data arguments; nullopt on malformed data.
std::optional<TypedData> build_value(const std::string& type, const Args& data) {
  if (type == "sz") return TypedData{REG_SZ, string_bytes(data[0])};
  if (type == "expand_sz") return TypedData{REG_EXPAND_SZ, string_bytes(data[0])};
  if (type == "dword") {
    const auto value = parse_integer(data[0], 0, 0xffffffffLL);
    if (!value) return std::nullopt;
    const auto dword = static_cast<std::uint32_t>(*value);
    std::vector<std::uint8_t> bytes(4);
    std::memcpy(bytes.data(), &dword, 4);  // Windows is little-endian
    return TypedData{REG_DWORD, bytes};
  }
  if (type == "binary-hex") {
    const auto bytes = parse_hex_bytes(data[0]);
    if (!bytes) return std::nullopt;
    return TypedData{REG_BINARY, *bytes};
  }
  if (type == "mruex") {
    // 0xFFFFFFFF is the terminator, so it cannot be an index.
    const auto indices = parse_integer_list(data[0], 0xfffffffeu);
    if (!indices) return std::nullopt;
    return TypedData{REG_BINARY, mru_list_ex_bytes(*indices)};
  }
  if (type == "recentdoc") {
    const auto bytes = recent_doc_bytes(data[0], data[1]);
    if (!bytes) return std::nullopt;
    return TypedData{REG_BINARY, *bytes};
  }
  return std::nullopt;
}

std::string type_name(DWORD type) {
  switch (type) {
    case REG_SZ: return "sz";
    case REG_EXPAND_SZ: return "expand_sz";
    case REG_MULTI_SZ: return "multi_sz";
    case REG_DWORD: return "dword";
    case REG_QWORD: return "qword";
    case REG_BINARY: return "binary";
    case REG_NONE: return "none";
    default: return "type" + std::to_string(type);
  }
}

// Strings end at their first NUL; a string stored without one is taken whole.
std::string text_until_nul(const std::vector<std::uint8_t>& bytes, std::size_t start) {
  std::string text;
  for (std::size_t i = start; i < bytes.size() && bytes[i] != 0; ++i) text += static_cast<char>(bytes[i]);
  return text;
}

// The value as printed by regget; nullopt when its size does not match its type.
std::optional<std::string> value_text(const TypedData& value) {
  const auto& bytes = value.bytes;
  switch (value.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return text_until_nul(bytes, 0);
    case REG_MULTI_SZ: {
      std::string lines;
      for (std::size_t pos = 0; pos < bytes.size() && bytes[pos] != 0;) {
        const std::string item = text_until_nul(bytes, pos);
        lines += (lines.empty() ? "" : "\n") + item;
        pos += item.size() + 1;
      }
      return lines;
    }
    case REG_DWORD: {
      if (bytes.size() != 4) return std::nullopt;
      std::uint32_t dword = 0;
      std::memcpy(&dword, bytes.data(), 4);
      return std::to_string(dword);
    }
    case REG_QWORD: {
      if (bytes.size() != 8) return std::nullopt;
      std::uint64_t qword = 0;
      std::memcpy(&qword, bytes.data(), 8);
      return std::to_string(qword);
    }
    default:
      return hex_bytes(bytes);
  }
}

// Reads a value of any size; the status is ERROR_FILE_NOT_FOUND when the key or value is absent.
LONG read_value(HKEY root, const std::string& key, const std::string& name, TypedData& out) {
  HKEY handle = nullptr;
  LONG status = RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle);
  if (status != ERROR_SUCCESS) return status;
  DWORD size = 256;
  do {
    out.bytes.resize(size);
    status = RegQueryValueExA(handle, name.c_str(), nullptr, &out.type, out.bytes.data(), &size);
  } while (status == ERROR_MORE_DATA);
  RegCloseKey(handle);
  if (status == ERROR_SUCCESS) out.bytes.resize(size);
  return status;
}

bool is_empty_key(const std::string& key) {
  return key.find_first_not_of('\\') == std::string::npos;
}

}  // namespace

int cmd_regset(const Args& args) {
  if (args.size() < 5) return usage_error(kRegsetSynopsis);
  const auto root = parse_root(args[0]);
  if (!root) return fail("unknown root '" + args[0] + "'");
  const std::string& type = args[3];
  if (!is_known_type(type)) return fail("unknown value type '" + type + "'");
  if (args.size() != (type == "recentdoc" ? 6u : 5u)) return usage_error(kRegsetSynopsis);
  const auto value = build_value(type, Args(args.begin() + 4, args.end()));
  if (!value) return fail("malformed data for type '" + type + "'");

  HKEY handle = nullptr;
  LONG status = RegCreateKeyExA(*root, args[1].c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr);
  if (status != ERROR_SUCCESS) return fail(registry_error("creating the key", status));
  status = RegSetValueExA(handle, value_name(args[2]).c_str(), 0, value->type, value->bytes.data(),
                          static_cast<DWORD>(value->bytes.size()));
  RegCloseKey(handle);
  if (status != ERROR_SUCCESS) return fail(registry_error("writing the value", status));
  return 0;
}

int cmd_regget(const Args& args) {
  const bool with_type = !args.empty() && args[0] == "--type";
  const Args rest(args.begin() + (with_type ? 1 : 0), args.end());
  if (rest.size() != 3) return usage_error(kReggetSynopsis);
  const auto root = parse_root(rest[0]);
  if (!root) return fail("unknown root '" + rest[0] + "'");

  TypedData value;
  const LONG status = read_value(*root, rest[1], value_name(rest[2]), value);
  if (status == ERROR_FILE_NOT_FOUND) return fail("value not found");
  if (status != ERROR_SUCCESS) return fail(registry_error("reading the value", status));
  const auto text = value_text(value);
  if (!text) {
    const std::string size = std::to_string(value.bytes.size());
    return fail("malformed " + type_name(value.type) + " value of " + size + " bytes");
  }
  print_line(with_type ? type_name(value.type) + "\t" + *text : *text);
  return 0;
}

int cmd_regdel(const Args& args) {
  const bool missing_ok = !args.empty() && args[0] == "--missing-ok";
  const Args rest(args.begin() + (missing_ok ? 1 : 0), args.end());
  if (rest.size() != 2 && rest.size() != 3) return usage_error(kRegdelSynopsis);
  const auto root = parse_root(rest[0]);
  if (!root) return fail("unknown root '" + rest[0] + "'");

  LONG status = ERROR_SUCCESS;
  if (rest.size() == 2) {
    // An empty key would name the whole root: never delete that.
    if (is_empty_key(rest[1])) return fail("refusing to delete a whole root");
    status = RegDeleteTreeA(*root, rest[1].c_str());
  } else {
    HKEY handle = nullptr;
    status = RegOpenKeyExA(*root, rest[1].c_str(), 0, KEY_SET_VALUE, &handle);
    if (status == ERROR_SUCCESS) {
      status = RegDeleteValueA(handle, value_name(rest[2]).c_str());
      RegCloseKey(handle);
    }
  }
  if (status == ERROR_FILE_NOT_FOUND) {
    return missing_ok ? 0 : fail(rest.size() == 2 ? "key not found" : "key or value not found");
  }
  if (status != ERROR_SUCCESS) return fail(registry_error("deleting", status));
  return 0;
}

}  // namespace kvtool
