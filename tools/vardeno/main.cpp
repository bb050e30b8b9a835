// vardeno: stand-in of the host suite "Integrador del VRD".
//
//   vardeno prepare DIR [--ravisol PATH]
//   vardeno run DIR [--tarvel PATH] [--quenbo PATH] [--start]
//                   [--screenshot FILE --after SECONDS] [--quit-after SECONDS]
//   vardeno statement DIR [--ruc RUC] [--entidad N] [--deudas N]
//       writes into DIR the debt statement archive of a declarant and entity,
//       dated today, with N sample debts and the summary record
//   vardeno summary DIR [--quenbo PATH]
//       runs the report program for every saved declaration, as the host
//       does after sending one, and lists the files each run wrote

#include "platform/database.h"
#include "tools/hostkit/hostkit.h"
#include "tools/hostkit/statement.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>
#include <memory>

namespace {

// A saved declaration of form 0913 whose declarant is registered.
struct SavedDeclaration {
    QString docId;
    QString periodo;
    int entidad = 0;
    QString nombre;

    // What the host passes to the report program; the suffix is today's date.
    QString quenboCommandLine() const
    {
        return hostkit::quenboCommandLine(docId, periodo, entidad,
                                          QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
    }
};

// The host's database, read only. Throws platform::DbError.
std::unique_ptr<platform::Database> openForReading(const hostkit::HostPaths& paths)
{
    platform::OpenOptions options;
    options.workgroupFile = paths.workgroupFile;
    options.readOnly = true;
    return platform::Database::open(paths.dbFile, options);
}

// The header rows of form 0913 with their declarant. Throws platform::DbError.
QList<SavedDeclaration> savedDeclarations(const hostkit::HostPaths& paths)
{
    auto db = openForReading(paths);
    auto rows = db->openRecordset(QStringLiteral("SELECT A.doc_id_d, A.periodo, A.Semana, B.nombre FROM CAB A, CONT B "
                                                 "WHERE A.tip_doc_d = B.tip_doc_d AND A.doc_id_d = B.doc_id_d "
                                                 "AND A.formulario = ? ORDER BY A.doc_id_d, A.periodo, A.Semana"),
                                  {QStringLiteral("0913")});
    QList<SavedDeclaration> declarations;
    for (; !rows->eof(); rows->moveNext()) {
        declarations.append({rows->field(QStringLiteral("doc_id_d")).text().trimmed(),
                             rows->field(QStringLiteral("periodo")).text().trimmed(),
                             rows->value(QStringLiteral("Semana")).toInt(),
                             rows->field(QStringLiteral("nombre")).text()});
    }
    return declarations;
}

// The spool file of the newest SPOOL row, in the report folder; nothing
// when the table is empty. Throws platform::DbError.
QStringList newestSpoolFile(const hostkit::HostPaths& paths)
{
    auto db = openForReading(paths);
    auto rows = db->openRecordset(QStringLiteral("SELECT Archivo FROM SPOOL ORDER BY CAST(Archivo AS INTEGER) DESC"));
    if (rows->eof())
        return {};
    return {paths.dbPath + QStringLiteral("RPT/") + rows->field(QStringLiteral("Archivo")).text().trimmed()};
}

// The files a run of Quenbo on `commandLine` wrote: its spool file and the
// copies named by positions 18-36 of the command line (form, period, entity
// and suffix). Throws platform::DbError.
QStringList summaryFiles(const hostkit::HostPaths& paths, const QString& commandLine)
{
    const QString base = commandLine.mid(17, 19);
    return newestSpoolFile(paths) + QStringList{paths.dbPath + QStringLiteral("RPT/") + base + QStringLiteral(".PRN"),
                                                paths.dbPath + QStringLiteral("TMP/") + base + QStringLiteral(".txt")};
}

// The main window of the host: the programs of the form look for its title.
class HostWindow : public QWidget {
public:
    HostWindow(const hostkit::HostPaths& paths, const QString& tarvel, const QString& quenbo)
        : paths_(paths), tarvel_(tarvel), quenbo_(quenbo)
    {
        setWindowTitle(QStringLiteral("Sistema Vardeno"));
        auto* layout = new QVBoxLayout(this);
        auto* about = new QLabel(QStringLiteral("Ventana sustituta del Integrador del VRD (sistema anfitrión).\n"
                                                "Carpeta del sistema: %1")
                                     .arg(paths.sysPath));
        about->setWordWrap(true);
        layout->addWidget(about);

        auto* startTarvel = new QPushButton(QStringLiteral("Iniciar Tarvel (formulario 0913)"));
        connect(startTarvel, &QPushButton::clicked, this, [this] { startProgram(tarvel_); });
        layout->addWidget(startTarvel);

        layout->addWidget(new QLabel(QStringLiteral("Declaración grabada:")));
        declarations_ = new QComboBox;
        // A long declarant name must not widen the window past the screen.
        declarations_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        declarations_->setMinimumContentsLength(48);
        layout->addWidget(declarations_);
        auto* refresh = new QPushButton(QStringLiteral("Actualizar lista"));
        connect(refresh, &QPushButton::clicked, this, [this] { loadDeclarations(); });
        layout->addWidget(refresh);
        auto* summary = new QPushButton(QStringLiteral("Resumen de envío (Quenbo)"));
        connect(summary, &QPushButton::clicked, this, [this] { runQuenbo(); });
        layout->addWidget(summary);

        status_ = new QLabel;
        status_->setWordWrap(true);
        layout->addWidget(status_);
        loadDeclarations();
    }

