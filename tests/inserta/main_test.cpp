// Ravisol run as the host suite runs it: a process of its own on the host's
// settings and shared database.

#include "tests/inserta/RavisolHost.h"

#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/profile.h"

using platform::DbError;
namespace mb = platform::mb;

namespace {

const QStringList kParametrosFijos = {
    "404|20060101|00003400.00|013",
    "404|20100101|00003600.00|000",
    "404|20110101|00003600.00|000",
    "404|20120101|00003650.00|000",
    "404|20130101|00003700.00|000",
    "404|20140101|00003800.00|000",
    "404|20150101|00003850.00|000",
    "404|20160101|00003950.00|000",
    "856|0913|1.2 05/01/2016     790|000",
    "992|0913|2|",
    "996|497|F0913DEUDAS    R 1000   9|",
    "996|498|F0913MOTIVO    R 1000   8|",
    "996|499|F0913SUSTEN    R 1000   9|",
    "996|500|HF0913DEUDAS   R 1000  10|",
    "996|501|HF0913MOTIVO   R 1000   9|",
    "996|502|HF0913SUSTEN   R 1000  10|",
    "996|701|F0913GARANTIA  R 1000   5|",
    "880|0913|1 20070601 20991231 20070301|000",
};

const QStringList kReportes = {
    "F36005|Reporte del formulario - 0913|1",
    "F36006|Reporte de Anexos - 0913|1",
    "F36007|Reporte de formulario y anexos - 0913|1",
    "F36008|Resumen de envio de información - 0913|1",
};

// envioInicial() as stored.
const QStringList kEnviosIniciales = {
    "CAB|HCAB|CAB|1|1|1|2|4|3|6|0|5",
    "F0913DEUDAS|HF0913DEUDAS|DEUDAS|3|1|1|2|4|3|0|0|5",
    "F0913GARANTIA|HF0913GARANTIA|GARANTIA|6|0|1|2|4|3|0|0|5",
};

const QString kSelectEnvios = QStringLiteral(
    "SELECT tabla_o, tabla_d, tabla_ext, indice, obliga, c_tip_doc_d, c_doc_id_d, c_Formulario, c_periodo, "
    "c_estado, c_envio, c_semana FROM envio_t WHERE formulario = '0913' ORDER BY tabla_o");

const QString kInsertaDeuda = QStringLiteral(
    "INSERT INTO %1 (tip_doc_d, doc_id_d, periodo, formulario, semana, Ind_tip_deu, per_doc, cod_tri, Num_doc, "
    "Cod_for, Cod_tip_doc, Cod_tri_aso, mto_act_c) VALUES (6, '20100070970', ?, '0913', 1, '01', '200901', "
    "'010101', ?, '0621', '017011', '010101', ?)");

class RavisolRunTest : public RavisolHost {
protected:
    QStringList parametros(const QString& sNumero)
    {
        return rows(QStringLiteral("SELECT Numero, Argumento, Funcion, Correl_Param FROM Param WHERE Numero = ?"),
                     {sNumero});
    }
    QStringList parametrosFijos()
    {
        QStringList resultado;
        for (const QString& fila : kParametrosFijos) {
            const QStringList campos = fila.split(u'|');
            resultado += rows(QStringLiteral("SELECT Numero, Argumento, Funcion, Correl_Param FROM Param "
                                              "WHERE Numero = ? AND Argumento = ?"),
                               {campos[0], campos[1]});
        }
        return resultado;
    }
    QStringList envios() { return rows(kSelectEnvios); }
    QStringList reportes() { return rows(QStringLiteral("SELECT * FROM reportes ORDER BY codrep")); }

