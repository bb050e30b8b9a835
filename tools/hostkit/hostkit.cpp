#include "tools/hostkit/hostkit.h"

#include "tools/hostkit/declarations.h"
#include "tools/hostkit/installer_inputs.h"

#include "platform/database.h"
#include "platform/profile.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace hostkit {

using platform::ColumnDef;
using platform::Database;
using platform::FieldType;

namespace {

const QString kIniSection = QStringLiteral("Options");
const QString kWorkgroup = QStringLiteral("KOVAL.MDW");
constexpr int kRavisolTimeoutMs = 120000;

// ---------------------------------------------------------------- tables

// The host's columns take an empty text as a value of its own.
ColumnDef text(const char* name, int size)
{
    ColumnDef column;
    column.name = QString::fromLatin1(name);
    column.type = FieldType::Text;
    column.size = size;
    column.allowZeroLength = true;
    return column;
}

ColumnDef number(const char* name, FieldType type)
{
    ColumnDef column;
    column.name = QString::fromLatin1(name);
    column.type = type;
    return column;
}

struct HostTable {
    QString name;
    QList<ColumnDef> columns;
    QStringList key;
};

QStringList names(const QList<ColumnDef>& columns)
{
    QStringList result;
    for (const ColumnDef& column : columns)
        result.append(column.name);
    return result;
}

// The declaration key, first in every declaration table; a sent copy adds
// its correlative right after the entity.
QList<ColumnDef> declarationKey(bool sent)
{
    QList<ColumnDef> key{number("tip_doc_d", FieldType::Byte), text("doc_id_d", 15), text("periodo", 6),
                         text("formulario", 4), number("Semana", FieldType::Byte)};
    if (sent)
        key.append(text("Correl", 3));
    return key;
}

// Header of a declaration. The control value `cNumero` is the last column.
HostTable headerTable(const QString& name, bool sent)
{
    QList<ColumnDef> columns = declarationKey(sent);
    const QStringList key = names(columns);
    columns << number("estado", FieldType::Integer) << text("fec_pro", 10)
            << number("Rectifica", FieldType::Integer) << number("bcolibrad", FieldType::Byte)
            << text("cheque", 10) << text("nrocheque", 20) << text("efectivo", 20) << text("cNumero", 6);
    return {name, columns, key};
}

// One row per box of a declaration; `Casilla` follows the declaration key so
// that the control value counts it as the last key column.
HostTable boxTable(const QString& name, bool sent)
{
    QList<ColumnDef> columns = declarationKey(sent);
    columns << text("Casilla", 3);
    const QStringList key = names(columns);
    columns << text("i_valor", 60) << text("idcasilla", 2) << text("estado", 1) << text("cNumero", 6);
    return {name, columns, key};
}

QList<HostTable> hostTables()
{
    return {
        {QStringLiteral("CONT"),
         {number("tip_doc_d", FieldType::Byte), text("doc_id_d", 15), text("nombre", 100), text("usuario", 20)},
         {QStringLiteral("tip_doc_d"), QStringLiteral("doc_id_d")}},
        {QStringLiteral("CLAVES"),
         {text("Usuario", 20), text("Nombre", 60), text("Tipo", 1)},
         {QStringLiteral("Usuario")}},
        {QStringLiteral("Param"),
         {text("Numero", 3), text("Argumento", 20), text("Funcion", 255), text("Correl_Param", 3)},
         {QStringLiteral("Numero"), QStringLiteral("Argumento")}},
        headerTable(QStringLiteral("CAB"), false),
        boxTable(QStringLiteral("DET"), false),
        headerTable(QStringLiteral("HCAB"), true),
        boxTable(QStringLiteral("HDET"), true),
        {QStringLiteral("SPOOL"),
         {text("CodRep", 6), text("Secuencia", 6), text("Archivo", 12), number("Fecha", FieldType::Date),
          text("Usuario", 20), number("tip_doc_d", FieldType::Integer), text("doc_id_d", 15)},
         {QStringLiteral("Archivo")}},
        {QStringLiteral("reportes"),
         {text("codrep", 6), text("titulo", 100), number("activo", FieldType::Integer)},
         {QStringLiteral("codrep")}},
        {QStringLiteral("envio_t"),
         {text("formulario", 4), text("tabla_o", 30), text("tabla_d", 30), text("tabla_ext", 30),
          number("indice", FieldType::Byte), number("obliga", FieldType::Byte),
          number("c_tip_doc_d", FieldType::Byte), number("c_doc_id_d", FieldType::Long),
          number("c_Formulario", FieldType::Long), number("c_periodo", FieldType::Long),
          number("c_estado", FieldType::Long), number("c_envio", FieldType::Long),
          number("c_semana", FieldType::Long)},
         {QStringLiteral("formulario"), QStringLiteral("tabla_o")}},
    };
}

// ------------------------------------------------------------ parameters

struct ParamRow {
    const char* numero;
    const char* argumento;
    QString funcion;
};

QString field(const char* value, int width)
{
    return QString::fromUtf8(value).leftJustified(width, u' ', true);
}

QList<ParamRow> hostParameters()
{
    QList<ParamRow> rows;
    // 044 declarant document types: full name in 1-30, short name in 31-42.
    const struct { const char* code; const char* full; const char* brief; } documentTypes[] = {
        {"01", "DOC. NACIONAL DE IDENTIDAD", "D.N.I."},
        {"04", "CARNÉ DE EXTRANJERÍA", "CARNÉ EXT."},
        {"06", "REG. ÚNICO DE CONTRIBUYENTES", "R.U.C."},
        {"07", "PASAPORTE", "PASAPORTE"},
    };
    for (const auto& type : documentTypes)
        rows.append({"044", type.code, field(type.full, 30) + field(type.brief, 12)});

    // 727 creditor entities, keyed by the entity code, and 872 debt document
    // types: short name in positions 1-20, full name from position 22.
    const struct { const char* numero; const char* code; const char* brief; const char* full; } named[] = {
        {"727", "1", "TESORO", "TESORO PÚBLICO - ALCOR"},
        {"727", "2", "ESSALUD", "SEGURO SOCIAL DE SALUD"},
        {"727", "3", "ONP", "OFICINA DE NORMALIZACIÓN PREVISIONAL"},
        {"727", "5", "FONAVI", "FONDO NACIONAL DE VIVIENDA"},
        {"727", "8", "FONCOMUN", "FONDO DE COMPENSACIÓN MUNICIPAL"},
        {"872", "017001", "RESOL. DETERMINACIÓN", "RESOLUCIÓN DE DETERMINACIÓN"},
        {"872", "017004", "RESOLUCIÓN DE MULTA", "RESOLUCIÓN DE MULTA"},
        {"872", "017011", "ORDEN DE PAGO", "ORDEN DE PAGO"},
        {"872", "017501", "RES. DETERM. REAF", "RESOLUCIÓN DE DETERMINACIÓN - REAF"},
        {"872", "017504", "RES. MULTA REAF", "RESOLUCIÓN DE MULTA - REAF"},
    };
    for (const auto& row : named)
        rows.append({row.numero, row.code, field(row.brief, 21) + QString::fromUtf8(row.full)});

    // 871 tributes, keyed by the six-character form 0abc0d of code abcd;
    // 725 the stage texts of the tributes of the refinancing resolutions.
    const struct { const char* code; const char* name; bool refinancing; } tributes[] = {
        {"010101", "IGV - CUENTA PROPIA", false},
        {"030301", "RENTA - REGULARIZACIÓN PERSONA JURÍDICA", false},
        {"030701", "RENTA - PRIMERA CATEGORÍA", false},
        {"030702", "RENTA - SEGUNDA CATEGORÍA", false},
        {"030703", "RENTA - CUARTA CATEGORÍA", false},
        {"030704", "RENTA - QUINTA CATEGORÍA", false},
        {"030801", "RENTA - PAGO A CUENTA TERCERA CATEGORÍA", false},
        {"052100", "ESSALUD - SEGURO REGULAR", false},
        {"053100", "ONP - SISTEMA NACIONAL DE PENSIONES", false},
        {"080201", "REPROGRAMACIÓN - TESORO", true},
        {"080209", "REPROGRAMACIÓN REAF - TESORO", true},
        {"052106", "REPROGRAMACIÓN - ESSALUD", true},
        {"052307", "REPROGRAMACIÓN REAF - ESSALUD", true},
        {"053105", "REPROGRAMACIÓN - ONP", true},
        {"053301", "REPROGRAMACIÓN REAF - ONP", true},
        {"050301", "REPROGRAMACIÓN - FONAVI", true},
        {"050509", "REPROGRAMACIÓN REAF - FONAVI", true},
        {"072001", "REPROGRAMACIÓN - FONCOMUN", true},
        {"072002", "REPROGRAMACIÓN REAF - FONCOMUN", true},
    };
    for (const auto& tribute : tributes) {
        rows.append({"871", tribute.code, QString::fromUtf8(tribute.name)});
        if (tribute.refinancing)
            rows.append({"725", tribute.code, QStringLiteral("RESOLUCIÓN EN COBRANZA - ") + QString::fromUtf8(tribute.name)});
    }

    // 874 offices whose resolution numbers can be refinanced: "0" and the
    // number's first three characters. 0099 has no name: not refinanceable.
    const struct { const char* code; const char* office; } offices[] = {
        {"0011", "INTENDENCIA AREQUIPA"}, {"0021", "PRINCIPALES CONTRIB."}, {"0023", "INTENDENCIA LIMA"},
        {"0024", "INTENDENCIA LIMA"},     {"0051", "OFICINA ZONAL CUSCO"},  {"0061", "INTENDENCIA PIURA"},
        {"0071", "INTENDENCIA TRUJILLO"}, {"0099", ""},
    };
    for (const auto& office : offices)
        rows.append({"874", office.code, field(office.office, 20) + QStringLiteral(" RESOLUCIONES")});
    return rows;
}

// ---------------------------------------------------------------- files

void makeFolder(const QString& path)
{
    if (!QDir().mkpath(path))
        throw HostError(QStringLiteral("No se pudo crear la carpeta %1").arg(path));
}

// RPT the reports, TMP the import folders and the report program's text
// copies, tmp the installer's inputs, ENV the host's sendings, 0913 the help.
void makeFolders(const HostPaths& paths)
{
    makeFolder(paths.windowsDir);
    for (const char* folder : {"RPT", "TMP", "tmp", "ENV", "0913"})
        makeFolder(paths.sysPath + QLatin1String(folder));
}

// What the workgroup file holds is the host's.
void makeWorkgroupFile(const HostPaths& paths)
{
    QFile file(paths.workgroupFile);
    if (!file.exists() && !file.open(QIODevice::WriteOnly))
        throw HostError(QStringLiteral("No se pudo crear %1").arg(file.fileName()));
}

void writeSettings(const HostPaths& paths, const QString& user)
{
    const QList<QPair<QString, QString>> settings{
        {QStringLiteral("SysPath"), paths.sysPath},
        {QStringLiteral("DBPath"), paths.dbPath},
        {QStringLiteral("DBName"), paths.dbName},
        {QStringLiteral("SysUser"), user},
        {QStringLiteral("SysAsist0913"), QStringLiteral("1")},
        {QStringLiteral("SysHelp"), paths.sysPath + QStringLiteral("VRD.HLP")},
        {QStringLiteral("SysMenu"), QStringLiteral("1")},
    };
    for (const auto& [key, value] : settings) {
        if (!platform::writeProfileString(kIniSection, key, value, paths.iniFile))
            throw HostError(QStringLiteral("No se pudo escribir %1 en %2").arg(key, paths.iniFile));
    }
}

// ------------------------------------------------------------- database

void insertRow(Database& db, const QString& table, const QVariantList& values)
{
    QStringList marks;
    for (qsizetype i = 0; i < values.size(); ++i)
        marks.append(QStringLiteral("?"));
    db.execute(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, marks.join(u',')), values);
}

