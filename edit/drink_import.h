#pragma once
// File, Import Drinks...: merges a drink library file (the builder's JSON format) into the open library.

#include <functional>

class CDatabase;
class QProgressDialog;

// Asks for the file, reads and checks it, asks about taken names and imports it in one transaction.
void importDrinks(CDatabase &db);

// Test seam: while set, called with the import's progress dialog each time it moves on, so a test
// can press its Cancel button part-way.
void setImportProgressHook(std::function<void(QProgressDialog &)> hook);
