#include "database/ShippedFolder.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace sw;
namespace fs = std::filesystem;

namespace {

class ShippedFolderTest : public ::testing::Test {
protected:
    ShippedFolderTest() {
        fs::create_directories(prefix / "bin");
        fs::create_directories(source / "data");
    }

    test::TempDir root;
    fs::path prefix = root / "usr";
    fs::path source = root / "src";
    fs::path relative = fs::path("..") / "share" / "stridewell" / "data";
};

TEST_F(ShippedFolderTest, InstalledCopyBesideTheProgramComesFirst) {
    fs::create_directories(prefix / "share" / "stridewell" / "data");
    fs::path found = shippedFolder(prefix / "bin", relative, source / "data");
    EXPECT_EQ(found, (prefix / "share" / "stridewell" / "data").lexically_normal());
}

TEST_F(ShippedFolderTest, BuildTreeFallsBackToTheSourceFolder) {
    EXPECT_EQ(shippedFolder(prefix / "bin", relative, source / "data"), source / "data");
}

TEST_F(ShippedFolderTest, AFileWhereTheFolderShouldBeIsNotTheFolder) {
    fs::create_directories(prefix / "share" / "stridewell");
    test::writeAll(prefix / "share" / "stridewell" / "data", "not a folder");
    EXPECT_EQ(shippedFolder(prefix / "bin", relative, source / "data"), source / "data");
}

TEST_F(ShippedFolderTest, UnknownProgramFolderOrEmptyRelativePathUseTheBuiltInFolder) {
    fs::create_directories(prefix / "share" / "stridewell" / "data");
    EXPECT_EQ(shippedFolder({}, relative, source / "data"), source / "data");
    // The program's own folder is a portable copy's place, never mistaken for the shipped one.
    EXPECT_EQ(shippedFolder(prefix / "bin", {}, source / "data"), source / "data");
}

TEST_F(ShippedFolderTest, AbsoluteInstalledPathIsTakenAsItIs) {
    fs::path absolute = root / "opt" / "data";
    fs::create_directories(absolute);
    EXPECT_EQ(shippedFolder(prefix / "bin", absolute, source / "data"), absolute);
}

} // namespace
