// Times the rendering of a report of 200 pages (a framed header and 80 lines
// of text a page, every fourth page landscape): to the preview (reading the
// file, building the page boxes and painting every page once) and to a PDF
// file through the printer layer. Each is set beside a baseline that draws
// the same texts and lines with QPainter straight from memory, without the
// report file, onto the same kind of surface. Last, one paint of a page
// holding a vertical text of 100,000 characters, beside drawing only the
// characters that fall on the page.
//
//   reporte_bench [pages]

#include "bench/benchmark.h"
#include "formulario/markup/ImpLinea.h"
#include "formulario/subsystems/reports/Repo04.h"
#include "formulario/subsystems/reports/frmPreview.h"
#include "platform/printer.h"
#include "platform/textfile.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>
#include <QTemporaryDir>
#include <cstdio>

namespace {

struct Texto {
    int x, y;
    QString texto;
    bool negrita;
    int tamano;
};

struct Hoja {
    bool apaisada;
    QList<Texto> textos;
    QList<QRect> cuadros; // in twips
};

QList<Hoja> Contenido(int nHojas)
{
    QList<Hoja> hojas;
    for (int h = 0; h < nHojas; ++h) {
        Hoja hoja;
        hoja.apaisada = h % 4 == 3;
        hoja.textos.append({300, 350, QStringLiteral("ALCOR"), true, 16});
        hoja.textos.append({1760, 400, QStringLiteral("REGIMEN DE REPROGRAMACION DE DEUDAS"), true, 9});
        hoja.cuadros.append(QRect(QPoint(150, 300), QPoint(11000, 1640)));
        hoja.cuadros.append(QRect(QPoint(1700, 300), QPoint(8500, 1100)));
        for (int l = 0; l < 80; ++l)
            hoja.textos.append({500, 2000 + 160 * l,
                                QStringLiteral("%1 080201 RESOLUCIÓN DE DETERMINACIÓN   %2  %3")
                                    .arg(l, 3)
                                    .arg(QStringLiteral("0241234567%1").arg(h, 4, 10, QChar(u'0')))
                                    .arg(QString::number(1234567 + 37 * l), 14),
                                false, 8});
        hojas.append(hoja);
    }
    return hojas;
}

// The report file of the content, as the writers write it.
QStringList Marcado(const QList<Hoja>& hojas)
{
    QStringList lineas{kTagFuente, kTagVertical, kTagColor};
    for (int h = 0; h < hojas.size(); ++h) {
        if (h > 0) {
            lineas << kNuevaHoja;
            lineas << (hojas[h].apaisada ? kTagHorizontal : kTagVertical);
        }
        for (const Texto& t : hojas[h].textos)
            lineas << QStringLiteral("pPos|%1|%2|%3|%4|%5|%6|")
                          .arg(t.x)
                          .arg(t.y)
                          .arg(t.texto, t.negrita ? QStringLiteral("True") : QStringLiteral("False"))
                          .arg(t.tamano)
                          .arg(h);
        for (const QRect& c : hojas[h].cuadros)
            lineas << QStringLiteral("pCuadro|%1|%2|%3|%4|%5|").arg(c.left()).arg(c.top()).arg(c.right()).arg(c.bottom()).arg(h);
    }
    lineas << QStringLiteral("<!nHojas!>%1<!/nHojas!>").arg(hojas.size());
    return lineas;
}

void Dibuja(QPainter& painter, const Hoja& hoja)
{
    painter.setPen(QPen(Qt::black, 0));
    for (const QRect& c : hoja.cuadros)
        painter.drawRect(c);
    for (const Texto& t : hoja.textos) {
        QFont fuente(platform::reportFontFamily(QStringLiteral("Courier New")));
        fuente.setPixelSize(t.tamano * platform::kTwipsPerPoint);
        fuente.setBold(t.negrita);
        painter.setFont(fuente);
        painter.drawText(t.x, t.y + painter.fontMetrics().ascent(), t.texto);
    }
}

// The page drawn on an image of the preview's size at the screen's resolution.
void DibujaEnPantalla(const QSize& tamano, const Hoja& hoja)
{
    const double nEscala = qApp->primaryScreen()->logicalDotsPerInchX() / platform::kTwipsPerInch;
    QImage imagen(tamano, QImage::Format_RGB32);
    imagen.fill(Qt::white);
    QPainter painter(&imagen);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(nEscala, nEscala);
    Dibuja(painter, hoja);
}

} // namespace

