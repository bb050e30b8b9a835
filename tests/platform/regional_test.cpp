#include "platform/regional.h"

#include "platform/profile.h"
#include "tests/platform/scopedenv.h"
#include "tests/support/PlantedFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

struct Expected {
    LocaleSetting setting;
    const char* key;
    const char* required;
};

const Expected kAll[] = {
    {LocaleSetting::Date, "sDate", "/"},
    {LocaleSetting::ShortDate, "sShortDate", "dd/MM/yyyy"},
    {LocaleSetting::Time, "sTime", ":"},
    {LocaleSetting::TimeFormat, "sTimeFormat", "hh:mm:ss tt"},
    {LocaleSetting::Decimal, "sDecimal", "."},
    {LocaleSetting::Thousand, "sThousand", ","},
    {LocaleSetting::Digits, "iDigits", "2"},
    {LocaleSetting::NegativeSign, "sNegativeSign", "-"},
    {LocaleSetting::NegNumber, "iNegNumber", "1"},
    {LocaleSetting::LeadingZero, "iLZero", "1"},
    {LocaleSetting::MonDecimalSep, "sMonDecimalSep", "."},
    {LocaleSetting::MonThousandSep, "sMonThousandSep", ","},
    {LocaleSetting::CurrDigits, "iCurrDigits", "2"},
    {LocaleSetting::Currency, "iCurrency", "0"},
    {LocaleSetting::NegCurr, "iNegCurr", "2"},
};

class Regional : public ::testing::Test {
protected:
    void writeWinIniFile(const QByteArray& bytes) const
    {
        QFile file(dir_.filePath("WIN.INI"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QTemporaryDir dir_;
    ScopedEnv windir_{"WINDIR", dir_.path().toLocal8Bit()};
};

} // namespace

TEST_F(Regional, KeyNamesAreTheWindowsOnes)
{
    for (const Expected& e : kAll)
        EXPECT_EQ(localeKeyName(e.setting), QString(e.key));
    EXPECT_EQ(localeKeyName(static_cast<LocaleSetting>(1)), QString());
    EXPECT_EQ(readLocaleSetting(static_cast<LocaleSetting>(1)), std::nullopt);
}

TEST_F(Regional, EachMissingKeyReadsAsTheRequiredValue)
{
    for (const Expected& e : kAll)
        EXPECT_EQ(readLocaleSetting(e.setting), std::optional<QString>(e.required)) << e.key;

    writeWinIniFile("[windows]\r\nsDecimal=,\r\n[intl]\r\nsCountry=Peru\r\n");
    for (const Expected& e : kAll)
        EXPECT_EQ(readLocaleSetting(e.setting), std::optional<QString>(e.required)) << e.key;
}

TEST_F(Regional, EditedValuesAreRead)
{
    writeWinIniFile("[intl]\r\nSDECIMAL = ,\r\nsShortDate=d/M/yyyy\r\nsTimeFormat=HH:mm:ss\r\niCurrDigits=0\r\nsDate=\r\n");
    EXPECT_EQ(readLocaleSetting(LocaleSetting::Decimal), std::optional<QString>(","));
    EXPECT_EQ(readLocaleSetting(LocaleSetting::ShortDate), std::optional<QString>("d/M/yyyy"));
    EXPECT_EQ(readLocaleSetting(LocaleSetting::TimeFormat), std::optional<QString>("HH:mm:ss"));
    EXPECT_EQ(readLocaleSetting(LocaleSetting::CurrDigits), std::optional<QString>("0"));
    EXPECT_EQ(readLocaleSetting(LocaleSetting::Date), std::optional<QString>("")); // present but empty
    EXPECT_EQ(readLocaleSetting(LocaleSetting::Thousand), std::optional<QString>(","));

    ASSERT_TRUE(writeWinIni("intl", "sDecimal", "."));
    EXPECT_EQ(readLocaleSetting(LocaleSetting::Decimal), std::optional<QString>("."));
}

TEST_F(Regional, AnUnreadableWinIniCannotBeRead)
{
    ASSERT_TRUE(QDir(dir_.path()).mkdir("WIN.INI"));
    EXPECT_EQ(readLocaleSetting(LocaleSetting::Decimal), std::nullopt);
}

TEST_F(Regional, AWinIniThatIsNoPlainFileIsNeitherWaitedOnNorWrittenThrough)
{
    QTemporaryDir elsewhere;
    const QString outside = elsewhere.filePath("win.ini");
    QFile file(outside);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write("[intl]\r\nsDecimal=,\r\n") > 0);
    file.close();
    const struct {
        Planted kind;
        std::optional<QString> decimal;
    } cases[] = {
        {Planted::Link, ","}, // read through, as the file it leads to
        {Planted::Fifo, std::nullopt},
        {Planted::DeviceLink, std::nullopt},
    };
    const QString winIni = dir_.filePath("WIN.INI");
    for (const auto& c : cases) {
        SCOPED_TRACE(plantedName(c.kind));
        ASSERT_TRUE(plant(c.kind, winIni, outside));
        EXPECT_EQ(readLocaleSetting(LocaleSetting::Decimal), c.decimal);
        EXPECT_FALSE(writeWinIni("intl", "sDecimal", "."));
        EXPECT_TRUE(stillPlanted(c.kind, winIni, outside));
        EXPECT_EQ(plainBytes(outside), QByteArray("[intl]\r\nsDecimal=,\r\n"));
        ASSERT_TRUE(QFile::remove(winIni));
    }
    ASSERT_TRUE(plantHugeFile(winIni, qint64(4) << 30));
    EXPECT_EQ(readLocaleSetting(LocaleSetting::Decimal), std::nullopt);
}
