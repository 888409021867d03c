#include "search/frmMyBar.h"

#include "common/CCommonRoutines.h"
#include "common/busy_cursor.h"
#include "common/command_guard.h"
#include "common/message_box.h"
#include "common/seams.h"
#include "core/name_order.h"
#include "core/name_text.h"
#include "store/CDatabase.h"
#include "store/undo_history.h"

#include <QAbstractListModel>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

// Every ingredient once, in name order, with its tick as read and as the user left it; it shows
// the rows whose name holds the filter text, the closest matches first. The tick is the one piece a user edits in place.
class MyBarModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void load(engine::Database &db);
    void setFilter(const QString &text);
    bool filtered() const { return !m_filter.isEmpty(); }
    int total() const { return int(m_rows.size()); }
    int commonCount() const { return m_common; }
    int onHandCount() const { return m_onHand; }
    int changeCount() const { return m_changed; }
    QList<OnHandChange> changes() const;
    // The first row a tick can be given, or an invalid index when none is shown.
    QModelIndex firstTickable() const;

    int rowCount(const QModelIndex &parent = {}) const override { return parent.isValid() ? 0 : int(m_shown.size()); }
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Row {
        int id = 0;
        QString name;
        QString key; // the name as searched: blind to case and accents
        bool common = false;
        bool read = false; // Has as the library holds it
        bool has = false;  // as ticked now
    };
    const Row &rowAt(const QModelIndex &index) const { return m_rows[size_t(m_shown[size_t(index.row())])]; }

    std::vector<Row> m_rows;
    std::vector<int> m_shown; // indexes into m_rows
    QString m_filter;         // as searched; empty shows every row
    int m_common = 0;
    int m_onHand = 0; // ticked and not common
    int m_changed = 0;
};

namespace {

const QString kAlwaysThere = QStringLiteral("  (common: always there)");

QString counted(int n, const char *one, const char *many)
{
    return n == 1 ? QString::fromLatin1(one) : QString::fromLatin1(many).arg(n);
}

} // namespace

void MyBarModel::load(engine::Database &db)
{
    beginResetModel();
    m_rows.clear();
    m_common = m_onHand = m_changed = 0;
    auto ingredients = db.OpenRecordset(QStringLiteral("SELECT ID, Ingredient, Common, Has FROM Ingredients"),
                                        engine::dbOpenForwardOnly);
    std::vector<QString> sortKeys;
    if (!ingredients->Eof()) {
        engine::Field id = ingredients->Fields(QStringLiteral("ID"));
        engine::Field name = ingredients->Fields(QStringLiteral("Ingredient"));
        engine::Field common = ingredients->Fields(QStringLiteral("Common"));
        engine::Field has = ingredients->Fields(QStringLiteral("Has"));
        for (; !ingredients->Eof(); ingredients->MoveNext()) {
            Row row;
            row.id = id.Value().toInt();
            row.name = name.Value().toString();
            row.key = searchKey(row.name);
            row.common = common.Value().toBool();
            row.read = row.has = has.Value().toBool();
            m_common += row.common;
            m_onHand += !row.common && row.has;
            sortKeys.push_back(nameKey(row.name));
            m_rows.push_back(std::move(row));
        }
    }
    // In the program's name order: the keys once, not once a comparison.
    std::vector<int> order(m_rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&sortKeys](int a, int b) {
        return QString::compare(sortKeys[size_t(a)], sortKeys[size_t(b)]) < 0;
    });
    std::vector<Row> sorted;
    sorted.reserve(m_rows.size());
    for (int i : order)
        sorted.push_back(std::move(m_rows[size_t(i)]));
    m_rows = std::move(sorted);
    m_shown = std::move(order);
    for (size_t i = 0; i < m_shown.size(); ++i)
        m_shown[i] = int(i);
    m_filter.clear();
    endResetModel();
}

void MyBarModel::setFilter(const QString &text)
{
    const QString filter = searchKey(cleanName(text).trimmed());
    if (filter == m_filter)
        return;
    beginResetModel();
    m_filter = filter;
    m_shown.clear();
    // The name itself first, then the names that start with the text, then the others that hold
    // it, each in name order: the first row is the bottle most likely meant.
    std::vector<int> starting, holding;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const QString &key = m_rows[i].key;
        if (filter.isEmpty() || key == filter)
            m_shown.push_back(int(i));
        else if (key.startsWith(filter))
            starting.push_back(int(i));
        else if (key.contains(filter))
            holding.push_back(int(i));
    }
    m_shown.insert(m_shown.end(), starting.cbegin(), starting.cend());
    m_shown.insert(m_shown.end(), holding.cbegin(), holding.cend());
    endResetModel();
}

