#pragma once
// Tools, Bar List, What to Buy Next...: ranks the ingredients not on the bar list by the drinks
// that buying each one would make makeable.

class CDatabase;

// Shows the dialog (modal) over the main window.
void showBuyNext(CDatabase &db);
