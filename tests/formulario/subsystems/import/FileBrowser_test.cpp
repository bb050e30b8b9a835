#include "formulario/subsystems/import/FileBrowser.h"
#include "formulario/subsystems/import/FrmImportar.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "tests/support/HostTest.h"
#include "tests/support/OnDisplay.h"

#include <QDir>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QApplication>
#include <QKeyEvent>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform::mb;

namespace {

QStringList lines(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts.append(list.item(i)->text());
    return texts;
}

class FileBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        base = QDir(dir.path()).canonicalPath();
        for (const char* folder : {"uno/dos/beta", "uno/dos/Alfa", "uno/dos/0913x.zip"})
            QDir().mkpath(base + u'/' + QLatin1String(folder));
        for (const char* file : {"uno/dos/0913X.ZIP", "uno/dos/0913x.zip.txt", "uno/dos/otro.zip"})
            QFile(base + u'/' + QLatin1String(file)).open(QIODevice::WriteOnly);
    }

    QTemporaryDir dir;
    QString base;
};

TEST_F(FileBrowserTest, TheDirectoryListShowsTheWayDownAndTheSubFolders)
{
    DirectoryList list;
    const QString dos = base + QStringLiteral("/uno/dos");
    ASSERT_TRUE(list.setPath(dos + QStringLiteral("/")));
    EXPECT_EQ(list.path(), dos);
    const QStringList texts = lines(list);
    const int depth = int(dos.count(u'/'));
    ASSERT_EQ(texts.size(), depth + 1 + 3);
    EXPECT_EQ(texts.first(), QStringLiteral("/"));
    EXPECT_EQ(texts.at(depth), QString(2 * depth, u' ') + QStringLiteral("dos"));
    EXPECT_EQ(texts.mid(depth + 1), (QStringList{QString(2 * depth + 2, u' ') + QStringLiteral("0913x.zip"),
                                                 QString(2 * depth + 2, u' ') + QStringLiteral("Alfa"),
                                                 QString(2 * depth + 2, u' ') + QStringLiteral("beta")}));
    EXPECT_EQ(list.selectedPath(), dos);

    EXPECT_FALSE(list.setPath(base + QStringLiteral("/no-existe")));
    EXPECT_FALSE(list.setPath(base + QStringLiteral("/uno/dos/otro.zip")));
    EXPECT_EQ(list.path(), dos);
}

TEST_F(FileBrowserTest, OpeningAFolderChangesThePathAndSaysSo)
{
    DirectoryList list;
    list.setPath(base + QStringLiteral("/uno/dos"));
    int changes = 0;
    QObject::connect(&list, &DirectoryList::changed, [&] { ++changes; });

    list.setCurrentRow(list.count() - 1); // beta
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(&list, &space);
    EXPECT_EQ(list.path(), base + QStringLiteral("/uno/dos/beta"));
    EXPECT_EQ(changes, 1);

    emit list.itemDoubleClicked(list.item(list.count() - 2)); // back up to dos
    EXPECT_EQ(list.path(), base + QStringLiteral("/uno/dos"));
    EXPECT_EQ(changes, 2);
}

TEST_F(FileBrowserTest, TheFileListShowsTheFilesOfItsPatternWhateverTheirCase)
{
    FileList list;
    list.setPath(base + QStringLiteral("/uno/dos"));
    EXPECT_EQ(list.count(), 0); // no pattern, no file
    list.setPattern(QStringLiteral("0913x.zip"));
    EXPECT_EQ(lines(list), QStringList{QStringLiteral("0913X.ZIP")});
    EXPECT_EQ(list.fileName(), QString());
    list.setCurrentRow(0);
    EXPECT_EQ(list.fileName(), QStringLiteral("0913X.ZIP"));
    list.setPattern(QStringLiteral("*.zip"));
    EXPECT_EQ(lines(list), (QStringList{QStringLiteral("0913X.ZIP"), QStringLiteral("otro.zip")}));
    EXPECT_EQ(list.fileName(), QString());
}

TEST_F(FileBrowserTest, TheDriveListNamesTheVolumeOfAPath)
{
    DriveList drives;
    EXPECT_GT(drives.count(), 0);
    drives.setDriveOf(base);
    EXPECT_EQ(drives.drive(), QStorageInfo(base).rootPath());
}

class FrmImportarDialogTest : public HostTest {};

TEST_F(FrmImportarDialogTest, ADriveThatCannotBeOpenedIsExplainedAndTheListGoesBack)
{
    FrmImportar form;
    form.Form_Load();
    EXPECT_EQ(form.DirList->path(), QDir(sSysPath).canonicalPath());
    EXPECT_EQ(form.flListaFiles->path(), form.DirList->path());
    EXPECT_EQ(form.DrvLst->drive(), QStorageInfo(sSysPath).rootPath());
    EXPECT_TRUE(form.Frame3->isHidden());
    EXPECT_EQ(form.CmbRuc->currentIndex(), -1);
    EXPECT_EQ(form.CmbEntidad->count(), 5);

    form.DrvLst->addItem(QStringLiteral("/no/existe"));
    form.DrvLst->setCurrentIndex(form.DrvLst->count() - 1);
    script.answer(Ok);
    form.DrvLst_Change();
    EXPECT_EQ(script.lastText(), QStringLiteral("Ruta de Directorio no encontrado en Driver:/no/existe\n"
                                                "Verifique el correcto colocado del disquete.\n"
                                                "Intente nuevamente por favor."));
    EXPECT_EQ(script.shown().last().title, form.windowTitle());
    EXPECT_EQ(form.DrvLst->drive(), QStorageInfo(sSysPath).rootPath());
    EXPECT_EQ(form.DirList->path(), QDir(sSysPath).canonicalPath());

    form.DrvLst->setDriveOf(QStringLiteral("/"));
    form.DrvLst_Change();
    EXPECT_EQ(form.DirList->path(), QStringLiteral("/"));
    EXPECT_EQ(form.flListaFiles->path(), QStringLiteral("/"));
}

class SinDeclarantesTest : public HostTest {
public:
    SinDeclarantesTest() { hostOptions.withSamples = false; }
};

// Told on loading, the user sees the dialog close out of its own modal loop.
TEST_F(SinDeclarantesTest, TheDialogClosesItselfWhenThereIsNoDeclarant)
{
    REQUIRE_DISPLAY();
    script.answerOnScreen();
    answerShownBox(QStringLiteral("Aceptar"));
    script.onForm(QStringLiteral("FrmImportar"), [](QWidget& form) { return static_cast<QDialog&>(form).exec(); });
    EXPECT_EQ(MuestraFormularioNuevo<FrmImportar>(), QDialog::Rejected);
    EXPECT_TRUE(script.lastText().startsWith(QStringLiteral("No existen declarantes registrados.")));
    EXPECT_EQ(script.formsShown(), QStringList{QStringLiteral("FrmImportar")});
}

} // namespace
