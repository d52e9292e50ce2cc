#pragma once
// Gives the program's learner and score stores a folder of their own for as long as it
// lives, then points them back at the per-user data folder. The whole test binary may
// run in one process with one data folder, so a store left there by one test (a file
// damaged on purpose, learners added) must never be what the next test starts from.

#include "records/DbaseItems.h"
#include "records/LearnerItems.h"

#include <QString>
#include <QTemporaryDir>

class TemporaryStores {
public:
    TemporaryStores()
    {
        GetLearnerItems() = LearnerItems(dir_.filePath(QStringLiteral("Learners.dat")));
        GetDbaseItems() = DbaseItems(dir_.filePath(QStringLiteral("Score.dat")));
    }
    ~TemporaryStores()
    {
        GetLearnerItems() = LearnerItems();
        GetDbaseItems() = DbaseItems();
    }
    TemporaryStores(const TemporaryStores&) = delete;
    TemporaryStores& operator=(const TemporaryStores&) = delete;

    bool IsValid() const { return dir_.isValid(); }
    // A file or folder in the stores' folder, e.g. "Score.dat".
    QString FilePath(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};
