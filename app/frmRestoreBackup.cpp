#include "app/frmRestoreBackup.h"

#include "core/number_format.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kEntryRole = Qt::UserRole + 1;

QString sizeText(qint64 bytes)
{
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}
} // namespace

frmRestoreBackup::frmRestoreBackup(const QList<backups::Entry> &entries, QWidget *parent) : QDialog(parent), m_entries(entries)
{
    setObjectName(QStringLiteral("frmRestoreBackup"));
    setWindowTitle(QStringLiteral("Restore from Backup"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(entries.isEmpty() ? QStringLiteral("There is no backup of this library yet.")
                                               : QStringLiteral("Choose the backup that takes the library's place. The library as it is "
                                                                "now is kept as a backup too."),
                             this);
    label->setObjectName(QStringLiteral("lblBackups"));
    label->setWordWrap(true);
    layout->addWidget(label);

    lvBackups = new QTreeWidget(this);
    lvBackups->setObjectName(QStringLiteral("lvBackups"));
    lvBackups->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Drinks"), QStringLiteral("Size")});
    lvBackups->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    lvBackups->headerItem()->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
    lvBackups->setRootIsDecorated(false);
    lvBackups->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int i = 0; i < entries.size(); ++i) {
        const backups::Entry &e = entries[i];
        const QString when = e.taken.time() == QTime(0, 0) ? QLocale().toString(e.taken.date(), QLocale::ShortFormat)
                                                            : QLocale().toString(e.taken, QLocale::ShortFormat);
        auto *item = new QTreeWidgetItem(lvBackups, {when, e.damaged() ? QStringLiteral("damaged") : formatThousands(e.drinks), sizeText(e.size)});
        item->setData(0, kEntryRole, i);
        item->setToolTip(0, e.path);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        if (e.damaged())
            item->setFlags(item->flags() & ~(Qt::ItemIsSelectable | Qt::ItemIsEnabled));
    }
    lvBackups->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    layout->addWidget(lvBackups);

    auto *buttons = new QDialogButtonBox(this);
    cmdRestore = buttons->addButton(QStringLiteral("&Restore"), QDialogButtonBox::AcceptRole);
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    cmdCancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(buttons);

    connect(lvBackups, &QTreeWidget::itemSelectionChanged, this, &frmRestoreBackup::updateButtons);
    connect(lvBackups, &QTreeWidget::itemDoubleClicked, this, [this] { cmdRestore->click(); });
    connect(cmdRestore, &QPushButton::clicked, this, [this] {
        const QList<QTreeWidgetItem *> selected = lvBackups->selectedItems();
        if (selected.isEmpty())
            return;
        const backups::Entry &e = m_entries[selected.first()->data(0, kEntryRole).toInt()];
        if (e.damaged())
            return;
        m_chosen = e.path;
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    // The newest backup that opens is chosen to begin with.
    for (int row = 0; row < lvBackups->topLevelItemCount(); ++row) {
        if (QTreeWidgetItem *item = lvBackups->topLevelItem(row); item->flags() & Qt::ItemIsSelectable) {
            lvBackups->setCurrentItem(item);
            break;
        }
    }
    updateButtons();
    resize(460, 320);
}

void frmRestoreBackup::updateButtons()
{
    cmdRestore->setEnabled(!lvBackups->selectedItems().isEmpty());
}
