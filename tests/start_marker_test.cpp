// The start marker ends the earlier instance it names, and only that: a recycled process id
// that now belongs to another program must survive.
#include <gtest/gtest.h>

#include <filesystem>

#include "shell/start_marker.h"
#include "tests/fakes/fakes.h"
#include "ui/text_file.h"

namespace {

using fakes::FakeServices;

class StartMarker : public ::testing::Test {
 protected:
  void SetUp() override {
    fakes::Reset();
    folder_ = std::filesystem::temp_directory_path() / ("kv_marker_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
    data_ = folder_.string() + "/";
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void WriteMarker(const std::string& bytes) { ASSERT_TRUE(ui::WriteFileReplacing(Marker(), bytes)); }
  std::string Marker() const { return data_ + shell::kStartMarkerName; }
  void Replace() { shell::ReplaceEarlierInstance(data_, "C:\\Kestrivalume\\Kestrivalume.exe"); }

  std::filesystem::path folder_;
  std::string data_;
};

TEST(MarkerBytes, LittleEndianAndShortMarkers) {
  EXPECT_EQ(shell::MarkerBytes(0x01020304), std::string("\x04\x03\x02\x01", 4));
  EXPECT_EQ(shell::MarkerProcessId(std::string("\x04\x03\x02\x01", 4)), 0x01020304);
  EXPECT_EQ(shell::MarkerProcessId(std::string("\x34\x12", 2)), 0x1234);
  EXPECT_EQ(shell::MarkerProcessId(""), 0);
  EXPECT_EQ(shell::MarkerProcessId(std::string("\xFF\xFF\xFF\xFF", 4)), -1);
}

TEST_F(StartMarker, EndsTheEarlierInstanceAndTakesItsPlace) {
  FakeServices().processes = {{100, "explorer.exe"}, {777, "KESTRIVALUME.EXE"}};
  WriteMarker(shell::MarkerBytes(777));
  Replace();
  ASSERT_EQ(FakeServices().terminated.size(), 1u);
  EXPECT_EQ(FakeServices().terminated[0], std::make_pair(777u, 1u));
  EXPECT_EQ(ui::ReadFileBytes(Marker()), shell::MarkerBytes(4242));
}

TEST_F(StartMarker, LeavesAnotherProgramWithARecycledIdRunning) {
  FakeServices().processes = {{777, "winword.exe"}};
  WriteMarker(shell::MarkerBytes(777));
  Replace();
  EXPECT_TRUE(FakeServices().terminated.empty());
  EXPECT_EQ(ui::ReadFileBytes(Marker()), shell::MarkerBytes(4242));
}

TEST_F(StartMarker, TerminatesNothingForZeroNegativeGoneOrOwnIds) {
  FakeServices().processes = {{4242, "Kestrivalume.exe"}};
  for (const std::string& bytes : {shell::MarkerBytes(0), std::string("\xFF\xFF\xFF\xFF", 4), shell::MarkerBytes(9),
                                   shell::MarkerBytes(4242), std::string()}) {
    WriteMarker(bytes);
    Replace();
    EXPECT_TRUE(FakeServices().terminated.empty());
    EXPECT_EQ(ui::ReadFileBytes(Marker()), shell::MarkerBytes(4242));
  }
}

TEST_F(StartMarker, WrittenWhenMissing) {
  Replace();
  EXPECT_EQ(ui::ReadFileBytes(Marker()), shell::MarkerBytes(4242));
}

}  // namespace
