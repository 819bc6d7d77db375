#include "core/TextEncoding.h"
#include "core/FileStore.h"
#include "core/Format.h"
#include "core/GradeTables.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace sw;

namespace {

TEST(SingleFormat, WritesShortestPlainForm) {
    EXPECT_EQ(formatSingle(999.0f), "999");
    EXPECT_EQ(formatSingle(122.5f), "122.5");
    EXPECT_EQ(formatSingle(400.0f), "400");
    EXPECT_EQ(formatSingle(1000.0f), "1000");
    EXPECT_EQ(formatSingle(121.35f), "121.35");
    EXPECT_EQ(formatSingle(1.0f / 3.0f), "0.3333333");
    EXPECT_EQ(formatSingle(0.0f), "0");
    EXPECT_EQ(formatSingle(-0.0f), "0");
    EXPECT_EQ(formatSingle(-397.5f), "-397.5");
    EXPECT_EQ(formatSingle(0.05f), "0.05");
    EXPECT_EQ(formatSingle(0.00012f), "0.00012");
    EXPECT_EQ(formatSingle(123456789.0f), "123456800");
    EXPECT_EQ(formatSingle(1e10f), "10000000000");
}

TEST(DoubleFormat, KeepsFifteenDigits) {
    EXPECT_EQ(formatDouble(612.5), "612.5");
    EXPECT_EQ(formatDouble(0.1 + 0.2), "0.3");
    EXPECT_EQ(formatDouble(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(formatDouble(1234567.25), "1234567.25");
    EXPECT_EQ(formatDouble(std::numeric_limits<double>::quiet_NaN()), "0");
}

TEST(RecordWriter, JoinsFieldsAndEndsWithCrLf) {
    std::string line =
        RecordWriter().text("Silver Arrow").text("M").integer(-3).single(999.f).boolean(false).line();
    EXPECT_EQ(line, "Silver Arrow,M,-3,999,False\r\n");
    EXPECT_EQ(RecordWriter().single(400).single(2).empty().empty().single(121.35f).line(),
              "400,2,,,121.35\r\n");
}

TEST(FieldReader, ReadsTolerantly) {
    FieldReader r("  12abc,,Ann , 7.5,true,0,3");
    int32_t a = 99, b = 99;
    std::string name;
    float f = 0;
    bool t = false, z = true, n = false;
    r.read(a);
    r.read(b);
    r.read(name);
    r.read(f);
    r.read(t);
    r.read(z);
    r.read(n);
    EXPECT_EQ(a, 12);
    EXPECT_EQ(b, 0) << "an empty field reads as 0";
    EXPECT_EQ(name, "Ann ");
    EXPECT_FLOAT_EQ(f, 7.5f);
    EXPECT_TRUE(t);
    EXPECT_FALSE(z);
    EXPECT_TRUE(n) << "a non-zero number reads as true";
}

TEST(FieldReader, LeavesValueWhenFieldIsMissingOrNotANumber) {
    FieldReader r("abc");
    int16_t v = 5, w = 6;
    r.read(v);
    r.read(w);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(w, 6) << "a field past the end of a short line leaves the value";
    EXPECT_TRUE(r.atEnd());
}

TEST(FieldReader, RejectsNumbersOutsideTheFieldWidth) {
    FieldReader r("40000,-40000,99999999999,1e39");
    int16_t a = 1, b = 2;
    int32_t c = 3;
    float d = 4;
    r.read(a);
    r.read(b);
    r.read(c);
    r.read(d);
    EXPECT_EQ(a, 1);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(c, 3);
    EXPECT_EQ(d, 4);
}

TEST(FieldReader, RoundTripsWhatTheWriterWrites) {
    for (float value : {0.f, 1.f, 2.5f, 121.35f, 118.72f, 0.05f, 99.9f, 1.0f / 3.0f, 123456.7f}) {
        std::string text = formatSingle(value);
        FieldReader r(text);
        float back = -1;
        r.read(back);
        EXPECT_FLOAT_EQ(back, value) << text;
    }
}

TEST(SplitLines, AcceptsEveryLineEnd) {
    auto lines = splitLines("a\r\nb\nc\rd");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "a");
    EXPECT_EQ(lines[3], "d");
    EXPECT_TRUE(splitLines("").empty());
    EXPECT_EQ(splitLines("x\r\n\r\ny\r\n").size(), 3u) << "blank lines are kept for the caller to skip";
}

TEST(Format, MoneyPatterns) {
    EXPECT_EQ(moneyText(397.5), "397.50");
    EXPECT_EQ(moneyText(0.5), "0.50");
    EXPECT_EQ(moneyText(0, false), ".00");
    EXPECT_EQ(moneyText(0.5, false), ".50");
    EXPECT_EQ(dollarText(612.5), "$612.50");
    EXPECT_EQ(dollarText(0), "$.00");
    EXPECT_EQ(rightAlign("$612.50", 10), "   $612.50");
    EXPECT_EQ(rightAlign("$12345678.00", 10), "$12345678.00") << "never cut";
    EXPECT_EQ(padRight("\u00BD", 3), "\u00BD  ") << "the fraction sign is one column";
}

TEST(Format, TimeTextAndRounding) {
    EXPECT_EQ(timeText(118.3), "1:58.30");
    EXPECT_EQ(timeText(27.35), "0:27.35");
    EXPECT_EQ(timeText(999), "16:39.00");
    EXPECT_FLOAT_EQ(hundredths(118.7249), 118.72f);
    EXPECT_EQ(roundHalfEven(12.5), 12);
    EXPECT_EQ(roundHalfEven(13.5), 14);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(shortDateText(2026, 12, 6), "12/6/2026");
}

TEST(GradeTables, PurseSharesAndFactors) {
    int expected6[8] = {2400, 1500, 900, 600, 150, 150, 150, 150};
    int expected3[8] = {1200, 750, 450, 300, 75, 75, 75, 75};
    for (int p = 0; p < 8; ++p) {
        EXPECT_EQ(purseShare(6, p), expected6[p]);
        EXPECT_EQ(purseShare(3, p), expected3[p]);
    }
    EXPECT_EQ(purseShare(0, 0), 0);
    EXPECT_EQ(purseShare(3, 8), 0);
    EXPECT_EQ(gradeFactor(1), 8);
    EXPECT_EQ(gradeFactor(6), 13);
    EXPECT_EQ(gradeFactor(0), 0);
    EXPECT_EQ(gradeIndex("AA"), 6);
    EXPECT_EQ(gradeIndex("M"), 1);
    EXPECT_EQ(gradeIndex("X"), 0);
    EXPECT_EQ(gradeIndex("-"), 0);
}

TEST(FileStore, AtomicRewriteReplacesWholeFile) {
    test::TempDir dir;
    auto file = dir / "horses.dat";
    test::writeAll(file, "old\r\n");
    EXPECT_FALSE(writeFileAtomic(file, "new\r\n"));
    EXPECT_EQ(test::readAll(file), "new\r\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "horses.dat.new"));
}

TEST(FileStore, FailedRewriteLeavesTheOldFile) {
    test::TempDir dir;
    auto file = dir / "horses.dat";
    test::writeAll(file, "old\r\n");
    // A folder where the temporary file should go makes the rewrite fail half-way.
    std::filesystem::create_directory(dir / "horses.dat.new");
    FileError err = writeFileAtomic(file, "new\r\n");
    EXPECT_TRUE(err);
    EXPECT_NE(err.message.find("horses.dat"), std::string::npos);
    EXPECT_EQ(test::readAll(file), "old\r\n");
}

TEST(FileStore, ReadTellsAFileThatIsNotThereFromOneThatCannotBeRead) {
    test::TempDir dir;
    test::writeAll(dir / "x.dat", "a\r\nb");
    std::filesystem::create_directory(dir / "folder.dat");
    const FileContent read = readFile(dir / "x.dat");
    EXPECT_EQ(read.status, ReadStatus::Read);
    EXPECT_EQ(read.bytes, "a\r\nb");
    EXPECT_EQ(readFile(dir / "missing.dat").status, ReadStatus::Missing);
    EXPECT_EQ(readFile(dir / "folder.dat").status, ReadStatus::Unreadable);
}

} // namespace
