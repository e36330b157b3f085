#pragma once
#include <string>

#include "database/OdbcInstaller.h"

// The program's profile file and what the workspace code reads from it.
inline constexpr const char* kProfileFile = "Tvane.ini";
// The database file in the data directory.
inline constexpr const char* kWorkspaceFile = "tvane.mdb";

// The data directory: profile [Path] "Data", by default the program's data folder;
// read afresh at every call, without a trailing separator.
std::string WorkspaceDataDirectory();

// Points unixODBC at the program's own data source file for this process:
// "odbc.ini" in its configuration folder, so that the user's ~/.odbc.ini is left
// alone and two homes on one account keep a data source each. An ODBCINI set by
// whoever started the program is kept. Call before any ODBC work: unixODBC reads
// the variable once.
void UseProgramDataSourceFile();

// Writes the user data source "Tvane32" into the user's odbc.ini, in three
// stages: its entry under [ODBC Data Sources]; its section (DBQ and DefaultDir
// naming the database file and the data directory, the SQLite 3 driver, the
// file it opens, a description); the engine settings (busy timeout, synchronous
// commits, never creating an empty file). The first write that fails ends the
// registration, leaving the later values unwritten; true when all were written.
bool RegisterDataSource(tvane::IOdbcInstaller& installer = tvane::OdbcInstaller());
