#include "platform/printer.h"

#include "platform/dberror.h"
#include "tests/support/PdfLectura.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class PrintJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        pdf = dir.filePath(QStringLiteral("job.pdf"));
        PrintJob::setPdfOutputForTesting(pdf);
    }
    void TearDown() override { PrintJob::setPdfOutputForTesting({}); }

    QTemporaryDir dir;
    QString pdf;
};

TEST_F(PrintJobTest, TextsStandAtTheirTopLeftCornerInTwips)
{
    {
        PrintJob job;
        drawReportText(job.painter(), 1440, 2880, QStringLiteral("RESUMEN"), false, 8);
        drawReportText(job.painter(), 7200, 200, QStringLiteral("ALCOR"), true, 16);
        job.end();
    }
    const QList<PdfHoja> hojas = LeePdf(pdf);
    ASSERT_EQ(hojas.size(), 1);
    const PdfPalabra* resumen = hojas[0].busca(QStringLiteral("RESUMEN"));
    ASSERT_NE(resumen, nullptr);
    EXPECT_NEAR(resumen->x, 72.0, 1.0);  // 1440 twips = 1 inch
    EXPECT_NEAR(resumen->y, 144.0, 2.0);
    const PdfPalabra* alcor = hojas[0].busca(QStringLiteral("ALCOR"));
    ASSERT_NE(alcor, nullptr);
    EXPECT_NEAR(alcor->x, 360.0, 1.0);
    EXPECT_NEAR(alcor->y, 10.0, 3.0);
}

TEST_F(PrintJobTest, EachPageTakesTheOrientationSetBeforeItsFirstDrawing)
{
    {
        PrintJob job;
        drawReportText(job.painter(), 100, 100, QStringLiteral("uno"), false, 8);
        job.newPage();
        job.setOrientation(QPageLayout::Landscape);
        drawReportText(job.painter(), 100, 100, QStringLiteral("dos"), false, 8);
        job.newPage();
        drawReportText(job.painter(), 100, 100, QStringLiteral("tres"), false, 8);
        job.newPage();
        job.setOrientation(QPageLayout::Portrait);
        drawReportText(job.painter(), 100, 100, QStringLiteral("cuatro"), false, 8);
        job.end();
    }
    const QList<PdfHoja> hojas = LeePdf(pdf);
    ASSERT_EQ(hojas.size(), 4);
    EXPECT_FALSE(hojas[0].apaisada());
    EXPECT_TRUE(hojas[1].apaisada());
    EXPECT_TRUE(hojas[2].apaisada());
    EXPECT_FALSE(hojas[3].apaisada());
    EXPECT_NE(hojas[2].busca(QStringLiteral("tres")), nullptr);
}

TEST_F(PrintJobTest, TheNextJobStartsInPortrait)
{
    {
        PrintJob job;
        job.setOrientation(QPageLayout::Landscape);
        drawReportText(job.painter(), 100, 100, QStringLiteral("apaisada"), false, 8);
        job.end();
    }
    {
        PrintJob job;
        drawReportText(job.painter(), 100, 100, QStringLiteral("vertical"), false, 8);
        job.end();
    }
    const QList<PdfHoja> hojas = LeePdf(pdf);
    ASSERT_EQ(hojas.size(), 1);
    EXPECT_FALSE(hojas[0].apaisada());
}

TEST_F(PrintJobTest, ASheetLeftEmptyStillComesOut)
{
    {
        PrintJob job;
        drawReportText(job.painter(), 100, 100, QStringLiteral("uno"), false, 8);
        job.newPage();
        job.newPage();
        drawReportText(job.painter(), 100, 100, QStringLiteral("tres"), false, 8);
        job.end();
    }
    const QList<PdfHoja> hojas = LeePdf(pdf);
    ASSERT_EQ(hojas.size(), 3);
    EXPECT_TRUE(hojas[1].palabras.isEmpty());
}

TEST_F(PrintJobTest, APrinterThatCannotBeOpenedIsReportedAsNoPrinter)
{
    PrintJob::setPdfOutputForTesting(dir.filePath(QStringLiteral("no/existe/job.pdf")));
    PrintJob job;
    try {
        job.painter();
        FAIL() << "the printer was opened";
    } catch (const DbError& err) {
        EXPECT_EQ(err.number(), kErrorNoPrinter);
    }
}

TEST(ReportFont, CourierNewIsDrawnWithAFontOfTheSameWidthsWhereItIsMissing)
{
    const QString family = reportFontFamily(QStringLiteral("Courier New"));
    if (!QFontDatabase::hasFamily(QStringLiteral("Courier New")))
        EXPECT_EQ(family, QStringLiteral("Liberation Mono"));
    QFont font(family);
    font.setPixelSize(200);
    // Courier New's advance is 0.6 em.
    EXPECT_NEAR(QFontMetricsF(font).horizontalAdvance(QStringLiteral("0913")), 4 * 120.0, 2.0);
    EXPECT_EQ(reportFontFamily(QStringLiteral("Arial")), QStringLiteral("Arial"));
}

TEST(PrintJobWithoutPrinter, SaysThereIsNoPrinter)
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a default printer";
    try {
        PrintJob job;
        FAIL() << "a job started without a printer";
    } catch (const DbError& err) {
        EXPECT_EQ(err.number(), kErrorNoPrinter);
    }
}

} // namespace
