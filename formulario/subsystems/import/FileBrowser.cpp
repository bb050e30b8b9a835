#include "formulario/subsystems/import/FileBrowser.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStorageInfo>

namespace {

constexpr int kRolRuta = Qt::UserRole;
constexpr int kSangria = 2; // blanks per level of the folder tree

} // namespace

DriveList::DriveList(QWidget* parent)
    : QComboBox(parent)
{
    refresh();
}

void DriveList::refresh()
{
    const QSignalBlocker bloqueo(this);
    const QString actual = drive();
    QStringList raices;
    for (const QStorageInfo& volumen : QStorageInfo::mountedVolumes()) {
        if (volumen.isValid() && volumen.isReady() && !raices.contains(volumen.rootPath()))
            raices.append(volumen.rootPath());
    }
    raices.sort();
    clear();
    addItems(raices);
    setCurrentIndex(findText(actual));
}

void DriveList::setDriveOf(const QString& path)
{
    const QString raiz = QStorageInfo(path).rootPath();
    const QSignalBlocker bloqueo(this);
    int indice = findText(raiz);
    if (indice < 0 && !raiz.isEmpty()) {
        addItem(raiz);
        indice = count() - 1;
    }
    setCurrentIndex(indice);
}

DirectoryList::DirectoryList(QWidget* parent)
    : QListWidget(parent)
{
    connect(this, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { open(item->data(kRolRuta).toString()); });
}

bool DirectoryList::setPath(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isDir() || !info.isReadable())
        return false;
    path_ = QDir::cleanPath(info.absoluteFilePath());

    clear();
    QStringList ancestros;
    for (QDir dir(path_);; ) {
        ancestros.prepend(dir.absolutePath());
        if (!dir.cdUp())
            break;
    }
    int nivel = 0;
    for (const QString& ancestro : ancestros) {
        const QString nombre = QDir(ancestro).isRoot() ? ancestro : QFileInfo(ancestro).fileName();
        auto* item = new QListWidgetItem(QString(nivel++ * kSangria, u' ') + nombre, this);
        item->setData(kRolRuta, ancestro);
    }
    setCurrentRow(count() - 1);
    const QDir actual(path_);
    for (const QString& sub : actual.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(QString(nivel * kSangria, u' ') + sub, this);
        item->setData(kRolRuta, actual.filePath(sub));
    }
    return true;
}

QString DirectoryList::selectedPath() const
{
    const QListWidgetItem* item = currentItem();
    return item ? item->data(kRolRuta).toString() : path_;
}

void DirectoryList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space) {
        open(selectedPath());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void DirectoryList::open(const QString& path)
{
    if (setPath(path))
        emit changed();
}

FileList::FileList(QWidget* parent)
    : QListWidget(parent)
{
}

void FileList::setPath(const QString& path)
{
    path_ = path;
    refresh();
}

void FileList::setPattern(const QString& pattern)
{
    pattern_ = pattern;
    refresh();
}

void FileList::refresh()
{
    clear();
    if (pattern_.isEmpty() || path_.isEmpty())
        return;
    QDir dir(path_);
    dir.setNameFilters({pattern_});
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    addItems(dir.entryList());
}

QString FileList::fileName() const
{
    const QListWidgetItem* item = currentItem();
    return item && item->isSelected() ? item->text() : QString();
}
