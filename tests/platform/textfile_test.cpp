#include "platform/textfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(Cp1252, MapsTheHighControlRangeAsTheCodePage)
{
    EXPECT_EQ(toCp1252(QStringLiteral("€‚ƒ„…†‡ˆ‰Š‹Œ")), QByteArray("\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8a\x8b\x8c"));
    EXPECT_EQ(toCp1252(QStringLiteral("Ž‘’“”•–—˜™š›œžŸ")),
              QByteArray("\x8e\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9a\x9b\x9c\x9e\x9f"));
    EXPECT_EQ(fromCp1252("\x80\x99\x9f"), QStringLiteral("€™Ÿ"));
}

TEST(Cp1252, KeepsLatin1AndReplacesWhatTheCodePageLacks)
{
    EXPECT_EQ(toCp1252(QStringLiteral("Conexión año Ñ °")), QByteArray("Conexi\xf3n a\xf1o \xd1 \xb0"));
    EXPECT_EQ(fromCp1252("Conexi\xf3n a\xf1o \xd1"), QStringLiteral("Conexión año Ñ"));
    // Outside the code page, including a character beyond the BMP, is one "?" each.
    EXPECT_EQ(toCp1252(QStringLiteral("Ā中") + QString::fromUcs4(U"\U0001F600") + u'x'), QByteArray("???x"));
    EXPECT_EQ(toCp1252(QString(QChar(0x80))), QByteArray("?")); // a C1 control the code page gives to "€"
}

TEST(Cp1252, EveryByteSurvivesARoundTrip)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = fromCp1252(all);
    EXPECT_EQ(text.size(), 256);
    EXPECT_EQ(toCp1252(text), all);
}

class TextFiles : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    QTemporaryDir dir_;
};

TEST_F(TextFiles, ReadSplitsAtCrLfOrLfAndDropsTheFinalEmptyLine)
{
    writeBytes(path("a.txt"), "uno\r\ndos\n\r\ntres\rcuatro\r\nca\xf1" "a\r\n");
    QStringList lines{"stale"};
    ASSERT_TRUE(readTextLines(path("a.txt"), &lines));
    EXPECT_EQ(lines, QStringList({"uno", "dos", "", "tres\rcuatro", QStringLiteral("caña")}));

    writeBytes(path("b.txt"), "sin fin\r\n\r\nultima");
    ASSERT_TRUE(readTextLines(path("b.txt"), &lines));
    EXPECT_EQ(lines, QStringList({"sin fin", "", "ultima"}));

    writeBytes(path("c.txt"), "");
    ASSERT_TRUE(readTextLines(path("c.txt"), &lines));
    EXPECT_TRUE(lines.isEmpty());

    writeBytes(path("d.txt"), "\r\n");
    ASSERT_TRUE(readTextLines(path("d.txt"), &lines));
    EXPECT_EQ(lines, QStringList({""}));
}

TEST_F(TextFiles, ReadOfAMissingFileFails)
{
    QStringList lines;
    EXPECT_FALSE(readTextLines(path("missing.txt"), &lines));
    EXPECT_FALSE(readTextLines(dir_.path(), &lines));
}

TEST_F(TextFiles, WriteEndsEachLineWithCrLfInWindows1252)
{
    ASSERT_TRUE(writeTextLines(path("w.txt"), {QStringLiteral("Regularización"), "", "fin"}));
    EXPECT_EQ(fileBytes(path("w.txt")), QByteArray("Regularizaci\xf3n\r\n\r\nfin\r\n"));

    ASSERT_TRUE(writeTextLines(path("w.txt"), {"otra"}, true));
    EXPECT_EQ(fileBytes(path("w.txt")), QByteArray("Regularizaci\xf3n\r\n\r\nfin\r\notra\r\n"));

    ASSERT_TRUE(writeTextLines(path("w.txt"), {"nueva"}));
    EXPECT_EQ(fileBytes(path("w.txt")), QByteArray("nueva\r\n"));

    ASSERT_TRUE(writeTextLines(path("new.txt"), {"x"}, true));
    EXPECT_EQ(fileBytes(path("new.txt")), QByteArray("x\r\n"));

    QStringList lines;
    ASSERT_TRUE(readTextLines(path("w.txt"), &lines));
    EXPECT_EQ(lines, QStringList({"nueva"}));
}

TEST_F(TextFiles, WriteIntoAMissingFolderFails)
{
    EXPECT_FALSE(writeTextLines(path("no/such/w.txt"), {"x"}));
    EXPECT_FALSE(writeTextLines(path("no/such/w.txt"), {"x"}, true));
}
