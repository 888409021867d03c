#pragma once
// The user's options, one property per option, kept in the per-user settings store under
// ("Zestro", "Options"). Nothing is cached: every get reads the store, every set writes it at once,
// so a change made by one window is seen by all the others.

#include <QVariant>

class CZestro30 {
public:
    // Options. Whole numbers are 16-bit; non-zero means on.
    int ShowTips() const;
    void setShowTips(int iValue);

    int RandomDrink() const;
    void setRandomDrink(int iValue);

    bool ShowSearching() const;
    void setShowSearching(bool bValue);

    // The stored text unchanged, or the number 1 when there is none.
    QVariant BarListSlack() const;
    void setBarListSlack(const QVariant &vValue);
};
