#pragma once
// The program's single gateway to the recipe data. It owns the open database file, three long-lived
// updatable record sets on Drinks, Ingredients and DrinkRel, and the record set of the drink shown,
// and writes its results into the output window it is given (the main window).
//
// It is the program's facade: most members are short and hand the work to a class of the subsystem
// that owns it (DrinkStore, DrinkSearch, DrinkEditing, IngredientWrites, DrinkMarks, ...), and are
// defined in that subsystem's folder, so no include runs up from store/. store/ itself holds the
// lifetime, the record lookups and compaction, and shows no message: it returns or throws.

#include "store/compaction.h"
#include "store/engine/database.h"
#include "store/output_window.h"
#include "store/undo_history.h"

#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class FileLock;
class PrintTarget;
class QComboBox;
class QListWidget;
class QTreeWidget;

// One entry of the recent-search list.
struct SavedSearch {
    qint16 iType = 0;
    QString sString;
    QString sCaption; // as the Recent Searches menu shows it; empty while unused
};

class CDatabase {
public:
    CDatabase();
    ~CDatabase();
    CDatabase(const CDatabase &) = delete;
    CDatabase &operator=(const CDatabase &) = delete;

    // ---- Lifetime ----
    void setOutputWindow(OutputWindow *window) { m_output = window; }
    OutputWindow *output() const { return m_output; }
    void setFileName(const QString &path);
    QString FileName() const { return m_fileName; }
    // Opens FileName(): schema check and upgrade, the three table record sets, the window caption.
    // Only then is the file saved in the settings as the one to open next time. Failures reach the
    // caller as EngineError; the store is then closed.
    bool DbOpen();
    bool DbClose();
    void CheckDatabase();
    bool isOpen() const { return m_db != nullptr; }
    // Why the open file cannot be changed (the file or its folder is read-only); empty when it can.
    QString readOnlyReason() const { return m_readOnlyReason; }
    // Every write starts here: throws the read-only error with its reason before anything is written.
    void requireWritable() const;
    // An older library lacks the bar list's column (Ingredients.Has) until the open adds it. Where
    // that could not run (a read-only file or folder) the file is read as it is: no ingredient is
    // on the bar list, and the bar list cannot be changed.
    bool hasBarListColumn() const { return !m_barListMissing; }
    // What a statement reads for an ingredient's bar-list mark: `column` as given ("Has",
    // "Ingredients.Has"), or the column's default, 0, where the file lacks it.
    QString barListMark(const QString &column = QStringLiteral("Has")) const;
    // A write of the bar list starts here: requireWritable's refusal, or one for a file without the column.
    void requireBarList() const;

    // ---- Backups (store/backup_restore.cpp, store/library_backups.*) ----
    // Writes a consistent copy of the open library to `path` (File, Back Up Library...), never over
    // the library itself. Throws EngineError with the cause; no file is left behind then.
    void backUpTo(const QString &path);
    // Replaces the library with the backup under the lock: the library as it was is kept among the
    // backups, a journal beside it is set aside, and the library is opened again with a new undo
    // history. Gives the name the replaced library was kept under. Throws EngineError with the
    // cause; a failure before the restored file has the library's name leaves the library as it
    // was, and open.
    QString restoreBackup(const QString &backup);

    // ---- Record lookups (drinks: store/drink_store.cpp) ----
    QString DrinkCount();
    qint16 GetIngID(const QString &name);
    // GetIngID's lookup on any open library: 0 for no such ingredient, and for any failure.
    static qint16 GetIngID(engine::Database &db, const QString &name);
    QString GetDrinkName(qint16 id);
    QString GetIngName(qint16 id);
    bool DoesDrinkExist(const QString &sDrinkName);

    // ---- Compaction ----
    // Rewrites the file without its free space, keeping its name, password, the current set and
    // the shown drink (store/compaction.cpp); throws CompactionFailed, the library open again
    // unless the failure says otherwise.
    CompactionResult compactFile();
    // The command: compactFile with the busy pointer, the status texts and the messages
    // (app/compaction_command.cpp).
    bool DbCompact();

