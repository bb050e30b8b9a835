#include "tests/inserta/RavisolHost.h"

#include "platform/database.h"
#include "platform/textfile.h"

#include <QFile>

using platform::FieldType;

namespace {

QString nombreTipo(const platform::ColumnDef& columna)
{
    switch (columna.type) {
    case FieldType::Byte:
        return QStringLiteral("Byte");
    case FieldType::Integer:
        return QStringLiteral("Integer");
    case FieldType::Date:
        return QStringLiteral("Date");
    case FieldType::Text:
        return QStringLiteral("Text(%1)").arg(columna.size);
    default:
        return QStringLiteral("Type%1(%2)").arg(int(columna.type)).arg(columna.size);
    }
}

const QStringList kClaveDeudas = {"DOC_ID_D", "SEMANA", "IND_TIP_DEU", "PER_DOC", "COD_TRI",
                                  "NUM_DOC", "COD_FOR", "COD_TIP_DOC", "COD_TRI_ASO"};
const QStringList kClaveMotivo = {"DOC_ID_D", "SEMANA", "IND_TIP_DEU", "PER_DOC",
                                  "COD_TRI", "NUM_DOC", "COD_FOR", "COD_MOTIVO"};

const QStringList kDeudas = {
    "tip_doc_d Byte", "doc_id_d Text(15)", "periodo Text(6)", "formulario Text(4)", "semana Byte",
    "Ind_tip_deu Text(2)", "per_doc Text(6)", "cod_tri Text(6)", "Num_doc Text(17)", "Cod_for Text(4)",
    "Cod_tip_doc Text(6)", "Cod_tri_aso Text(6)", "Ind_ver_deu Text(2)", "Fec_des_deu Date", "Num_cuo Byte",
    "Fec_ult_cap Date", "Num_pro Text(14)", "mto_tributo_s Text(15)", "mto_int_cap_s Text(15)",
    "mto_int_s Text(15)", "mto_act_s Text(15)", "ind_acog Byte", "ind_conf Byte", "mto_tributo_c Text(15) ZL",
    "mto_int_cap_c Text(15) ZL", "mto_int_c Text(15) ZL", "mto_act_c Text(15) ZL", "Cod_for_dj Text(4) ZL",
    "Num_ord_dj Text(11) ZL", "Ind_valor Byte", "Ind_deuda_dj Byte", "Ind_impugnado Text(2)", "cnumero Text(6)",
};

const QStringList kMotivoHastaCodigo = {
    "tip_doc_d Byte", "doc_id_d Text(15)", "periodo Text(6)", "formulario Text(4)", "Semana Byte",
    "Ind_tip_deu Text(2)", "per_doc Text(6)", "cod_tri Text(6)", "num_doc Text(17)", "cod_for Text(4)",
    "cod_motivo Byte",
};

const QStringList kSustenDesdeNumero = {
    "num_sust Byte", "cod_formulario Text(4)", "num_orden Integer", "num_res Text(16)", "tip_impug Byte",
    "num_exp Text(16)", "des_otros Text(30)", "fec_pago Text(10)", "cnumero Text(6)",
};

const QStringList kGarantia = {
    "tip_doc_d Byte", "doc_id_d Text(15)", "periodo Text(6)", "formulario Text(4)", "Semana Byte",
    "ind_garantia Text(10)", "ind_persona Text(5)", "mto_deuda Text(15)", "mto_deuda_garantia Text(15)",
};

} // namespace

QStringList tablasDelFormulario()
{
    return {"F0913DEUDAS", "HF0913DEUDAS", "TMP_F0913DEUDAS", "F0913MOTIVO", "HF0913MOTIVO",
            "TMP_F0913MOTIVO", "F0913SUSTEN", "HF0913SUSTEN", "TMP_F0913SUSTEN", "F0913GARANTIA"};
}