QList<OnHandChange> MyBarModel::changes() const
{
    QList<OnHandChange> changes;
    for (const Row &row : m_rows) {
        if (row.has != row.read)
            changes.append({row.id, row.has});
    }
    return changes;
}

QModelIndex MyBarModel::firstTickable() const
{
    for (size_t i = 0; i < m_shown.size(); ++i) {
        if (!m_rows[size_t(m_shown[i])].common)
            return index(int(i));
    }
    return m_shown.empty() ? QModelIndex() : index(0);
}

QVariant MyBarModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row &row = rowAt(index);
    switch (role) {
    case Qt::DisplayRole:
        return row.common ? row.name + kAlwaysThere : row.name;
    case Qt::CheckStateRole:
        return row.common || row.has ? Qt::Checked : Qt::Unchecked;
    case Qt::ToolTipRole:
        return row.common ? QStringLiteral("A common ingredient: it counts as at hand without being on your bar list.")
                          : QVariant();
    default:
        return {};
    }
}

bool MyBarModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.row() >= rowCount())
        return false;
    Row &row = m_rows[size_t(m_shown[size_t(index.row())])];
    const bool has = value.toInt() == Qt::Checked;
    if (row.common || row.has == has)
        return false;
    m_changed += row.has == row.read ? 1 : -1;
    m_onHand += has ? 1 : -1;
    row.has = has;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags MyBarModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return Qt::NoItemFlags;
    // A common ingredient is always there: shown ticked and greyed, not a tick to take off.
    if (rowAt(index).common)
        return Qt::ItemNeverHasChildren;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
}

// ---- The dialog ------------------------------------------------------------------------------------

frmMyBar::frmMyBar(CDatabase &db, QWidget *parent) : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("frmMyBar"));
    setWindowTitle(QStringLiteral("My Bar"));
    save = [this](const QList<OnHandChange> &changes) {
        UndoStep step(m_db, QStringLiteral("Change Bar List"));
        BarListWrites::setOnHand(m_db, changes);
    };
    buildControls();
    {
        BusyCursor wait;
        m_model->load(m_db.database());
    }
    lstIngredients->setCurrentIndex(m_model->firstTickable());
    updateCount();
    resize(QSize(440, 560));
    CCommonRoutines().CenterToWindow(parentWidget(), this);
    txtFilter->setFocus();
}

frmMyBar::~frmMyBar() = default;

void frmMyBar::buildControls()
{
    lblExplain = new QLabel(QStringLiteral("Tick the ingredients you have. Drinks I Can Make and the missing marks "
                                           "beside a drink's ingredients go by these ticks; common ingredients, "
                                           "such as water or ice, count as always there."),
                            this);
    lblExplain->setObjectName(QStringLiteral("lblExplain"));
    lblExplain->setWordWrap(true);

    txtFilter = new QLineEdit(this);
    txtFilter->setObjectName(QStringLiteral("txtFilter"));
    txtFilter->setPlaceholderText(QStringLiteral("Type part of a name"));
    txtFilter->setClearButtonEnabled(true);
    txtFilter->installEventFilter(this);
    auto *filterLabel = new QLabel(QStringLiteral("&Find:"), this);
    filterLabel->setBuddy(txtFilter);

    m_model = new MyBarModel(this);
    lstIngredients = new QListView(this);
    lstIngredients->setObjectName(QStringLiteral("lstIngredients"));
    lstIngredients->setModel(m_model);
    lstIngredients->setUniformItemSizes(true); // rows of one height lay out at once, however many
    lstIngredients->setAlternatingRowColors(true);
    lstIngredients->setSelectionMode(QAbstractItemView::SingleSelection);

    lblCount = new QLabel(this);
    lblCount->setObjectName(QStringLiteral("lblCount"));
    lblCount->setWordWrap(true);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdOK, QDialogButtonBox::AcceptRole);
    buttons->addButton(cmdCancel, QDialogButtonBox::RejectRole);
    connect(cmdOK, &QPushButton::clicked, this, guarded(&frmMyBar::cmdOK_Click, this));
    connect(cmdCancel, &QPushButton::clicked, this, guarded(&frmMyBar::cmdCancel_Click, this));

    connect(txtFilter, &QLineEdit::textChanged, this, &frmMyBar::applyFilter);
    connect(m_model, &QAbstractItemModel::dataChanged, this, &frmMyBar::updateCount);

    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(txtFilter, 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(8);
    layout->addWidget(lblExplain);
    layout->addLayout(filterRow);
    layout->addWidget(lstIngredients, 1);
    layout->addWidget(lblCount);
    layout->addWidget(buttons);
}