void prepareDatabase(const HostPaths& paths, const PrepareOptions& options)
{
    try {
        platform::OpenOptions open;
        open.workgroupFile = paths.workgroupFile;
        std::unique_ptr<Database> db = QFileInfo::exists(paths.dbFile) ? Database::open(paths.dbFile, open)
                                                                        : Database::create(paths.dbFile);
        db->beginTrans();
        const QStringList made = createHostTables(*db);
        if (made.contains(QStringLiteral("Param")))
            seedHostParameters(*db);
        if (options.withSamples && made.contains(QStringLiteral("CONT")) && made.contains(QStringLiteral("CLAVES")))
            seedSamples(*db);
        db->commitTrans();
    } catch (const platform::DbError& error) {
        throw HostError(QStringLiteral("Base de datos %1: %2 (%3)")
                            .arg(paths.dbFile, error.description())
                            .arg(error.number()));
    }
}

// The sample declarations go into the form's tables once the installer made them.
void seedDeclarations(const HostPaths& paths)
{
    try {
        platform::OpenOptions open;
        open.workgroupFile = paths.workgroupFile;
        seedSampleDeclarations(*Database::open(paths.dbFile, open));
    } catch (const platform::DbError& error) {
        throw HostError(QStringLiteral("Declaraciones de ejemplo en %1: %2 (%3)")
                            .arg(paths.dbFile, error.description())
                            .arg(error.number()));
    }
}

} // namespace

