#pragma once

// Printing reports: page surfaces measured in twips from the top left corner
// of the paper, texts placed by their top-left corner, and print jobs on the
// system's default printer with an orientation chosen page by page.

#include <QPageLayout>
#include <QString>
#include <memory>

class QPainter;
class QPrinter;

namespace platform {

constexpr int kTwipsPerInch = 1440;
constexpr int kTwipsPerPoint = 20;

// Printing failures, raised as DbError with these numbers.
constexpr int kErrorNoPrinter = 482;       // no printer, or it cannot be used
constexpr int kErrorPrintCancelled = 20545; // the job was cancelled

// The family drawn for a requested one: "Courier New" is drawn with
// "Liberation Mono", which has the same character widths, where it is missing.
QString reportFontFamily(const QString& family);

// Drawing on a painter whose unit is the twip. A text has its top-left corner
// at (x, y); `points` is its size.
void drawReportText(QPainter& painter, int x, int y, const QString& text, bool bold, int points,
                    const QString& family = QStringLiteral("Courier New"));
void drawReportLine(QPainter& painter, int x1, int y1, int x2, int y2);

// One print job. Pages start when something is first drawn on them, so the
// orientation set after newPage() still applies to that page. The job ends
// with end() (or when it is destroyed); the next job starts in portrait.
class PrintJob {
public:
    // Throws DbError kErrorNoPrinter when the system has no default printer.
    PrintJob();
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    // Orientation of the page being started (or, once it has been drawn on, of the next one).
    void setOrientation(QPageLayout::Orientation orientation);
    void newPage();
    // The painter of the current page, in twips; throws kErrorNoPrinter when
    // the printer cannot be opened.
    QPainter& painter();
    // Sends the pages; throws kErrorPrintCancelled when the printer dropped the job.
    void end();

    // Tests: jobs go into this PDF file instead of a printer; empty restores the printer.
    static void setPdfOutputForTesting(const QString& pdfPath);

private:
    void startPage();
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    bool pagePending_ = true;
    bool started_ = false;
};

} // namespace platform
