#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>

namespace platform { class Recordset; }

// One column of a grid: its heading, the record set field it shows and how
// its cells align their text.
struct ColumnaGrilla {
    QString sTitulo;
    QString sCampo;
    Qt::Alignment nAlineacion = Qt::AlignLeft | Qt::AlignVCenter;
};

// Grid data over a snapshot of a record set: the rows are read once when the
// record set is given, so the grid keeps them after the record set is closed.
// Columns are bound to fields by name; a field the record set lacks shows
// empty.
class GrillaRecordset : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GrillaRecordset(QList<ColumnaGrilla> columnas, QObject* parent = nullptr);

    // Reads every row of `rs` from its first; leaves it at its end.
    void CargaRecordset(platform::Recordset& rs);
    void Limpia();

    // Text of a cell as the grid shows it ("" for Null or outside the rows).
    QString Texto(int nFila, int nColumna) const;
    QVariant Valor(int nFila, int nColumna) const;

    // The column shows a picture chosen by the cell's value instead of its text.
    using Dibujo = std::function<QIcon(const QVariant&)>;
    void EstableceDibujo(int nColumna, Dibujo dibujo);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<ColumnaGrilla> columnas_;
    QList<int> campos_;              // record set field behind each column; -1 when it lacks one
    QList<QVariantList> filas_;      // the record set's rows, shared with it, one value per field
    QList<Dibujo> dibujos_;          // per column; empty when the column shows text
};