    // One row in each saved and sent table and in the guarantee table.
    void guardaDeclaracion()
    {
        db().execute(kInsertaDeuda.arg("F0913DEUDAS"), {"200912", "0230012345", ""});
        db().execute(QStringLiteral("INSERT INTO HF0913DEUDAS (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                                    "Correl, Ind_tip_deu, per_doc, cod_tri, Num_doc, Cod_for, Cod_tip_doc, "
                                    "Cod_tri_aso) VALUES (6, '20100070970', '200912', '0913', 1, '001', '01', "
                                    "'200901', '010101', '0230012345', '0621', '017011', '010101')"));
        for (const char* tabla : {"F0913MOTIVO", "HF0913MOTIVO"}) {
            const bool enviada = tabla[0] == 'H';
            db().execute(QStringLiteral("INSERT INTO %1 (tip_doc_d, doc_id_d, periodo, formulario, Semana, %2"
                                        "Ind_tip_deu, per_doc, cod_tri, num_doc, cod_for, cod_motivo) VALUES "
                                        "(6, '20100070970', '200912', '0913', 1, %3'01', '200901', '010101', "
                                        "'0230012345', '0621', 3)")
                             .arg(tabla, enviada ? "Correl, " : "", enviada ? "'001', " : ""));
        }
        for (const char* tabla : {"F0913SUSTEN", "HF0913SUSTEN"}) {
            const bool enviada = tabla[0] == 'H';
            db().execute(QStringLiteral("INSERT INTO %1 (tip_doc_d, doc_id_d, periodo, formulario, Semana, %2"
                                        "Ind_tip_deu, per_doc, cod_tri, num_doc, cod_for, cod_motivo, num_sust, "
                                        "num_orden, des_otros) VALUES (6, '20100070970', '200912', '0913', 1, "
                                        "%3'01', '200901', '010101', '0230012345', '0621', 3, 1, 1200, "
                                        "'PAGO EN BANCO')")
                             .arg(tabla, enviada ? "Correl, " : "", enviada ? "'001', " : ""));
        }
        db().execute(QStringLiteral("INSERT INTO F0913GARANTIA VALUES (6, '20100070970', '200912', '0913', 1, "
                                    "'1', '2', '150000', '90000')"));
    }

    // An F0913GARANTIA of another layout, with its first `nColumnas` text columns and one row.
    void creaGarantiaPropia(int nColumnas)
    {
        const QStringList nombres{"tip_doc_d", "doc_id_d", "periodo", "formulario", "Semana", "ind_garantia", "otro"};
        QList<platform::ColumnDef> definicion;
        QVariantList valores;
        for (const QString& nombre : nombres.mid(0, nColumnas)) {
            definicion.append({nombre, platform::FieldType::Text, 15});
            valores.append(QStringLiteral("1"));
        }
        db().createTable("F0913GARANTIA", definicion);
        const QString sMarcas = QStringLiteral(", ?").repeated(nColumnas - 1);
        db().execute(QStringLiteral("INSERT INTO F0913GARANTIA VALUES (?%1)").arg(sMarcas), valores);
    }

    // The table has the form's columns, types, sizes and key.
    void esperaDefinicion(const QString& tabla)
    {
        EXPECT_EQ(columnas(tabla), columnasEsperadas(tabla)) << tabla.toStdString();
        EXPECT_EQ(clave(tabla), claveEsperada(tabla)) << tabla.toStdString();
    }

