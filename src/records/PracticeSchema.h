#pragma once
// The layout of "Practice.sqlite" and the steps that bring an older file up to it.
//
// The version lives in PRAGMA user_version: 0 is an empty file. Each step runs in its
// own transaction together with the version it reaches, so a file is always at one
// version or the next, never in between. A file whose version is above
// kPracticeSchemaVersion comes from a newer program and is never migrated down.
//
// Version 1, table "answers", one row per answer:
//   id             INTEGER PRIMARY KEY
//   answered_at    INTEGER  UTC milliseconds since 1970
//   learner_key    INTEGER  -1 when no learner was selected
//   activity       TEXT     "drill", "test" or "practice"
//   lesson_key     INTEGER
//   instrument     INTEGER  0 guitar, 1 four-string bass, 2 five-string bass
//   tuning         TEXT     "standard"
//   music_key      INTEGER  1..12
//   scale          INTEGER  1 major, 2 minor
//   pattern        INTEGER  0 none, 1..5, 6 all
//   prompt_note    TEXT     e.g. "F#-1", in the spelling shown at the time
//   answer_string  INTEGER  1 = lowest string
//   answer_fret    INTEGER  1 = open string .. 14
//   answer_note    TEXT
//   correct        INTEGER  0 or 1
//   response_ms    INTEGER  from the prompt being shown to the answer
//   assisted       INTEGER  0 or 1: staff assistance before the answer
//   input_method   TEXT     "mouse", "keyboard" or "microphone"
//   index answers_by_learner (learner_key, instrument, tuning, answered_at)
//
// Version 2 adds what the weak-note choice and the progress figures need:
//   prompt_string  INTEGER  the position the prompt was drawn from; NULL when unknown
//   prompt_fret    INTEGER
//   tally          INTEGER  what the figures read, packed (PackTally in PracticeSql.h)
// Rows from version 1 learn the prompted position where it is certain: a right answer
// was given at the prompted note, so its answered position stands in; their wrong
// answers stay unknown. The index is replaced by one that ends in the tally, so the
// figures are read from the index alone.

#include <QSqlError>

class QSqlDatabase;

inline constexpr int kPracticeSchemaVersion = 2;

// The version the file says it has; -1 with the database's error when it cannot be read.
int PracticeSchemaVersionOf(const QSqlDatabase& db, QSqlError& error);

// Brings the file from its version up to targetVersion (at most kPracticeSchemaVersion),
// one step at a time. False with the database's error when a step fails; the file then
// stays at the last version reached.
bool MigratePracticeSchema(QSqlDatabase db, int targetVersion, QSqlError& error);
