#pragma once
// The whole program under faults: the main window started with recording sound back
// ends and its learner and score files in a temporary folder, so each test can damage
// what the program reads or block what it writes and then check what the user is told
// and what is left on disk.

#include "FileSizeLimit.h"
#include "TestSupport.h"

#include "app/FrmStartup.h"
#include "lessons/LessonGeneral.h"
#include "records/DbaseItems.h"
#include "records/LearnerItems.h"
#include "sound/MidiOut.h"
#include "sound/Mixer.h"
#include "sound/RecordingMidiOutput.h"
#include "sound/RecordingMixerDevice.h"
#include "views/FretboardControl.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        LoadDefaultSettings();
        ResetSelection();
        auto output = std::make_unique<RecordingMidiOutput>(&midi);
        port = output.get();
        SetMidiOutput(std::move(output));
        SetMixerDevice(std::make_unique<RecordingMixerDevice>(&mixer));
        UseStoresIn(dir.path());
        SeedDrillRandom(5);
    }
    void TearDown() override
    {
        window.reset();
        SetMidiOutput(nullptr);
        SetMixerDevice(nullptr);
        GetLearnerItems() = LearnerItems();
        GetDbaseItems() = DbaseItems();
    }

    void UseStoresIn(const QString& folder)
    {
        GetLearnerItems() = LearnerItems(folder + QStringLiteral("/Learners.dat"));
        GetDbaseItems() = DbaseItems(folder + QStringLiteral("/Score.dat"));
    }
    QString LearnersPath() const { return GetLearnerItems().FilePath(); }
    QString ScoresPath() const { return GetDbaseItems().FilePath(); }

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

    // Stores a raw text under a settings key, as a hand edit or another version might.
    static void StoreSetting(const QString& key, const QString& text)
    {
        const auto store = OpenSettingsStore();
        store->setValue(QStringLiteral("General/") + key, text);
        store->sync();
    }
    static QByteArray SettingsFileBytes() { return ReadBytes(OpenSettingsStore()->fileName()); }

    FrmStartup::LoadResult Start()
    {
        window = std::make_unique<FrmStartup>();
        window->resize(800, 620);
        window->show();
        return window->Load();
    }

    // What the user does to leave: the window's close, then its destruction.
    void Exit()
    {
        if (window)
            window->close();
        window.reset();
    }

    FretboardControl& Board() { return *window->objFretlore->objFretboard; }

    // Clicks the middle of a fretboard cell (string s, position f).
    void ClickCell(int s, int f, Qt::MouseButton button = Qt::LeftButton)
    {
        const Rect& r = Board().String(s).Item(f).Bounds();
        QTest::mouseClick(&Board(), button, {}, QPoint(qRound(r.floatCenterX), qRound(r.floatCenterY)));
    }

    // Clicks the first cell that holds the prompted note: a right answer, which sounds.
    bool AnswerRight()
    {
        const QString prompt = window->CurrentLesson()->GetActiveNoteName();
        FretboardControl& board = Board();
        for (int s = 1; s <= board.StringCount(); ++s)
            for (int f = 1; f <= 14; ++f)
                if (board.String(s).Item(f).GetNoteName() == prompt) {
                    ClickCell(s, f);
                    return true;
                }
        return false;
    }

    // Every message sent must be a well-formed channel message: a status byte from
    // 0x80 to 0xEF and data bytes below 0x80, or a port would read it as something else.
    ::testing::AssertionResult AllMessagesWellFormed() const
    {
        for (const quint32 message : midi.messages) {
            const quint32 status = message & 0xFF;
            const quint32 data1 = (message >> 8) & 0xFF;
            const quint32 data2 = (message >> 16) & 0xFF;
            if (status < 0x80 || status > 0xEF || data1 > 0x7F || data2 > 0x7F || (message >> 24) != 0)
                return ::testing::AssertionFailure() << "malformed MIDI message 0x" << std::hex << message;
        }
        return ::testing::AssertionSuccess();
    }

    QString AllMessages() const
    {
        QStringList texts;
        for (const auto& shown : recorder.shown)
            texts << shown.text;
        return texts.join(QStringLiteral(" | "));
    }

    QTemporaryDir dir;
    RecordingMidiOutput::Log midi;
    RecordingMidiOutput* port = nullptr;
    RecordingMixerDevice::Log mixer;
    MessageRecorder recorder;
    std::unique_ptr<FrmStartup> window;
};
