#pragma once
// A 64-bit stamp of texts and numbers (FNV-1a): a change anywhere in what was added changes it.
// For telling "the same as before" cheaply, never for anything an attacker could aim at.
#include <cstdint>
#include <string>

namespace sources {

class Stamp {
 public:
  void Add(const std::string& text) {
    for (const unsigned char c : text) Mix(c);
    Mix(0);
  }
  void Add(std::uint64_t number) {
    for (int shift = 0; shift < 64; shift += 8) Mix(static_cast<unsigned char>(number >> shift));
  }
  std::uint64_t Value() const { return value_; }

 private:
  void Mix(unsigned char byte) {
    value_ ^= byte;
    value_ *= 0x100000001B3ull;
  }
  std::uint64_t value_ = 0xCBF29CE484222325ull;
};

}  // namespace sources