    void startProgram(const QString& program)
    {
        QProcess process;
        process.setProgram(program);
        process.setWorkingDirectory(paths_.sysPath);
        const bool started = process.startDetached();
        status_->setText(started ? QStringLiteral("Ejecutando %1").arg(program)
                                 : QStringLiteral("No se pudo ejecutar %1").arg(program));
    }

private:
    // The saved declarations of form 0913: the header rows whose declarant is registered.
    void loadDeclarations()
    {
        declarations_->clear();
        try {
            for (const SavedDeclaration& declaration : savedDeclarations(paths_)) {
                const QString text = QStringLiteral("%1  %2  %3  %4")
                                         .arg(declaration.docId, declaration.periodo)
                                         .arg(declaration.entidad)
                                         .arg(declaration.nombre);
                declarations_->addItem(text, declaration.quenboCommandLine());
                declarations_->setItemData(declarations_->count() - 1, text, Qt::ToolTipRole);
            }
            status_->setText(QStringLiteral("%1 declaraciones grabadas").arg(declarations_->count()));
        } catch (const platform::DbError& error) {
            status_->setText(QStringLiteral("No se pudo leer la base de datos: %1").arg(error.description()));
        }
    }

    void runQuenbo()
    {
        if (declarations_->currentIndex() < 0) {
            status_->setText(QStringLiteral("No hay declaración elegida"));
            return;
        }
        // The host waits for the report program and tells how it ended.
        const QString commandLine = declarations_->currentData().toString();
        auto* process = new QProcess(this);
        process->setWorkingDirectory(paths_.sysPath);
        connect(process, &QProcess::finished, this,
                [this, process, commandLine](int code, QProcess::ExitStatus exitStatus) {
                    if (exitStatus == QProcess::NormalExit && code == 0)
                        showSummaryWritten(commandLine);
                    else
                        status_->setText(QStringLiteral("Quenbo terminó con el código %1").arg(code));
                    process->deleteLater();
                });
        connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart) {
                status_->setText(QStringLiteral("No se pudo ejecutar %1").arg(quenbo_));
                process->deleteLater();
            }
        });
        status_->setText(QStringLiteral("Ejecutando %1").arg(quenbo_));
        process->start(quenbo_, {commandLine});
    }

    void showSummaryWritten(const QString& commandLine)
    {
        try {
            status_->setText(QStringLiteral("Resumen de envío escrito en:\n%1")
                                 .arg(summaryFiles(paths_, commandLine).join(u'\n')));
        } catch (const platform::DbError& error) {
            status_->setText(
                QStringLiteral("Resumen de envío escrito; no se pudo leer la base de datos: %1").arg(error.description()));
        }
    }

    hostkit::HostPaths paths_;
    QString tarvel_;
    QString quenbo_;
    QComboBox* declarations_ = nullptr;
    QLabel* status_ = nullptr;
};

