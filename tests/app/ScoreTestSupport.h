#pragma once
// What a fresh load of a score file sees, for tests that check what reached the disk.

#include "records/DbaseItems.h"

#include <gtest/gtest.h>

#include <vector>

// The learner keys of the results stored in the score file at path.
inline std::vector<int> ScoreOwnersOnDisk(const QString& path)
{
    DbaseItems scores(path);
    QString problem;
    EXPECT_TRUE(scores.GetDataFromFile(problem)) << problem.toStdString();
    std::vector<int> owners;
    for (const DbaseItem& item : scores)
        owners.push_back(item.intLearnerKey);
    return owners;
}
