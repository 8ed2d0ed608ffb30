// Path parts as every caller cuts them: both separators, and a dot only in the file name counts.
#include "platform/paths.h"

#include <gtest/gtest.h>

using platform::FileNamePart;
using platform::FolderPart;
using platform::LowerExtension;

TEST(Paths, PartsAreCutAtTheLastSeparatorOfEitherKind) {
  EXPECT_EQ(FileNamePart("C:\\Programmes\\Outil.exe"), "Outil.exe");
  EXPECT_EQ(FolderPart("C:\\Programmes\\Outil.exe"), "C:\\Programmes\\");
  EXPECT_EQ(FileNamePart("C:\\Programmes/Outils/outil.exe"), "outil.exe");
  EXPECT_EQ(FolderPart("C:/Programmes\\outil.exe"), "C:/Programmes\\");
  EXPECT_EQ(FileNamePart("notepad.exe"), "notepad.exe");
  EXPECT_EQ(FolderPart("notepad.exe"), "");
  EXPECT_EQ(FileNamePart("C:\\Jeux\\"), "");
  EXPECT_EQ(FolderPart(""), "");
}

TEST(Paths, ExtensionIsTheFileNamesLowerCasedAfterItsLastDot) {
  EXPECT_EQ(LowerExtension("C:\\M\\Bloc-notes.LNK"), "lnk");
  EXPECT_EQ(LowerExtension("archive.tar.GZ"), "gz");
  EXPECT_EQ(LowerExtension("C:\\Dossier.ancien\\LISEZMOI"), "");
  EXPECT_EQ(LowerExtension("C:/Dossier.ancien/LISEZMOI"), "");
  EXPECT_EQ(LowerExtension("C:\\Docs\\Rapport."), "");
  EXPECT_EQ(LowerExtension("\xC9T\xC9.TXT"), "txt");
}

namespace {
bool OnlyZIsMapped(char letter) { return letter == 'Z'; }
}  // namespace

// What is reached over the network: a server's share by either form, or a drive mapped to one;
// local drives, the long form of a local path and device names are not.
TEST(Paths, NetworkPathsAreSharesAndMappedDrives) {
  using platform::IsNetworkPath;
  EXPECT_TRUE(IsNetworkPath("\\\\serveur\\partage\\outil.exe", OnlyZIsMapped));
  EXPECT_TRUE(IsNetworkPath("//serveur/partage/outil.exe", OnlyZIsMapped));
  EXPECT_TRUE(IsNetworkPath("\"\\\\serveur\\partage\\outil.exe\"", OnlyZIsMapped));
  EXPECT_TRUE(IsNetworkPath("\\\\?\\UNC\\serveur\\partage\\outil.exe", OnlyZIsMapped));
  EXPECT_TRUE(IsNetworkPath("z:\\outils\\calc.exe", OnlyZIsMapped));
  EXPECT_TRUE(IsNetworkPath("\\\\?\\Z:\\outils\\calc.exe", OnlyZIsMapped));
  EXPECT_FALSE(IsNetworkPath("C:\\Windows\\notepad.exe", OnlyZIsMapped));
  EXPECT_FALSE(IsNetworkPath("\\\\?\\C:\\Windows\\notepad.exe", OnlyZIsMapped));
  EXPECT_FALSE(IsNetworkPath("\\\\.\\pipe\\kestrivalume", OnlyZIsMapped));
  EXPECT_FALSE(IsNetworkPath("\\\\\\triple", OnlyZIsMapped));
  EXPECT_FALSE(IsNetworkPath("notepad.exe", OnlyZIsMapped));
  EXPECT_FALSE(IsNetworkPath("", OnlyZIsMapped));
  EXPECT_FALSE(IsNetworkPath("Z", OnlyZIsMapped));
  EXPECT_FALSE(IsNetworkPath("1:\\x", OnlyZIsMapped));
  EXPECT_FALSE(IsNetworkPath("z:\\outils\\calc.exe", nullptr));
}
