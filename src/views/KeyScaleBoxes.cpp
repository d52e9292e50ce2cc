#include "views/KeyScaleBoxes.h"

#include "music/Scales.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QSignalBlocker>

namespace {

void Fill(QComboBox* box, int count, QString (*name)(int), int current)
{
    const QSignalBlocker blocker(box);
    box->clear();
    for (int id = 1; id <= count; ++id)
        box->addItem(QCoreApplication::translate(KeyScaleNamesContext, name(id).toUtf8().constData()), id);
    box->setCurrentIndex(box->findData(current));
}

} // namespace

void FillKeyBox(QComboBox* box, int current)
{
    Fill(box, kKeyCount, &KeyName, current);
}

void FillScaleBox(QComboBox* box, int current)
{
    Fill(box, kScaleCount, &ScaleName, current);
}
