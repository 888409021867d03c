#pragma once
// The one error type of the data layer and of the program's runtime failures: a classic error
// number with its description. The program's handlers show both; callers test the number.

#include <QString>
#include <exception>
#include <string>

namespace err {
// Runtime errors.
constexpr int Overflow = 6;
constexpr int SubscriptOutOfRange = 9;
constexpr int TypeMismatch = 13;
constexpr int PathFileAccess = 75;
constexpr int ResourceNotFound = 326;
constexpr int DialogCancelled = 32755;
// Engine errors.
constexpr int Reserved = 3000;
constexpr int InvalidOperation = 3219;
constexpr int UpdateWithoutAddNewOrEdit = 3020;
constexpr int NoCurrentRecord = 3021;
constexpr int DuplicateValue = 3022;
constexpr int FileNotFound = 3024;
constexpr int DiskFull = 3026;
constexpr int ReadOnly = 3027;
constexpr int NotValidPassword = 3031;
constexpr int FileInUse = 3045;
constexpr int DatabaseDamaged = 3049;
constexpr int CannotOpenFile = 3051;
constexpr int SyntaxInQuery = 3075;
constexpr int SyntaxInCriteria = 3077;
constexpr int InputTableNotFound = 3078;
constexpr int UnknownField = 3070;
constexpr int FieldTooSmall = 3163;
constexpr int RecordDeleted = 3167;
constexpr int DatabaseExists = 3204;
constexpr int FieldDefinedTwice = 3191;
constexpr int CannotExecuteSelect = 3065;
constexpr int ItemNotFound = 3265;
constexpr int NullNotAllowed = 3314;
constexpr int UnrecognizedFormat = 3343;
constexpr int ObjectClosed = 3420;
constexpr int TooFewParameters = 3061;
// A stored query (or a trigger) in the file would do more than read the library's own tables.
constexpr int QueryRefused = 3033;
// A record set passed its row or time bound.
constexpr int ResourceExceeded = 3035;
} // namespace err

// Failures of the file or the disk rather than of one statement's data: every later write would
// fail the same way, and the engine may have ended the transaction.
inline bool isStorageFailure(int number)
{
    using namespace err;
    for (int storage : {DiskFull, ReadOnly, CannotOpenFile, FileInUse, DatabaseDamaged, ObjectClosed})
        if (number == storage)
            return true;
    return false;
}

class EngineError : public std::exception {
public:
    EngineError(int number, QString description)
        : m_number(number), m_description(std::move(description)), m_what(m_description.toStdString())
    {
    }
    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_what.c_str(); }

private:
    int m_number;
    QString m_description;
    std::string m_what;
};
