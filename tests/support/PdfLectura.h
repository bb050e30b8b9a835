#pragma once

// Reads a PDF file back for the printing tests: the size of each page and the
// words on it with their boxes, in points from the top left corner (through
// poppler's pdftotext).

#include <QList>
#include <QSizeF>
#include <QString>

struct PdfPalabra {
    QString texto;
    double x = 0, y = 0; // top left corner of its box
};

struct PdfHoja {
    QSizeF tamano; // points
    QList<PdfPalabra> palabras;
    bool apaisada() const { return tamano.width() > tamano.height(); }
    // The first word with this text; nullptr when there is none.
    const PdfPalabra* busca(const QString& texto) const;
};

// Pages of the file; empty when it cannot be read.
QList<PdfHoja> LeePdf(const QString& sRuta);
