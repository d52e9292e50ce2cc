#pragma once
// The fretboard: the instrument's picture, the grid of cells laid over it, the note
// markers, and the mouse handed to the current activity. Markers are painted from
// exactly the rectangles that clicks are tested against.

#include "lessons/ViewInterfaces.h"
#include "views/FretString.h"
#include "views/ViewHost.h"

#include <QPixmap>
#include <QWidget>

#include <memory>
#include <vector>

class QPainter;

class FretboardControl : public QWidget, public FretboardInterface {
    Q_OBJECT
public:
    explicit FretboardControl(QWidget* parent = nullptr);
    ~FretboardControl() override;

    void SetHost(ViewHost* host) { host_ = host; }

    // Loads the picture for the current instrument and style and takes its size.
    void SetLocation();
    Rect GetBounds() const;
    void Initialise(SheetInterface* objSheet = nullptr);
    bool IsWithinBounds(bool boolRightButtonClicked, int X, int Y, FretNoteInterface*& objFretNote) override;
    bool IsWithinBounds(bool boolRightButtonClicked, int X, int Y, FretNote*& objFretNote);
    void LowlevelDraw(const FretNote& objFretNote, const Rect& rectFretBounds);
    void DrawAll();
    void DrawFretNote(const QString& strFretNoteName, bool boolFilterPatterns) override;
    void HilitePatternFretNotes();
    void RefreshDisplay() override;
    void UpdateFretboardStyle();
    void SetScale();
    void ClearFretboard();
    bool PatternContainsAndIsVisible(const QString& strNoteName, int intPatternNum) const;
    void BuildVisiblePatternNotesColl(int intPatternNum);

    int StringCount() const { return static_cast<int>(strings_.size()); }
    FretString& String(int stringNum) { return *strings_.at(static_cast<size_t>(stringNum - 1)); }
    // Empty unless the last picture could not be loaded.
    QString PictureError() const { return pictureError_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void ApplyPatternWrapRule();
    bool AnyStringHasColumnInPattern(int column) const;

    QPixmap picture_;
    QString pictureError_;
    std::vector<std::unique_ptr<FretString>> strings_;
    SheetInterface* objSheet_ = nullptr;
    ViewHost* host_ = nullptr;
    QPainter* painter_ = nullptr; // set while painting
};