// ------------------------------------------------------------------ API

HostPaths hostPaths(const QString& root)
{
    HostPaths paths;
    paths.root = QDir(root).absolutePath();
    paths.windowsDir = paths.root + QStringLiteral("/windows");
    paths.sysPath = paths.root + QStringLiteral("/vrd/");
    // The installer opens SysPath + DBName, the other programs DBPath + DBName,
    // and they take the workgroup file from SysPath and DBPath: the host keeps
    // its database in its own folder.
    paths.dbPath = paths.sysPath;
    paths.dbName = QStringLiteral("VRD.MDB");
    paths.dbFile = paths.dbPath + paths.dbName;
    paths.workgroupFile = paths.sysPath + kWorkgroup;
    paths.iniFile = paths.windowsDir + QStringLiteral("/KOVAL.INI");
    return paths;
}

HostPaths prepareHost(const QString& root, const PrepareOptions& options)
{
    const HostPaths paths = hostPaths(root);
    makeFolders(paths);
    makeWorkgroupFile(paths);
    writeSettings(paths, options.user);
    copyInstallerInputs(paths);
    prepareDatabase(paths, options);
    if (!options.ravisolPath.isEmpty()) {
        runRavisol(paths, options.ravisolPath);
        if (options.withSamples)
            seedDeclarations(paths);
    }
    return paths;
}

