#include "platform/fatal_error_text.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/location_marker.h"

// Number 0: a marked place here records its bare line.
KV_MARKED_FILE(0);

using platform::BuildFatalErrorText;

namespace {

constexpr char kBoxTail[] =
    "Please send this information which is now in the clipboard to\r\n"
    "Varnholtiqa support, support@varnholtiqa.example\r\n\r\n"
    "Continue program execution?    (not recommended)";

std::string Clipboard(std::uint32_t code, std::uint64_t address, std::uint32_t location) {
  return std::string(BuildFatalErrorText(code, address, location).clipboard());
}

}  // namespace

TEST(FatalErrorText, AccessViolationReportIsExact) {
  const auto text = BuildFatalErrorText(0xC0000005u, 0x00401A2Bu, 1234);
  const std::string expected_clipboard =
      "A program error occurred!\r\n\r\n"
      "Error message:\tInvalid memory access\r\n"
      "Error code:\t-1073741819\r\n\r\n"
      "Error address:\t4201003\r\n"
      "Program name:\tKestrivalume\r\n"
      "Program version:\tVersion 1.12.06.05\r\n"
      "Program module:\tKestrivalume\r\n"
      "Program line:\t1234\r\n\r\n";
  EXPECT_EQ(std::string(text.clipboard()), expected_clipboard);
  EXPECT_EQ(std::string(text.message_box()), expected_clipboard + kBoxTail);
  EXPECT_EQ(std::string(text.text), std::string(text.message_box()));  // NUL-terminated for the box
}

TEST(FatalErrorText, UnknownCodeAndHighAddressesAreSignedDecimals) {
  const std::string report = Clipboard(0xE0001234u, 0xFFFFFFFFu, 0);
  EXPECT_NE(report.find("Error message:\tUnknown error code\r\n"), std::string::npos);
  EXPECT_NE(report.find("Error code:\t-536866252\r\n\r\n"), std::string::npos);
  EXPECT_NE(report.find("Error address:\t-1\r\n"), std::string::npos);
  // 64-bit addresses: only the low 32 bits are reported.
  EXPECT_NE(Clipboard(0xC0000005u, 0x00007FF612345678ull, 0).find("Error address:\t305419896\r\n"),
            std::string::npos);
  EXPECT_NE(Clipboard(0xC0000005u, 0x0000000080000000ull, 0).find("Error address:\t-2147483648\r\n"),
            std::string::npos);
}

TEST(FatalErrorText, MessagesKeepTheirExactWording) {
  EXPECT_STREQ(platform::FatalErrorMessage(0xC0000094u), "Division by zero ");  // trailing blank
  EXPECT_NE(Clipboard(0xC0000094u, 0, 0).find("\tDivision by zero \r\n"), std::string::npos);
  EXPECT_STREQ(platform::FatalErrorMessage(0xC000008Eu), "Division by zero (floating-point)");
  EXPECT_STREQ(platform::FatalErrorMessage(0xC0000091u), "Floating-point overflow (exponent to great)");
  EXPECT_STREQ(platform::FatalErrorMessage(0x80000003u), "Debugger breakpoint reached");
  EXPECT_STREQ(platform::FatalErrorMessage(0xC00000FDu), "Stack overflow");
  EXPECT_STREQ(platform::FatalErrorMessage(0), "Unknown error code");
  EXPECT_STREQ(platform::FatalErrorMessage(0xC0000005u & 0xFFFF), "Unknown error code");
}

TEST(FatalErrorText, ModuleAndLineComeFromTheMarker) {
  const std::string other_module = Clipboard(0xC0000005u, 0, (3u << 24) | 77u);
  EXPECT_NE(other_module.find("Program module:\tModule 3\r\nProgram line:\t77\r\n\r\n"), std::string::npos);
  const std::string top_module = Clipboard(0xC0000005u, 0, 0xFFFFFFFFu);
  EXPECT_NE(top_module.find("Program module:\tModule 255\r\nProgram line:\t16777215\r\n\r\n"), std::string::npos);
}

TEST(LocationMarker, LineIsCutToTwentyFourBitsInTheMainModule) {
  platform::MarkLocation(4321);
  EXPECT_EQ(platform::CurrentLocation(), 4321u);
  platform::MarkLocation(0x12345678);
  EXPECT_EQ(platform::CurrentLocation(), 0x00345678u);  // module bits stay 0
  platform::MarkLocation(-1);
  EXPECT_EQ(platform::CurrentLocation(), 0x00FFFFFFu);
  const int marked_line = __LINE__ + 1;
  KV_MARK();
  EXPECT_EQ(platform::LocationLine(platform::CurrentLocation()), static_cast<std::uint32_t>(marked_line));
  EXPECT_EQ(platform::LocationModule(platform::CurrentLocation()), 0u);
  EXPECT_EQ(platform::LocationModule(0xAB000001u), 0xABu);
  EXPECT_EQ(platform::LocationLine(0xAB000001u), 1u);
}
