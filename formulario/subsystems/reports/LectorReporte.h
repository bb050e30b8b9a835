#pragma once

// Reading of the report markup (see ImpLinea.h): one line into one command,
// the pages of a whole file for the preview, and the drawing of a command on
// a page surface measured in twips.

#include <QColor>
#include <QList>
#include <QRectF>
#include <QString>
#include <optional>

class QPainter;

struct ComandoReporte {
    enum class Tipo { Fuente, NumeroHojas, Color, Orientacion, Texto, Cuadro, TextoVertical, NuevaHoja };
    Tipo tipo = Tipo::NuevaHoja;
    QString sValor;       // the value of a tag; the text of "pPos" and "pPosVerti"
    int X = 0, Y = 0;     // the text's top-left corner; a rectangle's first corner
    int X2 = 0, Y2 = 0;   // a rectangle's opposite corner
    bool bNegrita = false;
    int nTamano = 0;      // points
    int nHoja = 0;        // page index
};

// The command of one line; nothing for a line to skip: no command name, a
// name the renderer does not know, fewer fields than the command takes, a
// number outside -32768..32767, a bold field that is no truth value, or a
// negative page.
std::optional<ComandoReporte> LeeComando(const QString& sLinea);

// The colour of a literal "&H" 8 hex digits "&": 0x00BBGGRR, or with the high
// bit set a colour of the window system (5: the window background).
std::optional<QColor> LeeColor(const QString& sLiteral);

// Draws a text, a vertical text or a rectangle; other commands draw nothing.
// Given a zone (twips), a text or character that cannot reach into it is not
// drawn at all: a page paints what lies on it, however long its texts.
void DibujaComando(QPainter& painter, const ComandoReporte& comando, const QRectF& zona = QRectF());

// The pages of a report for the preview: the drawing commands of each page
// index (a page no command names stays empty) and the colour of the pages.
struct HojasReporte {
    QList<QList<ComandoReporte>> hojas; // at least one page
    QColor color = Qt::white;
};
HojasReporte LeeHojasReporte(const QStringList& lineas);

// Prints the report's lines on the default printer: "pNuevaHoja" starts a new
// sheet and the orientation tags turn the pages from that point. Throws
// platform::DbError (482 no printer, 20545 the job was cancelled).
void ImprimeLineasReporte(const QStringList& lineas);