int main(int argc, char** argv)
{
    bench::Application app(argc, argv);
    const int nHojas = argc > 1 ? std::atoi(argv[1]) : 200;

    QTemporaryDir carpeta;
    sRutaRpt = carpeta.path() + u'/';
    const QList<Hoja> hojas = Contenido(nHojas);
    platform::writeTextLines(carpeta.filePath(QStringLiteral("00000001.PRN")), Marcado(hojas));

    std::printf("%d pages\n", nHojas);
    bench::printHeader("target", {{"report (s)", "baseline (s)"}});

    QSize tamanoCaja;
    const double tPrevia = bench::seconds([&] {
        frmPreview previa;
        previa.sArchivoReporte = QStringLiteral("00000001.PRN");
        previa.Form_Load();
        for (CajaHoja* caja : previa.picPrevia) {
            QImage imagen(caja->size(), QImage::Format_RGB32);
            caja->render(&imagen);
        }
        tamanoCaja = previa.picPrevia.first()->size();
    });
    const double tPreviaBase = bench::seconds([&] {
        for (const Hoja& hoja : hojas)
            DibujaEnPantalla(tamanoCaja, hoja);
    });
    bench::printRow(QStringLiteral("preview"), {{tPrevia, tPreviaBase}});

    const QString pdf = carpeta.filePath(QStringLiteral("reporte.pdf"));
    platform::PrintJob::setPdfOutputForTesting(pdf);
    const double tPdf = bench::seconds([] { MuestraReporte(QStringLiteral("00000001.PRN"), QStringLiteral("xx")); });
    const qint64 nBytes = QFileInfo(pdf).size();
    const QString pdfBase = carpeta.filePath(QStringLiteral("base.pdf"));
    const double tPdfBase = bench::seconds([&] {
        QPdfWriter escritor(pdfBase);
        escritor.setResolution(1200);
        escritor.setPageMargins({});
        QPainter painter;
        for (int h = 0; h < hojas.size(); ++h) {
            escritor.setPageOrientation(hojas[h].apaisada ? QPageLayout::Landscape : QPageLayout::Portrait);
            if (h == 0)
                painter.begin(&escritor);
            else
                escritor.newPage();
            painter.resetTransform();
            painter.scale(1200.0 / platform::kTwipsPerInch, 1200.0 / platform::kTwipsPerInch);
            Dibuja(painter, hojas[h]);
        }
        painter.end();
    });
    bench::printRow(QStringLiteral("pdf"), {{tPdf, tPdfBase}});
    std::printf("pdf size: %lld bytes (baseline %lld)\n", nBytes, QFileInfo(pdfBase).size());

    constexpr int kAlto = 15840, kY = 1000, kPaso = 190;
    platform::writeTextLines(carpeta.filePath(QStringLiteral("00000002.PRN")),
                             {QStringLiteral("pPosVerti|500|%1|%2|False|8|0|").arg(kY).arg(QString(100000, u'A'))});
    frmPreview vertical;
    vertical.sArchivoReporte = QStringLiteral("00000002.PRN");
    vertical.Form_Load();
    CajaHoja* pagina = vertical.picPrevia.first();
    QImage imagen(pagina->size(), QImage::Format_RGB32);
    const double tVertical = bench::seconds([&] { pagina->render(&imagen); });
    Hoja enLaPagina{false, {}, {}};
    for (int y = kY; y < kAlto; y += kPaso)
        enLaPagina.textos.append({500, y, QStringLiteral("A"), false, 8});
    const double tVerticalBase = bench::seconds([&] { DibujaEnPantalla(pagina->size(), enLaPagina); });
    bench::printRow(QStringLiteral("vertical"), {{tVertical, tVerticalBase}});
    return 0;
}
