#pragma once
// The name rule and the forgiving search inside SQL, for the program's own connections only: the
// file never names them, so the sqlcipher shell reads every table and runs every stored query
// (there with its plain ASCII rules).
//  - collation NAMEKEY: orders and equates names as compareNames does;
//  - like(): LIKE with its usual wildcards and ESCAPE, blind to case and accents as searchKey is.

struct sqlite3;

namespace engine {

inline constexpr const char *kNameCollation = "NAMEKEY";

void registerNameRules(sqlite3 *db);

} // namespace engine