QStringList createHostTables(Database& db)
{
    QStringList made;
    for (const HostTable& table : hostTables()) {
        if (db.tableExists(table.name))
            continue;
        db.createTable(table.name, table.columns);
        db.createPrimaryKey(table.name, QStringLiteral("PK_") + table.name, table.key);
        made.append(table.name);
    }
    return made;
}

void seedHostParameters(Database& db)
{
    for (const ParamRow& row : hostParameters()) {
        insertRow(db, QStringLiteral("Param"),
                  {QString::fromLatin1(row.numero), QString::fromLatin1(row.argumento), row.funcion,
                   QStringLiteral("000")});
    }
}

void seedSamples(Database& db)
{
    for (const SampleUser& user : sampleUsers())
        insertRow(db, QStringLiteral("CLAVES"), {user.usuario, user.nombre, user.tipo});
    for (const SampleDeclarant& declarant : sampleDeclarants())
        insertRow(db, QStringLiteral("CONT"), {declarant.tipDoc, declarant.docId, declarant.nombre, declarant.usuario});
}

void runRavisol(const HostPaths& paths, const QString& program)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("WINDIR"), paths.windowsDir);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("MSGBOX_ANSWERS"), QString()); // boxes take their default answer

    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(paths.sysPath);
    process.start(programPath(program), {});
    if (!process.waitForStarted())
        throw HostError(QStringLiteral("No se pudo ejecutar %1: %2").arg(program, process.errorString()));
    if (!process.waitForFinished(kRavisolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        throw HostError(QStringLiteral("%1 no terminó a tiempo").arg(program));
    }
    // A run that goes well shows no message at all.
    QStringList boxes;
    for (const QString& line : QString::fromUtf8(process.readAllStandardError()).split(u'\n')) {
        if (line.startsWith(QStringLiteral("MSGBOX|")))
            boxes.append(line);
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 || !boxes.isEmpty()) {
        throw HostError(QStringLiteral("%1 terminó con el código %2 %3")
                            .arg(program)
                            .arg(process.exitCode())
                            .arg(boxes.join(u'\n')));
    }
}

