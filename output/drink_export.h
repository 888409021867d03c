#pragma once
// File, Export Drinks...: writes the current set or the whole library as a drink library file
// (the builder's JSON format).

class CDatabase;

// Asks what to export and where, then writes the file through a temporary file.
void exportDrinks(CDatabase &db);
