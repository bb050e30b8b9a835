#pragma once

// Base of the declaration report tests: a host with the form's tables, the
// declaration of COMERCIAL PEÑA HERMANOS (entity 1, period 201003) as the
// print dialog leaves it, a report file in the host's report folder, and
// debts put straight into the debt tables.

#include "tests/support/HostTest.h"

#include <QStringList>
#include <QVariant>

// A debt row; the key columns of the declaration come from the fixture.
struct DeudaReporte {
    QString sNumDoc;
    QString sTipDeu = QStringLiteral("01");
    QString sPerDoc = QStringLiteral("200912");
    QString sCodTri = QStringLiteral("010101");
    QString sTipDoc = QStringLiteral("017011");
    QString sVerDeu = QStringLiteral("00");
    QVariant vAcog = 1;
    QVariant vConf = 1;
    QVariant vTributoC, vIntCapC, vIntC;
    QVariant vActS, vActC;
    int nValor = 1;
};

// `n` blanks, as the report pads its columns.
inline QString Blancos(int n)
{
    return QString(n, u' ');
}

class ReporteTest : public HostTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the report file as the driver does, before the first page.
    void AbreReporte();
    // Closes the report file and reads its lines.
    QStringList CierraReporte();
    QStringList LineasReporte() const;

    // Into F0913DEUDAS, or HF0913DEUDAS with `sCorrelativo`.
    void InsertaDeuda(const DeudaReporte& deuda, const QString& sCorrelativo = {});
    void InsertaGarantia(const QVariant& vMtoDeuda, const QVariant& vMtoDeudaGarantia);
};
