// The shared text helpers: the leading-number scanner and the UTF-8 decoder.
#include <gtest/gtest.h>

#include <string>

#include "util/latin1.h"
#include "util/number_scan.h"

TEST(NumberScan, BlanksSignDigitsAndWhereTheyEnd) {
    ScannedNumber n = scan_leading_number(" \t-42x", 1000);
    EXPECT_TRUE(n.negative);
    EXPECT_EQ(n.value, 42);
    EXPECT_EQ(n.digits, 3u);
    EXPECT_EQ(n.used, 5u);
    EXPECT_EQ(n.end, 5u);
    // Without blank skipping a leading blank means no number at all.
    n = scan_leading_number(" 7", 1000, false);
    EXPECT_EQ(n.end, n.digits);
    EXPECT_EQ(n.value, 0);
    n = scan_leading_number("+", 1000);
    EXPECT_FALSE(n.negative);
    EXPECT_EQ(n.end, n.digits);
}

TEST(NumberScan, DigitsPastTheLimitArePassedOver) {
    // The value grows while it is below the limit, so it may pass it once.
    ScannedNumber n = scan_leading_number("123456789", 1000);
    EXPECT_EQ(n.value, 1234);
    EXPECT_EQ(n.used, 4u);
    EXPECT_EQ(n.end, 9u);
    n = scan_leading_number("999", 1000);
    EXPECT_EQ(n.value, 999);
    EXPECT_EQ(n.used, 3u);
}

TEST(NumberScan, HexadecimalOnlyWhenAsked) {
    EXPECT_EQ(scan_leading_number("$1F", 1 << 30, true, true).value, 31);
    EXPECT_EQ(scan_leading_number(" -0xff", 1 << 30, true, true).value, 255);
    EXPECT_EQ(scan_leading_number("0xff", 1 << 30).value, 0);
    EXPECT_EQ(scan_leading_number("0xff", 1 << 30).end, 1u);
    ScannedNumber n = scan_leading_number("$", 1 << 30, true, true);
    EXPECT_EQ(n.end, n.digits);
}

TEST(Utf8Decode, WellFormedShortestSequencesOnly) {
    unsigned cp = 7;
    EXPECT_EQ(utf8_decode("\xC3\xA9", 0, cp), 2u);
    EXPECT_EQ(cp, 0xE9u);
    EXPECT_EQ(utf8_decode("a\xE2\x82\xAC", 1, cp), 3u);
    EXPECT_EQ(cp, 0x20ACu);
    EXPECT_EQ(utf8_decode("\xF0\x9F\x98\x80", 0, cp), 4u);
    EXPECT_EQ(cp, 0x1F600u);
    cp = 7;
    for (const char* bad : {"\xC0\x80", "\xE0\x80\x80", "\xF4\x90\x80\x80", "\xC3", "\xC3(", "\x80", "\xFF"}) {
        EXPECT_EQ(utf8_decode(bad, 0, cp), 0u) << bad;
        EXPECT_EQ(cp, 7u);
    }
    EXPECT_EQ(utf8_decode("", 0, cp), 0u);
    EXPECT_EQ(utf8_decode("a", 0, cp), 1u);
    EXPECT_EQ(cp, unsigned('a'));
    // A stream reader waits for the rest of a sequence only after a lead byte.
    EXPECT_EQ(utf8_sequence_length('a'), 1u);
    EXPECT_EQ(utf8_sequence_length(0xC3), 2u);
    EXPECT_EQ(utf8_sequence_length(0xE2), 3u);
    EXPECT_EQ(utf8_sequence_length(0xF4), 4u);
    for (unsigned char not_lead : {0x80, 0xBF, 0xC0, 0xC1, 0xF5, 0xFF}) EXPECT_EQ(utf8_sequence_length(not_lead), 0u);
    // Text that is not UTF-8 keeps its bytes as Latin-1.
    EXPECT_EQ(latin1("\xC0\x80"), "\xC0\x80");
    // The code page's euro sign has its byte; what the page lacks is "?".
    EXPECT_EQ(latin1("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), "caf\xE9 \x80 ?");
    EXPECT_EQ(utf8("\x80\x93\x94\x85"), "\xE2\x82\xAC\xE2\x80\x9C\xE2\x80\x9D\xE2\x80\xA6");
}

TEST(UpperCase, Latin1LettersOrAsciiOnly) {
    EXPECT_EQ(latin1_upper("a\xE7\xE3o z\xFE"), "A\xC7\xC3O Z\xDE");
    // The division sign and y with diaeresis have no upper case in Latin-1.
    EXPECT_EQ(latin1_upper("\xF7\xFF"), "\xF7\xFF");
    EXPECT_EQ(ascii_upper("$a\xE9"), "$A\xE9");
    EXPECT_EQ(ascii_upper(static_cast<unsigned char>('{')), '{');
}
