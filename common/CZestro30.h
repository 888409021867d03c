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

    // Start-up and the drink list (app/startup_options.cpp)
    // Lists all drinks, maybe shows a random one, shows the main window and maybe the tip of the day.
    void StartupOptions();
    // Select the item after / before the selected one in the main window's drink list.
    void NextDrink();
    void PreviousDrink();
};
