#pragma once
// File, Import Drinks...: merges a drink library file (the builder's JSON format) into the open library.

class CDatabase;

// Asks for the file, reads and checks it, asks about taken names and imports it in one transaction.
void importDrinks(CDatabase &db);