    // ---- Browsing (browse/) ----
    // Every drink, by the all-drinks search (search/search_engine.cpp).
    void ShowAllDrinks(bool bUnused = true);
    void DoButtons();
    // Reads every drink's marks once and shows them beside the listed names: after a write that
    // changed the marks of drinks other than the shown one.
    void ShowListMarks();
    // Fills the detail side of the main window with the drink as DrinkStore reads it; the engine's
    // error reaches the caller when the drink is not there.
    void ShowDrinkInfo(const QString &name);
    bool CurrentDrinkPrint() const { return m_currentDrinkPrint; }
    // The name of the drink shown, empty while none is; forgetShownDrink() after it is changed or gone.
    const QString &shownDrinkName() const { return m_currentDrinkName; }
    void forgetShownDrink()
    {
        m_currentDrink.reset();
        m_currentDrinkName.clear();
    }
    // The drink lookup set of the drink shown (DrinkLookup), opened when first asked for; null
    // while no drink is shown.
    engine::Recordset *currentDrink();

    // ---- Searching (search/) ----
    // Each runs its search (search/drink_search.h) and hands what it found to the current set.
    void Search(qint16 iType, const QString &sString, bool bSaveSearch);
    void GetSavedSearch(qint16 iSearchToShow);
    // The search box's search (search/quick_search.cpp) made the current set: the drinks whose name
    // holds `text` (every drink when it is empty), blind to case and accents; false, leaving the
    // current set, when none does. RecordQuickSearch puts it in Recent Searches as the name search
    // it is.
    bool QuickSearch(const QString &text);
    void RecordQuickSearch(const QString &text);
    static QString QuickSearchPattern(const QString &text);
    std::unique_ptr<engine::Recordset> SearchByIngredients(const QString &sIngredients);
    // The SQL text the last ingredient search built.
    const QString &lastIngredientSql() const { return m_lastIngredientSql; }
    void RandomDrink();

    // ---- Bar list (search/bar_list.cpp, search/bar_list_files.cpp) ----
    // Lists the drinks that can be made from the bar list with at most iSlack lines missing.
    void BarList(qint16 iSlack);
    // After the bar list changed: every missing count the list shows, and the selected drink's
    // detail with its marks, afresh. ShowMissingCounts does the list alone.
    void BarListChanged();
    void ShowMissingCounts();
    // The flag of the named ingredient, or nothing when no ingredient has that name.
    std::optional<bool> IsIngredientCommonName(const QString &sIngredientName);
    std::optional<bool> HasIngredientName(const QString &sIngredientName);
    std::optional<bool> IsIngredientCommonID(qint16 iIngredientID);
    std::unique_ptr<engine::Recordset> GetCommonIngredients();
    void LoadCommonIngredients(QListWidget *lstListBox);
    bool BarlistExport();
    bool BarlistImport();

    // ---- Drink writes (edit/drink_writes.cpp onto DrinkEditing and DrinkStore) ----
    // Adds a drink (bAdd) or edits the drink shown, through the drink editor; one transaction.
    void DrinkEdit(bool bAdd);
    // Deletes the drink and its lines, all or nothing; false when nothing was deleted.
    bool DrinkDelete(const QString &sDrinkName);
    // DrinkDelete, telling why a failed action statement failed.
    bool deleteDrink(const QString &name, std::optional<EngineError> *cause);

    // ---- Ingredient writes (edit/ingredient_writes.cpp onto IngredientWrites) ----
    void IngredientAdd(const QString &sIngredient, bool bCommon, bool bHas = false);
    void IngredientEdit(const QString &sOldName, const QString &sNewName, bool bCommon, bool bHas);
    void IngredientDelete(const QString &sIngredient);
    // Combines every item of the list into its selected item.
    void IngredientCombine(QListWidget *lstList);
    bool DoesIngredientExist(const QString &sIngredientName);
    // True when a drink uses the ingredient, and also when the check itself failed.
    bool IsIngredientBeingUsed(const QString &sIngredientName);

