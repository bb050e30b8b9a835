#include "platform/utility.h"

#include <gtest/gtest.h>

using platform::Utility;

TEST(UtilityRuc, AcceptsElevenDigitsWithTheirCheckDigit)
{
    const Utility util;
    EXPECT_TRUE(util.isValidRuc(QStringLiteral("10412345679")));
    EXPECT_TRUE(util.isValidRuc(QStringLiteral("20600112237")));
    // Sum mod 11 = 1: 11 - 1 = 10 stands for 0.
    EXPECT_TRUE(util.isValidRuc(QStringLiteral("20100070970")));
    // Sum mod 11 = 0: 11 - 0 = 11 stands for 1.
    EXPECT_TRUE(util.isValidRuc(QStringLiteral("20456712381")));
}

TEST(UtilityRuc, RefusesWrongCheckDigitLengthAndCharacters)
{
    const Utility util;
    EXPECT_FALSE(util.isValidRuc(QStringLiteral("10412345678")));
    EXPECT_FALSE(util.isValidRuc(QStringLiteral("20100070971")));
    EXPECT_FALSE(util.isValidRuc(QStringLiteral("2010007097")));
    EXPECT_FALSE(util.isValidRuc(QStringLiteral("201000709700")));
    EXPECT_FALSE(util.isValidRuc(QStringLiteral(" 20100070970")));
    EXPECT_FALSE(util.isValidRuc(QStringLiteral("2010007097A")));
    EXPECT_FALSE(util.isValidRuc(QString()));
}

TEST(UtilityColumns, FixedColumnPadsOrCutsToTheWidth)
{
    const Utility util;
    EXPECT_EQ(util.fixedColumn(QStringLiteral("1"), 12), QStringLiteral("1           "));
    EXPECT_EQ(util.fixedColumn(QStringLiteral("1234567890123"), 12), QStringLiteral("123456789012"));
}

TEST(UtilityColumns, PadsWithTheFillAndKeepsALongerText)
{
    const Utility util;
    EXPECT_EQ(util.padRight(QStringLiteral("AB"), 5, u' '), QStringLiteral("AB   "));
    EXPECT_EQ(util.padLeft(QStringLiteral("7"), 2, u'0'), QStringLiteral("07"));
    EXPECT_EQ(util.padLeft(QStringLiteral("123"), 8, u' '), QStringLiteral("     123"));
    EXPECT_EQ(util.padLeft(QStringLiteral("12345"), 3, u'0'), QStringLiteral("12345"));
    EXPECT_EQ(util.padRight(QStringLiteral("12345"), 3, u' '), QStringLiteral("12345"));
}

TEST(UtilityKeys, NumericFilterKeepsDigitsBackspaceEnterAndThePointWhenAllowed)
{
    const Utility util;
    for (int key : {int('0'), int('9'), 8, 13})
        EXPECT_EQ(util.filterNumericKey(key, false), key) << key;
    EXPECT_EQ(util.filterNumericKey('.', true), int('.'));
    EXPECT_EQ(util.filterNumericKey('.', false), 0);
    for (int key : {int('a'), int('-'), int(','), int(' '), 22})
        EXPECT_EQ(util.filterNumericKey(key, true), 0) << key;
}

TEST(UtilityKeys, SingleCharacterFilterDropsControlKeysAndTheFieldSeparator)
{
    const Utility util;
    for (int key : {8, 13, int('a'), int('Z'), int(' '), int('-'), 241})
        EXPECT_EQ(util.filterKey(key), key) << key;
    for (int key : {3, 22, 27, 127, int('|')})
        EXPECT_EQ(util.filterKey(key), 0) << key;
}

TEST(UtilityDates, AcceptsRealDatesWithinTheLimits)
{
    const Utility util;
    EXPECT_TRUE(util.isValidDate(QStringLiteral("01/01/1850")));
    EXPECT_TRUE(util.isValidDate(QStringLiteral("01/01/2500")));
    EXPECT_TRUE(util.isValidDate(QStringLiteral("29/02/2024")));
    EXPECT_TRUE(util.isValidDate(QStringLiteral("1/2/2020")));
    EXPECT_FALSE(util.isValidDate(QStringLiteral("31/12/1849")));
    EXPECT_FALSE(util.isValidDate(QStringLiteral("02/01/2500")));
}

TEST(UtilityDates, RefusesImpossibleDatesAndOtherTexts)
{
    const Utility util;
    for (const char* text : {"29/02/2023", "31/04/2020", "00/01/2020", "01/13/2020", "__/__/____", "", "2020/01/01",
                             "01-01-2020", "01/01/20", "aa/bb/cccc", "1/ 1/2020"})
        EXPECT_FALSE(util.isValidDate(QString::fromLatin1(text))) << text;
    EXPECT_TRUE(util.isValidDate(QStringLiteral("15/06/2000"), QStringLiteral("01/06/2000"), QStringLiteral("30/06/2000")));
    EXPECT_FALSE(util.isValidDate(QStringLiteral("01/07/2000"), QStringLiteral("01/06/2000"), QStringLiteral("30/06/2000")));
}