    void esperaSinTablasDelFormulario()
    {
        for (const QString& tabla : tablasDelFormulario())
            EXPECT_FALSE(db().tableExists(tabla)) << tabla.toStdString();
        EXPECT_EQ(cuenta("reportes"), 0);
        EXPECT_EQ(cuenta("envio_t"), 0);
        EXPECT_TRUE(parametros("404").isEmpty());
    }
};

TEST_F(RavisolRunTest, FreshHostGetsTheTenTablesWithTheirKeys)
{
    ejecutaSinMensajes();

    for (const QString& tabla : tablasDelFormulario()) {
        ASSERT_TRUE(db().tableExists(tabla)) << tabla.toStdString();
        esperaDefinicion(tabla);
        EXPECT_EQ(cuenta(tabla), 0) << tabla.toStdString();
        // Record sets see each column's declared type and size, even without rows.
        const QList<platform::ColumnDef> definicion = db().columns(tabla);
        auto rs = db().openRecordset(QStringLiteral("SELECT * FROM ") + tabla);
        ASSERT_EQ(rs->fieldCount(), definicion.size()) << tabla.toStdString();
        for (int i = 0; i < rs->fieldCount(); ++i) {
            EXPECT_EQ(rs->field(i).type(), definicion[i].type) << rs->field(i).name().toStdString();
            if (definicion[i].type == platform::FieldType::Text)
                EXPECT_EQ(rs->field(i).size(), definicion[i].size) << rs->field(i).name().toStdString();
        }
    }
    EXPECT_EQ(columnasEsperadas("HF0913DEUDAS").size(), 34);
    EXPECT_EQ(columnasEsperadas("TMP_F0913SUSTEN").size(), 20);
    EXPECT_EQ(claveEsperada("HF0913SUSTEN").size(), 10);
}

TEST_F(RavisolRunTest, CommandLineIsIgnored)
{
    // Not even the toolkit's own options are taken.
    ejecutaSinMensajes({"-platform", "ninguna", "-reverse", "/S", "extra"});

    for (const QString& tabla : tablasDelFormulario())
        EXPECT_TRUE(db().tableExists(tabla)) << tabla.toStdString();
    EXPECT_EQ(reportes(), kReportes);
}

TEST_F(RavisolRunTest, TablesEnforceTheirTypesKeysAndEmptyTexts)
{
    ejecutaSinMensajes();

    // The six amount and return columns of the three debt tables take an empty text.
    for (const char* tabla : {"F0913DEUDAS", "TMP_F0913DEUDAS"}) {
        db().execute(QStringLiteral("INSERT INTO %1 (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                                    "Ind_tip_deu, per_doc, cod_tri, Num_doc, Cod_for, Cod_tip_doc, Cod_tri_aso, "
                                    "mto_tributo_c, mto_int_c, mto_int_cap_c, mto_act_c, Cod_for_dj, Num_ord_dj) "
                                    "VALUES (6, '20100070970', '200912', '0913', 1, '01', '200901', '010101', "
                                    "'1', '0621', '017011', '010101', '', '', '', '', '', '')")
                         .arg(tabla));
    }
    db().execute(QStringLiteral("INSERT INTO HF0913DEUDAS (doc_id_d, semana, Correl, Ind_tip_deu, per_doc, "
                                "cod_tri, Num_doc, Cod_for, Cod_tip_doc, Cod_tri_aso, mto_act_c, Num_ord_dj) "
                                "VALUES ('20100070970', 1, '001', '01', '200901', '010101', '1', '0621', "
                                "'017011', '010101', '', '')"));
    try {
        db().execute(kInsertaDeuda.arg("F0913DEUDAS").replace("mto_act_c", "Num_pro"), {"200912", "2", ""});
        ADD_FAILURE() << "an empty Num_pro was taken";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), platform::dberr::ZeroLength);
    }

    // The debt key leaves out the document type, the period and the form.
    try {
        db().execute(kInsertaDeuda.arg("F0913DEUDAS"), {"201001", "1", "5"});
        ADD_FAILURE() << "a debt of another period with the same key was taken";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), platform::dberr::DuplicateKey);
    }
    // The guarantee key is the whole declaration key.
    const QString sGarantia = QStringLiteral("INSERT INTO F0913GARANTIA VALUES (6, '20100070970', ?, '0913', 1, "
                                             "'1', '2', '1', '1')");
    db().execute(sGarantia, {"200912"});
    db().execute(sGarantia, {"201001"});
    EXPECT_THROW(db().execute(sGarantia, {"201001"}), DbError);

    // Text sizes and byte ranges are those declared.
    try {
        db().execute(kInsertaDeuda.arg("F0913DEUDAS"), {"200912", "012345678901234567", "1"});
        ADD_FAILURE() << "an 18-character Num_doc was taken";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), platform::dberr::FieldTooSmall);
    }
    try {
        db().execute(QStringLiteral("INSERT INTO F0913MOTIVO (doc_id_d, Semana, cod_motivo) VALUES ('1', 1, 256)"));
        ADD_FAILURE() << "a reason code of 256 was taken";
    } catch (const DbError& e) {
        EXPECT_EQ(e.number(), platform::dberr::NumericOverflow);
    }
}

TEST_F(RavisolRunTest, FreshHostGetsTheSeededRows)
{
    ejecutaSinMensajes();

    EXPECT_EQ(parametrosFijos(), kParametrosFijos);
    // The UIT rows lie in date order, as the lookup of the tax unit needs them.
    EXPECT_EQ(rows(QStringLiteral("SELECT Argumento FROM Param WHERE Numero = '404'")),
              (QStringList{"20060101", "20100101", "20110101", "20120101", "20130101", "20140101", "20150101",
                           "20160101"}));
    EXPECT_EQ(parametros("990"), QStringList{"990|0913|SOLICITUD DE REFINANCIAMIENTO|001"});
    EXPECT_EQ(reportes(), kReportes);
    EXPECT_EQ(envios(), kEnviosIniciales);
    // The host's own parameter lists are left alone.
    EXPECT_FALSE(parametros("727").isEmpty());
}

