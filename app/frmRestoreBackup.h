#pragma once
// File, Restore from Backup...: the library's backups, newest first, with the date, the number of
// drinks and the size of each. A backup that does not open with the key is listed as damaged and
// cannot be chosen. Accepted with a backup chosen: chosenBackup() names it.

#include "store/library_backups.h"

#include <QDialog>

class QPushButton;
class QTreeWidget;

class frmRestoreBackup : public QDialog {
    Q_OBJECT
public:
    explicit frmRestoreBackup(const QList<backups::Entry> &entries, QWidget *parent = nullptr);

    QTreeWidget *lvBackups = nullptr;
    QPushButton *cmdRestore = nullptr;
    QPushButton *cmdCancel = nullptr;

    // The backup chosen when Restore was pressed; empty otherwise.
    QString chosenBackup() const { return m_chosen; }

private:
    void updateButtons();
    QList<backups::Entry> m_entries;
    QString m_chosen;
};
