#include "tests/support/ReporteTest.h"

#include "formulario/core/ModGen00.h"
#include "formulario/core/TablaArchivos.h"
#include "formulario/subsystems/reports/DeclaracionImpresa.h"
#include "formulario/markup/ImpLinea.h"
#include "formulario/subsystems/reports/Repo04.h"
#include "platform/database.h"
#include "platform/textfile.h"

void ReporteTest::SetUp()
{
    HostTest::SetUp();
    if (HasFatalFailure())
        return;
    sRuc = QStringLiteral("20100070970");
    sRazonSocial = QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C.");
    sPeriodo = QStringLiteral("201003");
    nEntidad = 1;
    BorraArray();
    sModalidad.clear();
    sCorrel.clear();
    sSalida = kSalidaArchivo;
    sArchivo = paths().sysPath + QStringLiteral("RPT/00000001.PRN");
    nDestino = 1;
    nPagina = 0;
    nLinea = 0;
    nUltPagina = 0;
    sLineaRep.clear();
}

void ReporteTest::TearDown()
{
    CierraArchivo(nArchivo);
    BorraArray();
    sModalidad.clear();
    sCorrel.clear();
    HostTest::TearDown();
}

void ReporteTest::AbreReporte()
{
    nArchivo = FreeFile();
    ASSERT_EQ(AbreNumero(nArchivo, sArchivo, modoArchivo::Salida), 0);
    nPagina = -1;
}

QStringList ReporteTest::CierraReporte()
{
    CierraArchivo(nArchivo);
    return LineasReporte();
}

QStringList ReporteTest::LineasReporte() const
{
    QStringList lineas;
    EXPECT_TRUE(platform::readTextLines(sArchivo, &lineas));
    return lineas;
}

void ReporteTest::InsertaDeuda(const DeudaReporte& d, const QString& sCorrelativo)
{
    const bool bEnviada = !sCorrelativo.isEmpty();
    QString sColumnas = QStringLiteral("tip_doc_d, doc_id_d, periodo, formulario, semana, ");
    QVariantList valores{6, sRuc, sPeriodo, QStringLiteral("0913"), nEntidad};
    if (bEnviada) {
        sColumnas += QStringLiteral("Correl, ");
        valores << sCorrelativo;
    }
    sColumnas += QStringLiteral("Ind_tip_deu, per_doc, cod_tri, Num_doc, Cod_for, Cod_tip_doc, Cod_tri_aso, "
                                "Ind_ver_deu, ind_acog, ind_conf, mto_tributo_c, mto_int_cap_c, mto_int_c, "
                                "mto_act_s, mto_act_c, Ind_valor");
    valores << d.sTipDeu << d.sPerDoc << d.sCodTri << d.sNumDoc << QStringLiteral("0913") << d.sTipDoc
            << d.sCodTri << d.sVerDeu << d.vAcog << d.vConf << d.vTributoC << d.vIntCapC << d.vIntC << d.vActS
            << d.vActC << d.nValor;
    const QString sMarcas = QStringList(QList<QString>(valores.size(), QStringLiteral("?"))).join(u',');
    db().execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(bEnviada ? QStringLiteral("HF0913DEUDAS") : QStringLiteral("F0913DEUDAS"), sColumnas,
                          sMarcas),
                 valores);
}

void ReporteTest::InsertaGarantia(const QVariant& vMtoDeuda, const QVariant& vMtoDeudaGarantia)
{
    db().execute(QStringLiteral("INSERT INTO F0913GARANTIA (tip_doc_d, doc_id_d, periodo, formulario, Semana, "
                                "ind_garantia, ind_persona, mto_deuda, mto_deuda_garantia) "
                                "VALUES (6, ?, ?, '0913', ?, ' 100 ', 'J', ?, ?)"),
                 {sRuc, sPeriodo, nEntidad, vMtoDeuda, vMtoDeudaGarantia});
}