TEST_F(RavisolRunTest, SecondRunKeepsDeclarationsAndRewritesItsOwnRows)
{
    ejecutaSinMensajes();
    guardaDeclaracion();
    db().execute(kInsertaDeuda.arg("TMP_F0913DEUDAS"), {"200912", "0230012345", "1"});
    db().execute(QStringLiteral("UPDATE Param SET Funcion = 'CAMBIADO' "
                                "WHERE Numero = '404' AND Argumento = '20100101'"));
    db().execute(QStringLiteral("INSERT INTO envio_t "
                                "VALUES ('0621', 'CAB', 'HCAB', 'CAB', 1, 1, 1, 2, 4, 3, 6, 0, 5)"));
    db().execute(QStringLiteral("DELETE FROM reportes WHERE codrep = 'F36006'"));
    const int nParametros = cuenta("Param");

    ejecutaSinMensajes();

    for (const char* tabla : {"F0913DEUDAS", "HF0913DEUDAS", "F0913MOTIVO", "HF0913MOTIVO", "F0913SUSTEN",
                              "HF0913SUSTEN", "F0913GARANTIA"})
        EXPECT_EQ(cuenta(tabla), 1) << tabla;
    EXPECT_EQ(rows(QStringLiteral("SELECT doc_id_d, Num_doc, mto_act_c FROM F0913DEUDAS")),
              QStringList{"20100070970|0230012345|"});
    EXPECT_EQ(rows(QStringLiteral("SELECT num_orden, des_otros FROM HF0913SUSTEN")),
              QStringList{"1200|PAGO EN BANCO"});
    EXPECT_EQ(rows(QStringLiteral("SELECT mto_deuda, mto_deuda_garantia FROM F0913GARANTIA")),
              QStringList{"150000|90000"});
    for (const char* tabla : {"TMP_F0913DEUDAS", "TMP_F0913MOTIVO", "TMP_F0913SUSTEN"}) {
        EXPECT_EQ(cuenta(tabla), 0) << tabla;
        esperaDefinicion(tabla);
    }
    EXPECT_EQ(cuenta("Param"), nParametros);
    EXPECT_EQ(parametrosFijos(), kParametrosFijos);
    EXPECT_EQ(reportes(), kReportes);
    EXPECT_EQ(envios(), kEnviosIniciales);
    EXPECT_EQ(rows(QStringLiteral("SELECT tabla_o FROM envio_t WHERE formulario = '0621'")), QStringList{"CAB"});
}

TEST_F(RavisolRunTest, WorkTablesAreMadeAnewWhateverTheCaseOfTheirNames)
{
    db().createTable("tmp_f0913deudas", {{"doc_id_d", platform::FieldType::Text, 15}});
    db().execute(QStringLiteral("INSERT INTO tmp_f0913deudas VALUES ('20100070970')"));

    ejecutaSinMensajes();

    esperaDefinicion("TMP_F0913DEUDAS");
    EXPECT_EQ(cuenta("TMP_F0913DEUDAS"), 0);
}

TEST_F(RavisolRunTest, GuaranteeTableOfTheOldLayoutIsRebuilt)
{
    creaGarantiaPropia(6);

    ejecutaSinMensajes();

    esperaDefinicion("F0913GARANTIA");
    EXPECT_EQ(cuenta("F0913GARANTIA"), 0);
}

TEST_F(RavisolRunTest, GuaranteeTableWithSevenColumnsIsKept)
{
    creaGarantiaPropia(7);

    ejecutaSinMensajes();

    EXPECT_EQ(db().columns("F0913GARANTIA").size(), 7);
    EXPECT_EQ(cuenta("F0913GARANTIA"), 1);
    EXPECT_FALSE(db().hasPrimaryKey("F0913GARANTIA"));
}