QStringList columnasEsperadas(const QString& tabla)
{
    if (tabla == QLatin1String("F0913GARANTIA"))
        return kGarantia;
    QStringList columnas;
    if (tabla.endsWith(QLatin1String("DEUDAS")))
        columnas = kDeudas;
    else if (tabla.endsWith(QLatin1String("MOTIVO")))
        columnas = kMotivoHastaCodigo + QStringList{"cnumero Text(6)"};
    else
        columnas = kMotivoHastaCodigo + kSustenDesdeNumero;
    if (tabla.startsWith(u'H'))
        columnas.insert(5, QStringLiteral("Correl Text(3)"));
    return columnas;
}

QStringList claveEsperada(const QString& tabla)
{
    if (tabla == QLatin1String("F0913GARANTIA"))
        return {"TIP_DOC_D", "DOC_ID_D", "PERIODO", "FORMULARIO", "SEMANA"};
    QStringList clave = tabla.endsWith(QLatin1String("DEUDAS")) ? kClaveDeudas : kClaveMotivo;
    if (tabla.endsWith(QLatin1String("SUSTEN")))
        clave.append(QStringLiteral("NUM_SUST"));
    if (tabla.startsWith(u'H'))
        clave.insert(2, QStringLiteral("CORREL"));
    return clave;
}

QStringList envioInicial()
{
    return {"0913|CAB|HCAB|CAB|1|1|1|2|4|3|6|0|5|", "0913|F0913DEUDAS|HF0913DEUDAS|DEUDAS|3|1|1|2|4|3|0|0|5|",
            "0913|F0913GARANTIA|HF0913GARANTIA|GARANTIA|6|0|1|2|4|3|0|0|5|"};
}

QStringList parametrosIniciales()
{
    return {"990|0913|SOLICITUD DE REFINANCIAMIENTO|1|"};
}

void RavisolHost::SetUp()
{
    HostTest::SetUp();
    if (HasFatalFailure())
        return;
    escribeEnvio(envioInicial());
    escribeParametros(parametrosIniciales());
}

ProgramRun RavisolHost::ejecutaRavisol(const QString& respuestas, const QStringList& argumentos)
{
    return runProgram(paths(), QStringLiteral(RAVISOL_BIN), argumentos, respuestas);
}

void RavisolHost::ejecutaSinMensajes(const QStringList& argumentos)
{
    const ProgramRun resultado = ejecutaRavisol(QString(), argumentos);
    EXPECT_EQ(resultado.exitCode, 0);
    for (const RunBox& caja : resultado.boxes)
        ADD_FAILURE() << "Unexpected box \"" << caja.title.toStdString() << "\": " << caja.text.toStdString();
}

RunBox RavisolHost::esperaFalla(const ProgramRun& resultado, const QString& titulo, int estilo)
{
    EXPECT_NE(resultado.exitCode, 0);
    EXPECT_EQ(resultado.boxes.size(), 1);
    const RunBox caja = resultado.boxes.value(0);
    EXPECT_EQ(caja.title, titulo);
    EXPECT_EQ(caja.buttons | caja.icon, estilo) << caja.text.toStdString();
    return caja;
}

void RavisolHost::escribeEnvio(const QStringList& lineas)
{
    ASSERT_TRUE(platform::writeTextLines(paths().sysPath + QStringLiteral("tmp/env913.txt"), lineas));
}

void RavisolHost::escribeParametros(const QStringList& lineas, const QString& carpeta)
{
    ASSERT_TRUE(platform::writeTextLines(paths().sysPath + carpeta + QStringLiteral("Par913.txt"), lineas));
}

void RavisolHost::borraEntrada(const QString& archivo)
{
    QFile::remove(paths().sysPath + archivo);
}

int RavisolHost::cuenta(const QString& tabla)
{
    return db().scalar(QStringLiteral("SELECT count(*) FROM ") + tabla).toInt();
}

QStringList RavisolHost::columnas(const QString& tabla)
{
    QStringList resultado;
    for (const platform::ColumnDef& columna : db().columns(tabla)) {
        resultado.append(columna.name + u' ' + nombreTipo(columna)
                         + (columna.type == FieldType::Text && columna.allowZeroLength ? " ZL" : ""));
    }
    return resultado;
}

QStringList RavisolHost::clave(const QString& tabla)
{
    QStringList resultado;
    for (const QString& columna : db().primaryKeyColumns(tabla))
        resultado.append(columna.toUpper());
    return resultado;
}
