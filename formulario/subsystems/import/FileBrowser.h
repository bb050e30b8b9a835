#pragma once

// The drive, directory and file lists of the import dialog. The drives of
// this platform are its mounted volumes, each named by its root folder.

#include <QComboBox>
#include <QListWidget>
#include <QString>

// The mounted volumes that can be read, by root folder.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    QString drive() const { return currentText(); }
    // Chooses the volume that holds `path` (without emitting a change).
    void setDriveOf(const QString& path);
    // Reads the volumes again.
    void refresh();
};

// The folders from the root down to the current one, then its sub-folders.
// A double click or a space opens the folder under the cursor.
class DirectoryList : public QListWidget {
    Q_OBJECT
public:
    explicit DirectoryList(QWidget* parent = nullptr);

    const QString& path() const { return path_; }
    // False (and nothing changes) when `path` is not a folder that can be read.
    bool setPath(const QString& path);
    // The folder of the selected line; the current folder without one.
    QString selectedPath() const;

signals:
    // The user opened another folder.
    void changed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open(const QString& path);
    QString path_;
};

// The ordinary files of a folder whose names match a pattern (letter case
// ignored); an empty pattern lists nothing.
class FileList : public QListWidget {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    const QString& path() const { return path_; }
    void setPath(const QString& path);
    const QString& pattern() const { return pattern_; }
    void setPattern(const QString& pattern);
    void refresh();
    // The chosen file's name; empty when none is chosen.
    QString fileName() const;

private:
    QString path_;
    QString pattern_;
};