TEST_F(RavisolRunTest, DebtTableOfAnOlderLayoutGetsTheEmptyTextPermissionAndKeepsItsRows)
{
    ejecutaSinMensajes();
    for (const char* columna : {"mto_tributo_c", "mto_int_c", "mto_int_cap_c", "mto_act_c", "Cod_for_dj", "Num_ord_dj"})
        db().setAllowZeroLength("HF0913DEUDAS", columna, false);
    db().execute(QStringLiteral("INSERT INTO HF0913DEUDAS (doc_id_d, semana, Correl, Ind_tip_deu, per_doc, cod_tri, "
                                "Num_doc, Cod_for, Cod_tip_doc, Cod_tri_aso, mto_act_c) VALUES ('20100070970', 1, "
                                "'001', '01', '200901', '010101', '1', '0621', '017011', '010101', '1500')"));
    ASSERT_NE(columnas("HF0913DEUDAS"), columnasEsperadas("HF0913DEUDAS"));

    ejecutaSinMensajes();

    esperaDefinicion("HF0913DEUDAS");
    EXPECT_EQ(rows(QStringLiteral("SELECT Correl, mto_act_c FROM HF0913DEUDAS")), QStringList{"001|1500"});
}

TEST_F(RavisolRunTest, DatabaseHeldByAnotherProgramIsLeftUntouched)
{
    {
        platform::OpenOptions exclusiva;
        exclusiva.exclusive = true;
        auto otra = platform::Database::open(paths().dbFile, exclusiva);

        const RunBox caja = esperaFalla(ejecutaRavisol(), "Error de Conección", mb::OkOnly);

        EXPECT_EQ(caja.text, QStringLiteral(" 3051- La Base de datos esta bloqueda"));
    }
    esperaSinTablasDelFormulario();
}

TEST_F(RavisolRunTest, WithoutSysPathOnlyAsksToInstallTheHost)
{
    ASSERT_TRUE(platform::writeProfileString("Options", "SysPath", "  ", paths().iniFile));

    const RunBox caja = esperaFalla(ejecutaRavisol(), "Mensaje", mb::OkOnly | mb::Information);

    EXPECT_EQ(caja.text, QStringLiteral("Debe instalar primero el VRD "));
    esperaSinTablasDelFormulario();
}

TEST_F(RavisolRunTest, SysPathEndingWithADoubleSeparatorIsUsedWithOne)
{
    ASSERT_TRUE(platform::writeProfileString("Options", "SysPath", paths().sysPath + "/", paths().iniFile));

    ejecutaSinMensajes();

    EXPECT_EQ(envios(), kEnviosIniciales);
    EXPECT_EQ(parametros("990").size(), 1);
}

TEST_F(RavisolRunTest, MissingDatabaseNameEndsWithTheConnectionError)
{
    ASSERT_TRUE(platform::writeProfileString("Options", "DBName", "", paths().iniFile));

    const RunBox caja = esperaFalla(ejecutaRavisol(), "Error de Conección", mb::OkOnly);

    EXPECT_TRUE(caja.text.endsWith(QStringLiteral("\\n 3024"))) << caja.text.toStdString();
    esperaSinTablasDelFormulario();
}

TEST_F(RavisolRunTest, FailingStatementIsShownAndTheRunGoesOn)
{
    db().dropTable("reportes");

    const RunBox caja = esperaFalla(ejecutaRavisol(), "Error al Ejecutar Sentencia SQL", mb::Critical);

    EXPECT_TRUE(caja.text.startsWith(QStringLiteral("Error Número : 3078\\n"))) << caja.text.toStdString();
    // The steps after the failing one were done.
    EXPECT_EQ(envios(), kEnviosIniciales);
    EXPECT_EQ(parametros("990").size(), 1);
}

TEST_F(RavisolRunTest, FailingLookupEndsTheRunWithItsMessage)
{
    db().dropTable("Param");

    const RunBox caja = esperaFalla(ejecutaRavisol(), "Error de Ejecución", mb::Critical);

    EXPECT_TRUE(caja.text.startsWith(QStringLiteral("Error 3078\\n"))) << caja.text.toStdString();
    // The tables stand; nothing after the failing step was done.
    EXPECT_TRUE(db().tableExists("F0913GARANTIA"));
    EXPECT_EQ(cuenta("reportes"), 0);
    EXPECT_EQ(cuenta("envio_t"), 0);
}

} // namespace