QString programPath(const QString& program)
{
    return program.contains(u'/') ? QFileInfo(program).absoluteFilePath() : program;
}

void setWindowsDirectory(const HostPaths& paths)
{
    qputenv("WINDIR", QFile::encodeName(paths.windowsDir));
}

const QList<SampleUser>& sampleUsers()
{
    static const QList<SampleUser> users{
        {QStringLiteral("ADMIN"), QStringLiteral("ADMINISTRADOR DEL SISTEMA"), QStringLiteral("0")},
        {QStringLiteral("CONTADOR1"), QStringLiteral("MARÍA ELENA ZÚÑIGA"), QStringLiteral("1")},
        {QStringLiteral("CONTADOR2"), QStringLiteral("JOSÉ ÁNGEL PEÑALOZA"), QStringLiteral("1")},
    };
    return users;
}

const QList<SampleDeclarant>& sampleDeclarants()
{
    static const QList<SampleDeclarant> declarants{
        {6, QStringLiteral("20100070970"), QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C."), QStringLiteral("CONTADOR1")},
        {6, QStringLiteral("20456712381"), QStringLiteral("INVERSIONES ACUÑA Y ASOCIADOS S.R.L."), QStringLiteral("CONTADOR1")},
        {6, QStringLiteral("10412345679"), QStringLiteral("NÚÑEZ CÁRDENAS JOSÉ MARÍA"), QStringLiteral("CONTADOR2")},
        {6, QStringLiteral("20512345671"), QStringLiteral("TRANSPORTES SEÑOR DE LUREN E.I.R.L."), QStringLiteral("ADMIN")},
        {6, QStringLiteral("20600112237"),
         QStringLiteral("CORPORACIÓN INDUSTRIAL Y COMERCIAL DE LOS ANDES DEL PERÚ SOCIEDAD ANÓNIMA CERRADA"),
         QStringLiteral("CONTADOR2")},
        {1, QStringLiteral("41234567"), QStringLiteral("QUISPE MAMANI ROSA ÁNGELA"), QStringLiteral("ADMIN")},
    };
    return declarants;
}

QString quenboCommandLine(const QString& docId, const QString& periodo, int entidad, const QString& suffix)
{
    return QStringLiteral("06") + docId.leftJustified(15, u' ', true) + QStringLiteral("0913")
        + periodo.leftJustified(6, u' ', true) + QString::number(entidad).left(1)
        + suffix.leftJustified(8, u' ', true);
}

} // namespace hostkit
