#include "tests/support/HostTest.h"

#include "formulario/core/Fileproc.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/ModGen01.h"
#include "inserta/Instalacion.h"
#include "platform/database.h"
#include "platform/utility.h"

#include <QDir>

namespace {

// Every process-wide variable of the main program back to its value at start.
void resetProgramState()
{
    oBaseDatos.reset();
    oUtil.reset();
    for (QString* text : {&sSQL, &sSysPath, &sRutaBD, &sSysUser, &sRutaRpt, &sArchivoAyuda, &sRuc, &sRazonSocial,
                          &sPeriodo, &sPeriodoMMAAAA, &sFecActualiza, &sEfectivo, &sArchivo, &sMensaje,
                          &sTipoConsulta, &sTim, &sBuenContrib, &sIndGarantia, &sIndPersona, &sMtoDeuda,
                          &sMtoDeudaGarantia, &sNumDeudas, &sGarantia, &sRucDeclarante})
        text->clear();
    for (int* number : {&nEntidad, &nModo, &nBcolibrad, &nTabActual, &nGrabando, &nInconsistencia})
        *number = 0;
    bEnviadas = false;
    bDeudaGrabada = false;
    bFormCargado = false;
}

} // namespace

void HostTest::SetUp()
{
    hadWindir_ = qEnvironmentVariableIsSet("WINDIR");
    savedWindir_ = qgetenv("WINDIR");
    savedCurrentDir_ = QDir::currentPath();
    ASSERT_TRUE(dir_.isValid());
    script.onUnexpected = [](const platform::ShownMessage& box) {
        ADD_FAILURE() << "Unexpected message box \"" << box.title.toStdString() << "\": " << box.text.toStdString();
    };

    try {
        paths_ = hostkit::prepareHost(dir_.path(), hostOptions);
    } catch (const hostkit::HostError& error) {
        FAIL() << error.what();
    }
    hostkit::setWindowsDirectory(paths_);

    // What the main program's start-up and settings reader leave behind.
    oUtil = std::make_unique<platform::Utility>();
    try {
        LeeConfiguracion();
    } catch (const platform::ProgramEnded&) {
        FAIL() << "The settings of " << paths_.root.toStdString() << " could not be read or the database opened";
    }
    // The error log lies beside the program: keep each test's in its own host.
    FijaCarpetaPrograma(paths_.root);

    if (withFormTables)
        installFormTables();
}

void HostTest::TearDown()
{
    resetProgramState();
    FijaCarpetaPrograma(QString());
    QDir::setCurrent(savedCurrentDir_);
    if (hadWindir_)
        qputenv("WINDIR", savedWindir_);
    else
        qunsetenv("WINDIR");
}

void HostTest::installFormTables()
{
    // The installer's run, as the host suite makes it when the form is installed.
    try {
        EXPECT_EQ(inserta::Main(), inserta::SalidaCompleta);
    } catch (const platform::ProgramEnded& ended) {
        ADD_FAILURE() << "Ravisol ended with status " << ended.exitCode;
    }
}

platform::Database& HostTest::db()
{
    return *oBaseDatos;
}

QStringList HostTest::rows(const QString& sql, const QVariantList& params, const QString& nullText)
{
    QStringList result;
    auto rs = db().openRecordset(sql, params);
    for (; !rs->eof(); rs->moveNext()) {
        QStringList values;
        for (int i = 0; i < rs->fieldCount(); ++i)
            values.append(rs->field(i).isNull() ? nullText : rs->field(i).text());
        result.append(values.join(u'|'));
    }
    return result;
}