// Beside Tarvel's main window, which keeps its own place at the top left, and
// whole on the screen however wide the window has grown.
void placeBesideTarvel(QWidget& window)
{
    const QRect screen = window.screen()->availableGeometry();
    const QSize size = window.size().expandedTo(window.minimumSizeHint());
    window.move(qBound(screen.left(), 680, screen.right() + 1 - size.width()),
                qBound(screen.top(), 40, screen.bottom() + 1 - size.height()));
}

int fail(const QString& message)
{
    std::fprintf(stderr, "vardeno: %s\n", qPrintable(message));
    return 1;
}

int prepare(const QString& dir, const QString& ravisol)
{
    hostkit::PrepareOptions options;
    options.ravisolPath = ravisol;
    try {
        const hostkit::HostPaths paths = hostkit::prepareHost(dir, options);
        std::printf("WINDIR=%s\nSysPath=%s\nDBPath=%s\nDBName=%s\nKOVAL.INI=%s\n", qPrintable(paths.windowsDir),
                    qPrintable(paths.sysPath), qPrintable(paths.dbPath), qPrintable(paths.dbName),
                    qPrintable(paths.iniFile));
        return 0;
    } catch (const hostkit::HostError& error) {
        return fail(QString::fromStdString(error.what()));
    }
}

int statement(const QCommandLineParser& parser, const QString& dir)
{
    const QString ruc = parser.isSet(QStringLiteral("ruc")) ? parser.value(QStringLiteral("ruc"))
                                                            : hostkit::sampleDeclarants().first().docId;
    const int entidad = parser.value(QStringLiteral("entidad")).toInt();
    const int deudas = parser.value(QStringLiteral("deudas")).toInt();
    try {
        QDir().mkpath(dir);
        std::printf("%s\n", qPrintable(hostkit::writeStatementArchive(dir, hostkit::sampleStatement(ruc, entidad, deudas))));
        return 0;
    } catch (const hostkit::HostError& error) {
        return fail(QString::fromStdString(error.what()));
    }
}

