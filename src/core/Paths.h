#pragma once
// Where the program finds its read-only data (Images, TIPOFDAY.TXT, help,
// WebRedirect.htm) and where it keeps the files it writes (learners and scores).

#include <QString>

// The data folder: "data" beside the executable in a build tree, else
// ../share/fretlore relative to an installed executable, else the install prefix's and
// finally the source tree's. No trailing separator.
QString ProgramDataDir();

// Makes ProgramDataDir() return dir instead of searching; an empty dir restores the
// search. Lets tests run the program against a copy of its data with files missing.
void SetProgramDataDir(const QString& dir);

// A file or folder inside ProgramDataDir(), e.g. "Images/Sheet.jpg".
QString ProgramDataPath(const QString& relativePath);

// The per-user data folder (~/.local/share/Fretlore), created when missing. Empty when
// it cannot be created.
QString UserDataDir();
