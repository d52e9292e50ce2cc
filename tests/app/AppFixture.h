#pragma once
// The whole program in a test: the main window on recording MIDI and volume back ends,
// its learner and score files in a folder of the test's own, and helpers that act as a
// user would.

#include "doubles/MessageRecorder.h"
#include "doubles/ModalCatcher.h"
#include "doubles/RecordingMidiOutput.h"
#include "doubles/RecordingMixerDevice.h"

#include "app/FrmStartup.h"
#include "app/TipSettings.h"
#include "listen/RecordedInput.h"
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

class AppFixture : public ::testing::Test {
protected:
    AppFixture()
    {
        ClearSettings();
        StoreShowTipsAtStartup(false); // the tip window would wait for an answer
        DrillLesson::Random().seed(17);
    }
    ~AppFixture() override { window.reset(); }

    static void ClearSettings()
    {
        const auto store = SettingsStore::Open();
        store->clear();
        store->sync();
    }
    // Stores a raw text under a settings key, as a hand edit or another version might.
    static void StoreSetting(const QString& key, const QString& text)
    {
        const auto store = SettingsStore::Open();
        store->setValue(QStringLiteral("General/") + key, text);
        store->sync();
    }

    FrmStartup::Options Options()
    {
        FrmStartup::Options options;
        options.dataFolder = dir.path();
        options.sound = [this](Settings& settings) {
            auto output = std::make_unique<RecordingMidiOutput>(&midi, ports);
            port = output.get();
            port->openError = openError;
            return std::make_unique<SoundSystem>(settings, std::move(output),
                                                 std::make_unique<RecordingMixerDevice>(&mixer));
        };
        // Never the computer's own audio inputs.
        options.input = [this] {
            auto recorded = std::make_unique<listening::RecordedInput>(inputDevices);
            input = recorded.get();
            return recorded;
        };
        return options;
    }
    FrmStartup::LoadResult Launch()
    {
        window = std::make_unique<FrmStartup>(Options());
        window->resize(800, 620);
        window->show();
        return window->Load();
    }
    FrmStartup& Start()
    {
        EXPECT_EQ(Launch(), FrmStartup::LoadResult::Ready) << recorder.allMessages().toStdString();
        return *window;
    }
    // What the user does to leave, and a new run on the same files.
    FrmStartup& Restart()
    {
        window->close();
        window.reset();
        return Start();
    }

    QString LearnersPath() const { return dir.filePath(QStringLiteral("Learners.dat")); }
    QString ScoresPath() const { return dir.filePath(QStringLiteral("Score.dat")); }
    static void WriteBytes(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    static QByteArray ReadBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // Files a learner and makes it the current one for the next start.
    void AddLearner(const QString& name, qint16 key = 1)
    {
        WriteBytes(LearnersPath(), ReadBytes(LearnersPath()).replace("<missing>", "")
                                       + QStringLiteral("<RECORD key = '%1' name = '%2'></RECORD>\r\n")
                                             .arg(key)
                                             .arg(name)
                                             .toUtf8());
        StoreSetting(QStringLiteral("CurrLearnerKey"), QString::number(key));
    }

    FretboardControl& Board() { return *window->objTrainer->objFretboard; }
    SheetControl& Staff() { return *window->objTrainer->objSheet; }
    void Press(FretPosition cell, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(&Board(), button, {}, Board().CellCentre(cell).toPoint());
    }
    // The first cell whose note is (or, with right false, is not) note.
    std::optional<FretPosition> CellOf(const QString& note, bool right)
    {
        for (int s = 1; s <= Board().StringCount(); ++s)
            for (int f = 1; f <= kFretPositions; ++f)
                if ((Board().NoteNameAt({s, f}) == note) == right)
                    return FretPosition{s, f};
        return std::nullopt;
    }
    std::optional<FretPosition> CellFor(bool right)
    {
        return CellOf(window->CurrentLesson()->GetActiveNoteName(), right);
    }
    void AnswerPrompt(bool right)
    {
        const auto cell = CellFor(right);
        ASSERT_TRUE(cell.has_value()) << "no cell to press";
        Press(*cell);
    }
    void PressLevel(int level, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(&Staff(), button, {}, Staff().Geometry().LevelRect(level).Center().toPoint());
    }
    // Chooses a menu entry that opens a modal dialog and hands the dialog to act.
    template <typename Dialog>
    int WithDialog(QAction* entry, const std::function<void(Dialog&)>& act)
    {
        int seen = 0;
        ModalCatcher catcher([&](QWidget* modal) {
            auto* dialog = qobject_cast<Dialog*>(modal);
            ASSERT_NE(dialog, nullptr) << modal->metaObject()->className();
            ++seen;
            act(*dialog);
        });
        entry->trigger();
        return seen;
    }
    // The practice answers filed for learner (all with nullopt), once written.
    std::vector<PracticeAnswer> PracticeAnswers(std::optional<int> learner)
    {
        PracticeStore& store = window->Practice().Store();
        EXPECT_TRUE(store.WaitUntilWritten(5000));
        std::vector<PracticeAnswer> answers;
        QString message;
        EXPECT_TRUE(store.Answers(learner, answers, message)) << message.toStdString();
        return answers;
    }

    QTemporaryDir dir;
    RecordingMidiOutput::Log midi;
    RecordingMixerDevice::Log mixer;
    QStringList ports;
    int openError = 0;
    RecordingMidiOutput* port = nullptr;
    QList<listening::InputDevice> inputDevices{{QStringLiteral("Recorded input"), 1, {44100, 48000, 96000}, true}};
    listening::RecordedInput* input = nullptr; // the window's, once made
    MessageRecorder recorder;
    std::unique_ptr<FrmStartup> window;
};

// A learner file and a score file in a folder of the test's own, for the dialogs that
// work on them without the main window.
class RecordsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = Settings::Defaults();
        ASSERT_TRUE(scores.GetDataFromFile(message));
    }

    QString LearnersPath() const { return dir.filePath(QStringLiteral("Learners.dat")); }
    QString ScoresPath() const { return dir.filePath(QStringLiteral("Score.dat")); }

    // Adds a result to the score store in memory and on disk.
    void AddScore(qint16 learner, qint16 lesson, float value)
    {
        qint16 key = 0;
        ASSERT_TRUE(scores.AddScore(learner, lesson, value, key, message));
    }
    // The learner keys of the results a fresh load of the score file sees.
    std::vector<int> ScoreOwnersOnDisk() const
    {
        DbaseItems reread(ScoresPath());
        QString problem;
        EXPECT_TRUE(reread.GetDataFromFile(problem)) << problem.toStdString();
        std::vector<int> owners;
        for (const DbaseItem& item : reread)
            owners.push_back(item.intLearnerKey);
        return owners;
    }

    QTemporaryDir dir;
    Settings settings;
    LearnerItems learners{LearnersPath()};
    DbaseItems scores{ScoresPath()};
    QString message;
    MessageRecorder recorder;
};