QString siblingProgram(const QString& name)
{
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

QString quenboPath(const QCommandLineParser& parser)
{
    return hostkit::programPath(parser.isSet(QStringLiteral("quenbo")) ? parser.value(QStringLiteral("quenbo"))
                                                                       : siblingProgram(QStringLiteral("Quenbo")));
}

int summary(const QCommandLineParser& parser, const QString& dir)
{
    const hostkit::HostPaths paths = hostkit::hostPaths(dir);
    hostkit::setWindowsDirectory(paths);
    const QString quenbo = quenboPath(parser);
    QList<SavedDeclaration> declarations;
    try {
        declarations = savedDeclarations(paths);
    } catch (const platform::DbError& error) {
        return fail(QStringLiteral("no se pudo leer la base de datos: %1").arg(error.description()));
    }
    if (declarations.isEmpty())
        return fail(QStringLiteral("no hay declaraciones grabadas"));

    int failures = 0;
    for (const SavedDeclaration& declaration : declarations) {
        const QString commandLine = declaration.quenboCommandLine();
        QProcess process;
        process.setWorkingDirectory(paths.sysPath);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(quenbo, {commandLine});
        const bool ended = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit;
        const int code = ended ? process.exitCode() : -1;
        std::printf("Quenbo \"%s\": %d\n", qPrintable(commandLine), code);
        if (code != 0) {
            ++failures;
            continue;
        }
        try {
            for (const QString& file : summaryFiles(paths, commandLine))
                std::printf("%s\n", qPrintable(file));
        } catch (const platform::DbError& error) {
            return fail(QStringLiteral("no se pudo leer la base de datos: %1").arg(error.description()));
        }
    }
    return failures == 0 ? 0 : 1;
}

int run(const QCommandLineParser& parser, const QString& dir)
{
    const hostkit::HostPaths paths = hostkit::hostPaths(dir);
    hostkit::setWindowsDirectory(paths); // inherited by the programs started from here
    const QString tarvel = hostkit::programPath(parser.isSet(QStringLiteral("tarvel"))
                                                    ? parser.value(QStringLiteral("tarvel"))
                                                    : siblingProgram(QStringLiteral("Tarvel")));
    const QString quenbo = quenboPath(parser);
    HostWindow window(paths, tarvel, quenbo);
    window.resize(480, 300);
    placeBesideTarvel(window);
    window.show();
    if (parser.isSet(QStringLiteral("start")))
        window.startProgram(tarvel);

    if (parser.isSet(QStringLiteral("screenshot"))) {
        const QString file = parser.value(QStringLiteral("screenshot"));
        const int after = parser.value(QStringLiteral("after")).toInt();
        QTimer::singleShot(after * 1000, qApp, [file] {
            QScreen* screen = QGuiApplication::primaryScreen();
            if (!screen || !screen->grabWindow(0).save(file))
                fail(QStringLiteral("no se pudo guardar la captura %1").arg(file));
        });
    }
    if (parser.isSet(QStringLiteral("quit-after")))
        QTimer::singleShot(parser.value(QStringLiteral("quit-after")).toInt() * 1000, qApp, &QApplication::quit);
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    // Only the host window needs a screen.
    const bool preparing = argc > 1 && qstrcmp(argv[1], "prepare") == 0;
    const bool writingStatement = argc > 1 && qstrcmp(argv[1], "statement") == 0;
    const bool summarizing = argc > 1 && qstrcmp(argv[1], "summary") == 0;
    std::unique_ptr<QCoreApplication> app(preparing || writingStatement || summarizing
                                              ? new QCoreApplication(argc, argv)
                                              : new QApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("vardeno"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Stand-in of the host suite \"Integrador del VRD\"."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("prepare, run, statement or summary"));
    parser.addPositionalArgument(QStringLiteral("dir"), QStringLiteral("folder of the host"));
    parser.addOptions({
        {QStringLiteral("ravisol"), QStringLiteral("Installer to run after preparing."), QStringLiteral("path")},
        {QStringLiteral("tarvel"), QStringLiteral("Main program of the form."), QStringLiteral("path")},
        {QStringLiteral("quenbo"), QStringLiteral("Report program of the form."), QStringLiteral("path")},
        {QStringLiteral("start"), QStringLiteral("Start the main program at once.")},
        {QStringLiteral("screenshot"), QStringLiteral("Save the whole screen to this file."), QStringLiteral("file")},
        {QStringLiteral("after"), QStringLiteral("Seconds before the screenshot."), QStringLiteral("seconds"),
         QStringLiteral("0")},
        {QStringLiteral("quit-after"), QStringLiteral("Seconds before quitting."), QStringLiteral("seconds")},
        {QStringLiteral("ruc"), QStringLiteral("Declarant of the statement."), QStringLiteral("ruc")},
        {QStringLiteral("entidad"), QStringLiteral("Creditor entity of the statement."), QStringLiteral("code"),
         QStringLiteral("1")},
        {QStringLiteral("deudas"), QStringLiteral("Debts in the statement."), QStringLiteral("count"),
         QStringLiteral("10")},
    });
    parser.process(*app);

    const QStringList arguments = parser.positionalArguments();
    if (arguments.size() != 2)
        parser.showHelp(1);
    if (preparing)
        return prepare(arguments.at(1), parser.value(QStringLiteral("ravisol")));
    if (writingStatement)
        return statement(parser, arguments.at(1));
    if (summarizing)
        return summary(parser, arguments.at(1));
    if (arguments.at(0) == QLatin1String("run"))
        return run(parser, arguments.at(1));
    parser.showHelp(1);
}
