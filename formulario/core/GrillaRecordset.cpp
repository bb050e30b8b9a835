#include "formulario/core/GrillaRecordset.h"

#include "platform/database.h"

GrillaRecordset::GrillaRecordset(QList<ColumnaGrilla> columnas, QObject* parent)
    : QAbstractTableModel(parent)
    , columnas_(std::move(columnas))
    , dibujos_(columnas_.size())
{
}

void GrillaRecordset::CargaRecordset(platform::Recordset& rs)
{
    QList<int> campos;
    for (const ColumnaGrilla& columna : columnas_) {
        int nCampo = -1;
        for (int i = 0; i < rs.fieldCount() && nCampo < 0; ++i) {
            if (rs.field(i).name().compare(columna.sCampo, Qt::CaseInsensitive) == 0)
                nCampo = i;
        }
        campos.append(nCampo);
    }

    beginResetModel();
    campos_ = std::move(campos);
    filas_.clear();
    if (!(rs.bof() && rs.eof()))
        rs.moveFirst();
    filas_.reserve(rs.recordCount());
    for (; !rs.eof(); rs.moveNext())
        filas_.append(rs.values());
    endResetModel();
}

void GrillaRecordset::Limpia()
{
    beginResetModel();
    filas_.clear();
    endResetModel();
}

QVariant GrillaRecordset::Valor(int nFila, int nColumna) const
{
    if (nFila < 0 || nFila >= filas_.size() || nColumna < 0 || nColumna >= columnas_.size())
        return {};
    const int nCampo = campos_.at(nColumna);
    return nCampo < 0 ? QVariant() : filas_.at(nFila).at(nCampo);
}

QString GrillaRecordset::Texto(int nFila, int nColumna) const
{
    const QVariant valor = Valor(nFila, nColumna);
    return valor.isNull() ? QString() : valor.toString();
}

void GrillaRecordset::EstableceDibujo(int nColumna, Dibujo dibujo)
{
    dibujos_[nColumna] = std::move(dibujo);
}

int GrillaRecordset::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(filas_.size());
}

int GrillaRecordset::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(columnas_.size());
}

QVariant GrillaRecordset::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const bool bDibujo = bool(dibujos_.at(index.column()));
    switch (role) {
    case Qt::DisplayRole:
        return bDibujo ? QVariant() : QVariant(Texto(index.row(), index.column()));
    case Qt::DecorationRole:
        return bDibujo ? QVariant(dibujos_.at(index.column())(Valor(index.row(), index.column()))) : QVariant();
    case Qt::ToolTipRole:
    case Qt::EditRole:
        return Texto(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return int(columnas_.at(index.column()).nAlineacion);
    default:
        return {};
    }
}

QVariant GrillaRecordset::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columnas_.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return columnas_.at(section).sTitulo;
}
