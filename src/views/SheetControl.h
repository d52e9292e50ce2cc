#pragma once
// The staff: its lines and clef, the shown note as a head with its sign and ledger
// lines, a grey echo of the previous note that goes after a moment, and the prompt
// text with an optional animated picture. A press is resolved into a level here and
// handed on; from the keyboard, Enter presses the level of the shown note.
//
// The staff grows with its owner (SetZoom): its work area and everything on it scale
// together, drawn for the size and pixel ratio they are shown at.

#include "lessons/ActivityViews.h"
#include "music/Notes.h"
#include "views/MusicSigns.h"
#include "views/StaffGeometry.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <optional>
#include <vector>

class QLabel;
class PromptPicture;

class SheetControl : public QWidget, public StaffDisplay {
    Q_OBJECT
public:
    explicit SheetControl(QWidget* parent = nullptr);

    // The staff of a note table's instrument, its five lines at workArea on the staff at
    // its smallest (580 x 250): reads the music signs; nothing shown.
    void Initialise(const Notes& notes, QRectF workArea);
    // The staff's size as a multiple of its smallest.
    void SetZoom(double zoom);
    double Zoom() const;
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
    // Said after the shown note in the accessible description (a verdict).
    void SetAnnouncement(const QString& text);
    const QPixmap& Background() const { return background_; }

    static constexpr QSize kBaseSize{580, 250};

signals:
    void levelPressed(std::optional<int> level, bool secondary);
    void levelHovered(std::optional<int> level);
    void released();
    // The accessible description changed (the shown note, the prompt, the announcement).
    void descriptionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class Sign { None, Sharp, Flat };
    Sign SignOf(const QString& name) const;
    std::optional<int> LevelOf(const QString& name) const;
    std::optional<int> LevelUnder(QPointF position) const;
    void DrawHead(QPainter& painter, int level, const QColor& colour, bool withSign) const;
    void EndEcho();
    void UpdateAccessibleDescription();
    void Rebuild();
    static QRectF FittedWorkArea(QRectF work, const Instrument& instrument);
    void PlacePrompt();
    void ReleaseKey();

    const Notes* notes_ = nullptr;
    QRectF baseWorkArea_;
    StaffGeometry geometry_;
    std::vector<std::vector<Note>> levelNotes_;
    std::optional<int> shownLevel_;
    QString shownName_;
    std::optional<int> echoLevel_;
    bool wholeRange_ = false;
    bool byHeight_ = false;
    QString idlePrompt_;
    QString announcement_;
    MusicSigns signs_;
    QString pictureError_;
    QPixmap background_;
    struct BackgroundKey {
        QSize size;
        qreal ratio = 0;
        bool bass = false;
        bool signs = false;
        bool operator==(const BackgroundKey&) const = default;
    } backgroundKey_;
    QTimer echoTimer_;
    QLabel* txtPrompt = nullptr;
    PromptPicture* picPrompt = nullptr;
    QFont promptFont_;
    int heldKey_ = 0;
};