void frmMyBar::applyFilter()
{
    // While a text is typed the closest match is current, for Down and Space; with the filter
    // emptied the row the user was on stays current.
    const QString current = lstIngredients->currentIndex().data().toString();
    m_model->setFilter(txtFilter->text());
    QModelIndex keep;
    for (int row = 0; row < m_model->rowCount() && !current.isEmpty() && !m_model->filtered(); ++row) {
        if (m_model->index(row).data().toString() == current) {
            keep = m_model->index(row);
            break;
        }
    }
    lstIngredients->setCurrentIndex(keep.isValid() ? keep : m_model->firstTickable());
    updateCount();
}

void frmMyBar::updateCount()
{
    QString text = counted(m_model->onHandCount(), "1 ingredient on hand", "%1 ingredients on hand");
    if (m_model->commonCount() > 0)
        text += counted(m_model->commonCount(), ", and 1 common one always there", ", and %1 common ones always there");
    text += QLatin1Char('.');
    if (m_model->filtered()) {
        text += m_model->rowCount() == 0
                    ? QStringLiteral(" No ingredient matches %1.").arg(nameInMessage(txtFilter->text().trimmed()))
                    : QStringLiteral(" Showing %1 of %2.").arg(m_model->rowCount()).arg(m_model->total());
    }
    if (m_model->changeCount() > 0)
        text += counted(m_model->changeCount(), " 1 change to save.", " %1 changes to save.");
    lblCount->setText(text);
}

bool frmMyBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtFilter && event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Down:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            // From the filter to the matches, where Space ticks; Enter there is OK.
            if (m_model->rowCount() > 0) {
                if (!lstIngredients->currentIndex().isValid())
                    lstIngredients->setCurrentIndex(m_model->firstTickable());
                lstIngredients->setFocus();
            }
            return true;
        case Qt::Key_Escape:
            // A first Escape empties the filter; the next one closes the window.
            if (!txtFilter->text().isEmpty()) {
                txtFilter->clear();
                return true;
            }
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QList<OnHandChange> frmMyBar::changes() const
{
    return m_model->changes();
}

void frmMyBar::cmdOK_Click()
{
    const QList<OnHandChange> changed = changes();
    if (!changed.isEmpty()) {
        try {
            save(changed);
        } catch (const EngineError &e) {
            // Nothing was stored: the window stays with every tick, to try again or to cancel.
            ShowEngineError(e);
            return;
        }
    }
    m_saved = changed;
    accept();
}

void frmMyBar::cmdCancel_Click()
{
    reject();
}

void showMyBar(CDatabase &db)
{
    db.requireBarList(); // said before the user ticks anything, not after
    OutputWindow *output = db.output();
    QList<OnHandChange> saved;
    {
        frmMyBar dialog(db, output ? output->dialogParent() : nullptr);
        ShowModal(dialog);
        saved = dialog.saved();
    }
    if (saved.isEmpty() || !output)
        return;
    const auto added = std::count_if(saved.cbegin(), saved.cend(), [](const OnHandChange &c) { return c.onHand; });
    QStringList parts;
    if (added > 0)
        parts << QStringLiteral("%1 added").arg(added);
    if (added < saved.size())
        parts << QStringLiteral("%1 taken off").arg(saved.size() - added);
    output->setStatusText(QStringLiteral("Bar list saved: ") + parts.join(QStringLiteral(", ")) + QLatin1Char('.'));
    // The listed drinks' lines may name an ingredient now at hand, or no longer.
    db.BarListChanged();
}
