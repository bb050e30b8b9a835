// The host stand-in's command line, run as a program.

#include "platform/database.h"
#include "tests/support/HostTest.h"
#include "tests/support/ProgramRun.h"

#include <QDate>
#include <utility>

namespace {

class VardenoTest : public HostTest {
protected:
    VardenoTest() { withFormTables = false; }

    ProgramRun resumen()
    {
        return runProgram(paths(), QStringLiteral(VARDENO_BIN),
                          {QStringLiteral("summary"), paths().root, QStringLiteral("--quenbo"), QStringLiteral(QUENBO_BIN)},
                          QString(), Screen::None);
    }
};

TEST_F(VardenoTest, SummaryRunsQuenboForEverySavedDeclarationAndNamesTheFilesItWrote)
{
    db().execute(QStringLiteral("INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, Semana) VALUES "
                                "(6, '20100070970', '200912', '0913', 1), (6, '20456712381', '201001', '0913', 2)"));
    const QString sFecha = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    const QString sRpt = paths().dbPath + QStringLiteral("RPT/");
    const QString sTmp = paths().dbPath + QStringLiteral("TMP/");

    // A second summary writes over the same copies and names them again.
    for (const auto& spool : {std::pair{"00000001.PRN", "00000002.PRN"}, std::pair{"00000003.PRN", "00000004.PRN"}}) {
        const ProgramRun corrida = resumen();

        EXPECT_EQ(corrida.exitCode, 0);
        EXPECT_EQ(corrida.output, (QStringList{
                                      "Quenbo \"0620100070970    09132009121" + sFecha + "\": 0",
                                      sRpt + spool.first,
                                      sRpt + "09132009121" + sFecha + ".PRN",
                                      sTmp + "09132009121" + sFecha + ".txt",
                                      "Quenbo \"0620456712381    09132010012" + sFecha + "\": 0",
                                      sRpt + spool.second,
                                      sRpt + "09132010012" + sFecha + ".PRN",
                                      sTmp + "09132010012" + sFecha + ".txt",
                                  }));
    }
}

TEST_F(VardenoTest, SummaryWithoutSavedDeclarationsFails)
{
    EXPECT_EQ(resumen().exitCode, 1);
}

} // namespace
