#pragma once
// The staff: its picture, the prompted note as a head with its sign and ledger lines,
// a grey echo of the previous note that fades after a moment, and the prompt text.
// Clicks (and, in free play, hovering) go to the current activity.

#include "lessons/ViewInterfaces.h"
#include "views/SheetModel.h"
#include "views/ViewHost.h"

#include <QLineF>
#include <QPixmap>
#include <QRectF>
#include <QTimer>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QMovie;
class FretboardInterface;

class SheetControl : public QWidget, public SheetInterface {
    Q_OBJECT
public:
    explicit SheetControl(QWidget* parent = nullptr);
    ~SheetControl() override;

    Rect rectSheetBounds;
    Rect rectWorkareaBounds;
    qint16 intScale = 1;
    QString strKey = QStringLiteral("C");
    float fltDistBetweenLines = 0;
    qint16 intNoteWidthInPixels = 0;
    qint16 intNoteHeightInPixels = 0;
    qint16 intFlatSymbolTopOffsetInPixels = 0;

    void SetHost(ViewHost* host) { host_ = host; }

    void SetLocation();
    void Initialise(const Rect& workareaBounds, FretboardInterface* fretboard, int prevNoteEchoDuration);
    void LowlevelDraw(sheetNoteLevel& level, bool boolIsEchoNote);
    void DrawAllExtraLines(int intSheetNoteNum) override;
    void SetScale(qint16& intScale, QString& strKey);
    void DrawSheetNote(int intNoteNum, const QString& name, bool boolEcho = false) override;
    void DrawSheetNote(int intNoteNum, const QString& name, bool drawAllLines, bool boolEcho) override;
    int GetCenterX(int intSheetNoteNum) const override;
    bool IsWithinBounds(int X, int Y, SheetNoteLevelInterface*& objSheetNoteLevel) override;
    bool IsWithinBounds(int X, int Y, sheetNoteLevel*& objSheetNoteLevel);
    void DrawAll();
    void RefreshDisplay() override;
    void ClearSheet();
    void SetPrompt(const QString& strMsg, bool boolShowPic) override;

    SheetNote& Note(int intNoteNum = 1) { return *objSheetNotes.at(static_cast<size_t>(intNoteNum - 1)); }
    // What the staff shows, for tests and accessibility.
    QString ShownNoteName() const;
    bool IsEchoShown() const { return echo_.has_value(); }
    // The sign beside the shown note: 0 none, 1 sharp, 2 flat.
    int ShownAccidental() const;
    QString PromptText() const;
    bool IsPromptPictureShown() const;
    QString PictureError() const { return pictureError_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Sign { None, Sharp, Flat };
    struct HeadMark {
        QRectF head;
        Sign sign = Sign::None;
        QPointF signTopLeft;
        std::vector<QLineF> ledgerLines;
        QString name;
    };

    HeadMark MarkFor(const sheetNoteLevel& level, bool withSign) const;
    std::vector<QLineF> LedgerLinesFor(int level, float centreX) const;
    bool NeedsLedgerLines(int level) const;
    void EndEcho();
    void UpdateAccessibleDescription();
    LessonInterface* Receiver() const;
    void Send(qint32 intEvent);

    std::vector<std::unique_ptr<SheetNote>> objSheetNotes;
    QPixmap picture_;
    QPixmap sharp_;
    QPixmap flat_;
    QString pictureError_;
    ViewHost* host_ = nullptr;
    FretboardInterface* fretboard_ = nullptr;
    bool drawAllLines_ = false;
    std::vector<HeadMark> heads_;
    std::vector<QLineF> rangeLines_;
    std::optional<HeadMark> echo_;
    QTimer EchoTimer;
    QLabel* txtPrompt = nullptr;
    QLabel* picPrompt = nullptr;
    QMovie* promptMovie_ = nullptr;
};
