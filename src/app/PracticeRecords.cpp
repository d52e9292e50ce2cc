#include "app/PracticeRecords.h"

#include "core/Messages.h"
#include "records/LearnerItems.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Long enough for the writer to take what was just queued; short enough not to be noticed.
constexpr int kCatchUpMs = 2000;

} // namespace

PracticeRecords::FileChooser PracticeRecords::DesktopFileChooser()
{
    return [](QWidget* parent, const QString& title, const QString& directory, const QString& fileName) {
        QFileDialog dialog(parent, title, directory);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters({tr("CSV files (*.csv)"), tr("All files (*)")});
        dialog.setDefaultSuffix(QStringLiteral("csv"));
        dialog.selectFile(fileName);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().constFirst();
    };
}

PracticeRecords::PracticeRecords(const QString& filePath, QObject* parent)
    : QObject(parent)
    , cdlgExport(DesktopFileChooser())
    , store_(filePath)
{
    connect(&store_, &PracticeStore::Problem, this, [this](const QString& message) {
        holding_ = store_.GetMode() == PracticeStore::Mode::Recording;
        ShowOnce(message);
    });
    connect(&store_, &PracticeStore::Resumed, this, [this] { holding_ = false; });
}

void PracticeRecords::ShowOnce(const QString& message)
{
    if (shown_.contains(message))
        return;
    shown_.insert(message);
    ShowMessage(message, MsgPlain);
}

void PracticeRecords::Open()
{
    QString message;
    if (!store_.Open(message))
        ShowOnce(message);
}

void PracticeRecords::Record(const PracticeAnswer& answer)
{
    store_.Record(answer);
}

std::vector<PositionAnswer> PracticeRecords::RecentAnswers(int learnerKey, int instrument, const QString& tuning,
                                                           int limit)
{
    std::vector<PositionAnswer> answers;
    QString ignored; // without the file, the answers held in memory are all there is
    store_.RecentAnswers(learnerKey, instrument, tuning, limit, answers, ignored);
    return answers;
}

void PracticeRecords::CatchUp()
{
    if (store_.GetMode() == PracticeStore::Mode::Recording && !holding_ && store_.HeldCount() > 0)
        store_.WaitUntilWritten(kCatchUpMs);
}

void PracticeRecords::Export(QWidget* parent, const LearnerItems& learners, int currentLearnerKey)
{
    if (store_.GetMode() == PracticeStore::Mode::Off || store_.GetMode() == PracticeStore::Mode::Closed) {
        ShowMessage(tr("The practice file '%1' cannot be read, so there is nothing to export.")
                        .arg(QDir::toNativeSeparators(store_.FilePath())),
                    MsgPlain);
        return;
    }
    QHash<int, QString> names;
    for (const LearnerItem& learner : learners)
        names.insert(learner.intKey, learner.strName);
    std::optional<int> whose;
    QString fileName = QStringLiteral("Practice.csv");
    if (names.contains(currentLearnerKey)) {
        const QString name = names.value(currentLearnerKey);
        const int answer = ShowMessage(tr("Export only the answers of the learner '%1'? No exports everyone's "
                                          "answers.")
                                           .arg(name),
                                       MsgYesNoCancel);
        if (answer == MsgCancel)
            return;
        if (answer == MsgYes) {
            whose = currentLearnerKey;
            fileName = tr("Practice of %1.csv").arg(name);
        }
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = cdlgExport(parent, tr("Export practice"), folder, fileName);
    if (path.isEmpty())
        return;
    // A long history takes a moment (about 0.7 s for 100 000 answers).
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CatchUp();
    QString message;
    const bool written = store_.ExportCsv(path, whose, names, message);
    QApplication::restoreOverrideCursor();
    if (!written) {
        ShowMessage(message, MsgPlain);
        return;
    }
    SetStatusText(tr("The answers were exported to '%1'.").arg(QDir::toNativeSeparators(path)));
}

void PracticeRecords::DeleteLearner(int learnerKey)
{
    QString message;
    // Without a file there is nothing to delete.
    if (!store_.DeleteAnswersOfLearner(learnerKey, message) && QFileInfo::exists(store_.FilePath()))
        ShowMessage(message, MsgPlain);
}