    // ---- Marks (output/marks.cpp onto DrinkMarks) ----
    // Writes the Tried (Print) mark of the selected drink of the list, or of every drink in it.
    void DrinkTried(bool bValue, OutputWindow &lvList, bool bMulti);
    void DrinkPrint(bool bValue, OutputWindow &lvList, bool bMulti);
    void UnMarkAllPrint();
    // Deletes every drink of the list, each all or nothing; the list itself is left as it is.
    void DrinkDeleteMulti(OutputWindow &lvList);

    // ---- Printing (output/printing.cpp onto DrinkPrinting) ----
    // Prints every drink marked to print as one job.
    void PrintDrinks();
    // Prints one drink at the target's current position.
    void PrintOneDrink(int iDrinkID, PrintTarget &target);

    // ---- Clipboard (output/clipboard.cpp onto DrinkClipboard) ----
    // Puts the shown drink on the clipboard as text, replacing its text or added to it.
    void CopyToClipboard();

    // ---- Ingredient pickers (search/ingredient_pickers.cpp) ----
    std::unique_ptr<engine::Recordset> GetIngredientList();
    // Fills a list box or a drop-down list with every ingredient name.
    void LoadIngredientList(QListWidget *lstListBox, bool bTrim);
    void LoadIngredientList(QComboBox *lstListBox, bool bTrim);
    // One item per ingredient; "•" in sub-item iCommonSub / iHaveSub marks the flag (-1: no column).
    void LoadIngredientListListview(QTreeWidget *lv, int iCommonSub = -1, int iHaveSub = -1);

    // ---- Undo (store/undo_history.cpp): the user's writes of this run ----
    UndoHistory &undoHistory() { return m_undo; }

    // ---- For the subsystems and tests ----
    engine::Database &database();
    engine::Recordset &drinksTable();
    engine::Recordset &ingredientsTable();
    engine::Recordset &drinkRelTable();
    const std::array<SavedSearch, 3> &savedSearches() const { return m_savedSearches; }

private:
    // Before the first write of a day, a copy of the library in its backups folder; a failure is
    // told once per run and stops nothing.
    void takeDailyBackup() const;
    // A journal beside the file that cannot be its own is renamed before the engine would play it
    // back into the file, and the user is told.
    void setAsideStrayJournal();
    std::unique_ptr<engine::Recordset> SearchByName(const QString &sString);
    std::unique_ptr<engine::Recordset> SearchByText(const QString &sString, bool bComments);
    void AddSavedSearch(qint16 iType, const QString &sString, const QString &sLabel);
    void ShowSavedSearches();
    // Makes `names` the current set (browse/drink_list.cpp): the list, the status text that
    // `statusAfterFill` gives, the count, the selected drink (`select`, or the top one when empty)
    // and that drink's detail. `missing`, when given, is shown beside the names (see fillDrinkList).
    void ReplaceCurrentSet(const QStringList &names, DrinkListOrder order, const QString &select = QString(),
                           const std::function<QString()> &statusAfterFill = {}, const QList<int> &missing = {});

    std::unique_ptr<engine::Database> m_db;
    OutputWindow *m_output = nullptr;
    std::array<SavedSearch, 3> m_savedSearches;
    std::unique_ptr<engine::Recordset> m_currentDrink;
    std::unique_ptr<engine::Recordset> m_ingredients;
    std::unique_ptr<engine::Recordset> m_drinkRel;
    std::unique_ptr<engine::Recordset> m_drinks;
    QString m_fileName;
    bool m_currentDrinkPrint = false;
    QString m_currentDrinkName; // the drink shown
    QString m_lastIngredientSql;
    // Held while a file is open, so a second copy of the program cannot edit it behind our back.
    std::unique_ptr<FileLock> m_fileLock;
    QString m_readOnlyReason;
    bool m_barListMissing = false; // an older file that could not be upgraded
    // The marks last shown beside the list, and the file's change stamp when they were read: every
    // search fills the list again, and reading the marks means reading the whole drinks table.
    std::pair<qint64, qint64> m_listMarksStamp{-1, -1};
    QHash<QString, quint8> m_listMarks;
    UndoHistory m_undo{*this};
    // The day the daily backup was last seen to, and whether a failed one was told this run.
    mutable QDate m_backupDay;
    mutable bool m_backupFailureTold = false;
};
