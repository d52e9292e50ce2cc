#pragma once
// The staff: its picture, the shown note as a head with its sign and ledger lines, a
// grey echo of the previous note that goes after a moment, and the prompt text with an
// optional animated picture. A press is resolved into a level here and handed on.

#include "lessons/ActivityViews.h"
#include "music/Notes.h"
#include "views/StaffGeometry.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class QMovie;

class SheetControl : public QWidget, public StaffDisplay {
    Q_OBJECT
public:
    explicit SheetControl(QWidget* parent = nullptr);

    // The staff of a note table's instrument, its five lines at workArea: loads the
    // picture and takes its size; nothing shown.
    void Initialise(const Notes& notes, QRectF workArea);
    // The key and scale whose notes the levels hold.
    void SetScale(int key, int scale);
    // The text the prompt returns to at every refresh ("" for none).
    void SetIdlePrompt(const QString& text) { idlePrompt_ = text; }
    // Presses count by their height alone (the level in the staff's middle column).
    void SetLevelsByHeight(bool byHeight) { byHeight_ = byHeight; }

    // StaffDisplay
    void ShowNote(const QString& name, bool wholeRange = false) override;
    void ShowEcho(const QString& name) override;
    void SetPrompt(const QString& text, bool showPicture) override;
    void Refresh() override;
    QString ShownNoteAt(int level) const override;
    std::vector<Note> NotesAt(int level) const override;
    // Takes the shown note away; the whole-range lines stay as they were.
    void ClearSheet();

    const StaffGeometry& Geometry() const { return geometry_; }
    // What the staff shows, for tests and accessibility.
    QString ShownNoteName() const;
    std::optional<int> ShownLevel() const;
    bool IsEchoShown() const { return echoLevel_.has_value(); }
    // The sign beside the shown note: 0 none, 1 sharp, 2 flat.
    int ShownAccidental() const;
    bool IsWholeRangeShown() const { return wholeRange_; }
    QString PromptText() const;
    bool IsPromptPictureShown() const;
    QString PictureError() const { return pictureError_; }

signals:
    void levelPressed(std::optional<int> level, bool secondary);
    void levelHovered(std::optional<int> level);
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Sign { None, Sharp, Flat };
    Sign SignOf(const QString& name) const;
    std::optional<int> LevelOf(const QString& name) const;
    std::optional<int> LevelUnder(QPointF position) const;
    void DrawHead(QPainter& painter, int level, const QColor& colour, bool withSign) const;
    void EndEcho();
    void UpdateAccessibleDescription();

    const Notes* notes_ = nullptr;
    StaffGeometry geometry_;
    std::vector<std::vector<Note>> levelNotes_;
    std::optional<int> shownLevel_;
    QString shownName_;
    std::optional<int> echoLevel_;
    bool wholeRange_ = false;
    bool byHeight_ = false;
    QString idlePrompt_;
    QPixmap picture_;
    QPixmap sharp_;
    QPixmap flat_;
    QString pictureError_;
    QTimer echoTimer_;
    QLabel* txtPrompt = nullptr;
    QLabel* picPrompt = nullptr;
    QMovie* promptMovie_ = nullptr;
};
