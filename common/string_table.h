#pragma once
// The numbered captions of the user interface, in English with a few translations. The user's
// language is taken from the system locale; an entry without a translation gives its English text.

#include <QLocale>
#include <QString>

// The caption numbered id. Throws EngineError(err::ResourceNotFound) for a number not in the table.
QString LoadResString(int id);

// Test hook: look captions up in this language instead of the system's. QLocale::AnyLanguage
// goes back to the system's language.
void setStringTableLanguage(QLocale::Language language);
