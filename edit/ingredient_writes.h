#pragma once
// Adding, renaming, deleting and combining ingredients of the open library, and the two questions
// the ingredient dialogs ask first: is a name taken, and does a drink still use an ingredient.
// CDatabase's ingredient members hand their work to it.

#include "core/engine_error.h"

#include <QStringList>
#include <optional>

class CDatabase;

class IngredientWrites {
public:
    explicit IngredientWrites(CDatabase &db) : m_db(db) {}

    // Why a name cannot be an ingredient's (empty, or holding a double quote or a comma), or
    // nothing when it can.
    static std::optional<QString> nameProblem(const QString &name);
    // Refuse a taken, empty or unusable name, and an overflowing key, with an EngineError. add
    // gives the new ingredient's identifier; `has` puts it on the bar list.
    int add(const QString &name, bool common, bool has = false);
    void rename(const QString &oldName, const QString &newName, bool common, bool has);
    // Deletes the unused ingredient; tells the user why when it cannot.
    void remove(const QString &name);
    // Moves every line of each item to `destination` and deletes the item, all or nothing; tells
    // the user why when it cannot.
    void combine(const QStringList &items, const QString &destination);
    bool exists(const QString &name);
    // How many drinks have a line naming the ingredient: the drinks a rename shows under the new name.
    int drinksUsing(const QString &name);
    // True when a drink uses the ingredient, and also when the check itself failed.
    bool isUsed(const QString &name);
    // Whether a drink uses the ingredient, or why that could not be told.
    enum class Usage { Unused, Used, CheckFailed };
    struct UsageCheck {
        Usage usage = Usage::CheckFailed;
        std::optional<EngineError> error;
    };
    UsageCheck usage(const QString &name);

private:
    CDatabase &m_db;
};
