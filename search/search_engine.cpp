// The one entry point of drink searches, and the three-entry recent-search list.

#include "store/CDatabase.h"

#include "common/CZestro30.h"
#include "app/frmMain.h"
#include "common/message_box.h"
#include "common/number_format.h"
#include "common/program_objects.h"
#include "common/seams.h"
#include "search/frmSearchWizard.h"
#include "search/frmStatus.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QTreeWidget>

namespace {

const char *const kLabels[] = {"All Drinks", "Name", "Ingredients", "Directions", "Comments",
                               "Tried Drinks", "Untried Drinks", "Submitted", "Print"};
const char *const kStoredQueries[] = {"ShowAllName", nullptr, nullptr, nullptr, nullptr,
                                      "HaveTried", "HaveNotTried", "SubmittedDrinks", "Print"};

const QString kEmptyCaption = QStringLiteral("(empty)");

// Keeps the drink list frozen for the duration of a fill, and thaws it on every way out.
class FrozenList {
public:
    explicit FrozenList(QTreeWidget *list) : m_list(list)
    {
        if (m_list)
            m_list->setUpdatesEnabled(false);
    }
    ~FrozenList()
    {
        if (m_list)
            m_list->setUpdatesEnabled(true);
    }

private:
    QTreeWidget *m_list;
};

// Closes the search wizard and the status window however the search ends.
struct SearchWindowsCloser {
    ~SearchWindowsCloser()
    {
        frmStatus::Unload();
        frmSearchWizard::unloadIfLoaded();
    }
};

} // namespace

std::unique_ptr<engine::Recordset> CDatabase::SearchByName(const QString &sString)
{
    engine::QueryDef query = database().QueryDefs(QStringLiteral("NameSearchByName"));
    query.Parameters(QStringLiteral("aName")) = sString;
    return query.OpenRecordset(engine::dbOpenSnapshot);
}

std::unique_ptr<engine::Recordset> CDatabase::SearchByText(const QString &sString, bool bComments)
{
    engine::QueryDef query = database().QueryDefs(bComments ? QStringLiteral("CommentsSearch") : QStringLiteral("DescSearchByName"));
    query.Parameters(bComments ? QStringLiteral("sString") : QStringLiteral("sName")) = sString;
    return query.OpenRecordset(engine::dbOpenSnapshot);
}

void CDatabase::Search(qint16 iType, const QString &sString, bool bSaveSearch)
{
    if (iType < 0 || iType > 8)
        throw EngineError(err::InvalidOperation, QStringLiteral("Unknown search type %1.").arg(iType));
    SearchWindowsCloser closer;
    const double start = SecondsSinceMidnight();
    if (iType != 0 && program().settings && program().settings->ShowSearching()) {
        frmStatus::setStatusCaption(QStringLiteral("Searching..."));
        QCoreApplication::processEvents();
    }

    const QString label = QString::fromLatin1(kLabels[iType]);
    std::unique_ptr<engine::Recordset> found;
    switch (iType) {
    case 1: found = SearchByName(sString); break;
    case 2: found = SearchByIngredients(sString); break;
    case 3: found = SearchByText(sString, false); break;
    case 4: found = SearchByText(sString, true); break;
    default:
        found = database().QueryDefs(QString::fromLatin1(kStoredQueries[iType])).OpenRecordset(engine::dbOpenSnapshot);
        break;
    }

    frmMain *form = m_outputForm;
    if (form)
        form->setStatusText(QStringLiteral("Last search took ") + formatSeconds(elapsedSeconds(start, SecondsSinceMidnight()))
                            + QStringLiteral(" seconds."));
    QTreeWidget *list = form ? form->lvDrinks : nullptr;
    {
        FrozenList frozen(list);
        if (found->Eof()) {
            MsgBox(QStringLiteral("No drinks matched your criteria."), msgbox::vbInformation);
        } else {
            found->MoveFirst();
            if (bSaveSearch)
                AddSavedSearch(iType, sString, label);
            if (list) {
                QList<QTreeWidgetItem *> items;
                items.reserve(found->RecordCount());
                for (; !found->Eof(); found->MoveNext())
                    items.append(new QTreeWidgetItem(QStringList{found->value(QStringLiteral("Name")).toString()}));
                list->clear();
                list->addTopLevelItems(items);
                form->lblCurrentSet->setText(QStringLiteral("Current Set Contains ") + QString::number(items.size())
                                             + QStringLiteral(" Drinks"));
                list->setCurrentItem(list->topLevelItem(0));
            }
        }
    }
    found.reset();
    if (list && list->currentItem() && list->currentItem()->isSelected())
        ShowDrinkInfo(list->currentItem()->text(0));
}

void CDatabase::AddSavedSearch(qint16 iType, const QString &sString, const QString &sLabel)
{
    frmMain *form = m_outputForm;
    auto item = [form](int i) { return form ? form->menuItem(QStringLiteral("mnuSearchResults"), i) : nullptr; };
    for (int i = 2; i >= 1; --i) {
        m_savedSearches[size_t(i)] = m_savedSearches[size_t(i - 1)];
        if (QAction *to = item(i)) {
            to->setText(item(i - 1)->text());
            if (to->text() != kEmptyCaption)
                to->setVisible(true);
        }
    }
    m_savedSearches[0] = SavedSearch{iType, sString};
    if (QAction *first = item(0))
        first->setText(sLabel + QStringLiteral(": (") + sString + QLatin1Char(')'));
}

void CDatabase::GetSavedSearch(qint16 iSearchToShow)
{
    if (iSearchToShow < 0 || iSearchToShow > 2)
        return;
    const SavedSearch saved = m_savedSearches[size_t(iSearchToShow)];
    Search(saved.iType, saved.sString, false);
}
