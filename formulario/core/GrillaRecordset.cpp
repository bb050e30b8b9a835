#include "formulario/core/GrillaRecordset.h"

#include "platform/database.h"

#include <QCollator>
#include <algorithm>
#include <numeric>

GrillaRecordset::GrillaRecordset(QList<ColumnaGrilla> columnas, QObject* parent)
    : QAbstractTableModel(parent)
    , columnas_(std::move(columnas))
    , dibujos_(columnas_.size())
{
}

void GrillaRecordset::CargaRecordset(platform::Recordset& rs)
{
    QList<int> campos; // field index of each column, -1 when missing
    for (const ColumnaGrilla& columna : columnas_) {
        int nCampo = -1;
        for (int i = 0; i < rs.fieldCount() && nCampo < 0; ++i) {
            if (rs.field(i).name().compare(columna.sCampo, Qt::CaseInsensitive) == 0)
                nCampo = i;
        }
        campos.append(nCampo);
    }

    beginResetModel();
    filas_.clear();
    if (!(rs.bof() && rs.eof()))
        rs.moveFirst();
    for (; !rs.eof(); rs.moveNext()) {
        QVariantList fila;
        for (int nCampo : campos)
            fila.append(nCampo < 0 ? QVariant() : rs.field(nCampo).value());
        filas_.append(fila);
    }
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
    return filas_.at(nFila).at(nColumna);
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

void GrillaRecordset::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnas_.size())
        return;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Numbers in numeric order, other texts in the user's alphabetical order.
    const auto menor = [&](const QVariantList& a, const QVariantList& b) {
        const QVariant& x = a.at(column);
        const QVariant& y = b.at(column);
        if (x.isNull() || y.isNull())
            return x.isNull() && !y.isNull(); // Null first
        bool bNumX = false;
        bool bNumY = false;
        const double dX = x.toString().toDouble(&bNumX);
        const double dY = y.toString().toDouble(&bNumY);
        if (bNumX && bNumY)
            return dX < dY;
        return collator.compare(x.toString(), y.toString()) < 0;
    };
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList antes = persistentIndexList();
    QList<int> orden(filas_.size());
    std::iota(orden.begin(), orden.end(), 0);
    std::stable_sort(orden.begin(), orden.end(), [&](int a, int b) {
        return order == Qt::AscendingOrder ? menor(filas_.at(a), filas_.at(b)) : menor(filas_.at(b), filas_.at(a));
    });
    QList<QVariantList> ordenadas;
    QList<int> nuevaFila(filas_.size());
    for (int i = 0; i < orden.size(); ++i) {
        ordenadas.append(filas_.at(orden.at(i)));
        nuevaFila[orden.at(i)] = i;
    }
    filas_ = std::move(ordenadas);
    QModelIndexList despues;
    for (const QModelIndex& index : antes)
        despues.append(this->index(nuevaFila.at(index.row()), index.column()));
    changePersistentIndexList(antes, despues);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
