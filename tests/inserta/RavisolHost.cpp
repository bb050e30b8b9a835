#include "tests/inserta/RavisolHost.h"

#include "platform/database.h"
#include "platform/textfile.h"

#include <QFile>
#include <QProcess>

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

CajaMensaje leeCaja(const QString& linea)
{
    // MSGBOX|title|text|buttons|icon
    const QStringList partes = linea.split(u'|');
    CajaMensaje caja;
    caja.titulo = partes.value(1);
    caja.texto = partes.mid(2, partes.size() - 4).join(u'|');
    caja.botones = partes.value(partes.size() - 2).toInt();
    caja.icono = partes.value(partes.size() - 1).toInt();
    return caja;
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

ResultadoRavisol RavisolHost::ejecutaRavisol(const QString& respuestas, const QStringList& argumentos)
{
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("WINDIR"), paths().windowsDir);
    entorno.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    entorno.insert(QStringLiteral("MSGBOX_ANSWERS"), respuestas);

    QProcess proceso;
    proceso.setProcessEnvironment(entorno);
    proceso.start(QStringLiteral(RAVISOL_BIN), argumentos);
    ResultadoRavisol resultado;
    if (!proceso.waitForStarted() || !proceso.waitForFinished(120000)) {
        ADD_FAILURE() << "Ravisol did not run: " << proceso.errorString().toStdString();
        proceso.kill();
        proceso.waitForFinished();
        return resultado;
    }
    resultado.codigo = proceso.exitStatus() == QProcess::NormalExit ? proceso.exitCode() : -1;
    for (const QString& linea : QString::fromUtf8(proceso.readAllStandardError()).split(u'\n')) {
        if (linea.startsWith(QLatin1String("MSGBOX|")))
            resultado.cajas.append(leeCaja(linea));
    }
    return resultado;
}

void RavisolHost::ejecutaSinMensajes(const QStringList& argumentos)
{
    const ResultadoRavisol resultado = ejecutaRavisol(QString(), argumentos);
    EXPECT_EQ(resultado.codigo, 0);
    for (const CajaMensaje& caja : resultado.cajas)
        ADD_FAILURE() << "Unexpected box \"" << caja.titulo.toStdString() << "\": " << caja.texto.toStdString();
}

CajaMensaje RavisolHost::esperaFalla(const ResultadoRavisol& resultado, const QString& titulo, int estilo)
{
    EXPECT_NE(resultado.codigo, 0);
    EXPECT_EQ(resultado.cajas.size(), 1);
    const CajaMensaje caja = resultado.cajas.value(0);
    EXPECT_EQ(caja.titulo, titulo);
    EXPECT_EQ(caja.botones | caja.icono, estilo) << caja.texto.toStdString();
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

QStringList RavisolHost::filas(const QString& sql, const QVariantList& params)
{
    QStringList resultado;
    auto rs = db().openRecordset(sql, params);
    for (; !rs->eof(); rs->moveNext()) {
        QStringList valores;
        for (int i = 0; i < rs->fieldCount(); ++i)
            valores.append(rs->field(i).text());
        resultado.append(valores.join(u'|'));
    }
    return resultado;
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
