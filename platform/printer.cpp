#include "platform/printer.h"

#include "platform/dberror.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

namespace {

QString& pdfOutput()
{
    static QString path;
    return path;
}

[[noreturn]] void throwNoPrinter()
{
    throw DbError(kErrorNoPrinter, QStringLiteral("No existe una impresora seleccionada."));
}

} // namespace

QString reportFontFamily(const QString& family)
{
    static const QString courierNew = QStringLiteral("Courier New");
    if (family.compare(courierNew, Qt::CaseInsensitive) == 0 && !QFontDatabase::hasFamily(courierNew))
        return QStringLiteral("Liberation Mono");
    return family;
}

void drawReportText(QPainter& painter, int x, int y, const QString& text, bool bold, int points,
                    const QString& family)
{
    QFont font(reportFontFamily(family));
    font.setPixelSize(qMax(1, points * kTwipsPerPoint));
    font.setBold(bold);
    font.setStyleHint(QFont::Monospace);
    painter.setFont(font);
    painter.drawText(x, y + painter.fontMetrics().ascent(), text);
}

void drawReportLine(QPainter& painter, int x1, int y1, int x2, int y2)
{
    painter.drawLine(x1, y1, x2, y2);
}

PrintJob::PrintJob()
{
    if (pdfOutput().isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            throwNoPrinter();
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfOutput());
    }
    printer_->setFullPage(true);
    printer_->setPageOrientation(QPageLayout::Portrait);
}

PrintJob::~PrintJob()
{
    if (painter_ && painter_->isActive())
        painter_->end();
}

void PrintJob::setOrientation(QPageLayout::Orientation orientation)
{
    orientation_ = orientation;
}

void PrintJob::newPage()
{
    if (pagePending_) // a sheet left empty still comes out
        startPage();
    pagePending_ = true;
}

QPainter& PrintJob::painter()
{
    if (pagePending_)
        startPage();
    return *painter_;
}

void PrintJob::startPage()
{
    printer_->setPageOrientation(orientation_);
    if (!started_) {
        painter_ = std::make_unique<QPainter>();
        if (!painter_->begin(printer_.get()))
            throwNoPrinter();
        started_ = true;
    } else if (!printer_->newPage()) {
        throwNoPrinter();
    }
    const double scale = double(printer_->resolution()) / kTwipsPerInch;
    painter_->resetTransform();
    painter_->scale(scale, scale);
    painter_->setPen(QPen(Qt::black, 0));
    pagePending_ = false;
}

void PrintJob::end()
{
    if (!started_) // a job without a drawing still gives its one page
        startPage();
    const bool sent = painter_->end();
    printer_->setPageOrientation(QPageLayout::Portrait);
    if (!sent || printer_->printerState() == QPrinter::Aborted || printer_->printerState() == QPrinter::Error)
        throw DbError(kErrorPrintCancelled, QStringLiteral("La impresión ha sido cancelada."));
}

void PrintJob::setPdfOutputForTesting(const QString& pdfPath)
{
    pdfOutput() = pdfPath;
}

} // namespace platform
