#include "views/FretboardAccessible.h"

#include "views/FretboardControl.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <map>

namespace {

FretPosition CellOf(const FretboardControl& board, int row, int column)
{
    return {board.StringCount() - row, column + 1};
}

class FretCellAccessible : public QAccessibleInterface,
                           public QAccessibleTableCellInterface,
                           public QAccessibleActionInterface {
public:
    FretCellAccessible(FretboardControl* board, int row, int column)
        : board_(board)
        , row_(row)
        , column_(column)
    {
    }

    bool isValid() const override { return board_ && row_ < board_->StringCount() && column_ < kFretPositions; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return board_ ? board_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(board_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid())
            return QString();
        const FretPosition cell = Cell();
        if (t == QAccessible::Name)
            return board_->CellName(cell);
        if (t == QAccessible::Description) {
            const FretboardControl::Marker marker = board_->MarkerAt(cell);
            if (!marker.drawn)
                return QString();
            if (marker.marked && marker.patternNote)
                return FretboardControl::tr("marked, pattern note");
            return marker.marked ? FretboardControl::tr("marked") : FretboardControl::tr("pattern note");
        }
        return QString();
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override
    {
        if (!isValid())
            return QRect();
        const QRect local = board_->CellBox(Cell()).toAlignedRect();
        return QRect(board_->mapToGlobal(local.topLeft()), local.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.selected = isSelected();
        state.focusable = true;
        state.focused = board_->hasFocus() && board_->Cursor() == Cell();
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override { return isValid() && board_->MarkerAt(Cell()).drawn; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    // QAccessibleActionInterface
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (name == pressAction() && isValid())
            board_->ActivateCell(Cell(), false);
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        return name == pressAction() ? QStringList{QStringLiteral("Return")} : QStringList{};
    }

private:
    FretPosition Cell() const { return CellOf(*board_, row_, column_); }

    QPointer<FretboardControl> board_;
    int row_;
    int column_;
};

class FretboardAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit FretboardAccessible(FretboardControl* board)
        : QAccessibleWidget(board, QAccessible::Table)
    {
    }
    ~FretboardAccessible() override
    {
        for (const auto& [index, id] : cells_)
            QAccessible::deleteAccessibleInterface(id);
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    int childCount() const override { return rowCount() * columnCount(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        const auto found = cells_.find(index);
        if (found != cells_.end())
            return QAccessible::accessibleInterface(found->second);
        auto* cell = new FretCellAccessible(Board(), index / columnCount(), index % columnCount());
        cells_[index] = QAccessible::registerAccessibleInterface(cell);
        return cell;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (const auto& [index, id] : cells_)
            if (QAccessible::accessibleInterface(id) == child)
                return index;
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const std::optional<FretPosition> cell = Board()->CellAtPoint(Board()->mapFromGlobal(QPointF(x, y)));
        return cell ? child(FretboardChildIndex(*Board(), *cell)) : nullptr;
    }
    QAccessibleInterface* focusChild() const override
    {
        return Board()->hasFocus() ? child(FretboardChildIndex(*Board(), Board()->Cursor())) : nullptr;
    }

    // QAccessibleTableInterface
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return nullptr;
        return child(row * columnCount() + column);
    }
    int selectedCellCount() const override { return static_cast<int>(selectedCells().size()); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> selected;
        for (int index = 0; index < childCount(); ++index) {
            const FretPosition cell = CellOf(*Board(), index / columnCount(), index % columnCount());
            if (Board()->MarkerAt(cell).drawn)
                selected.append(child(index));
        }
        return selected;
    }
    QString columnDescription(int column) const override
    {
        return column == 0 ? FretboardControl::tr("open") : FretboardControl::tr("fret %1").arg(column);
    }
    QString rowDescription(int row) const override { return FretboardControl::tr("string %1").arg(row + 1); }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return kFretPositions; }
    int rowCount() const override { return Board()->StringCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // The marks are the activity's to set, not the reader's.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override
    {
        // Cells past the new string count are gone; the others name their cell afresh.
        for (auto it = cells_.begin(); it != cells_.end();) {
            if (it->first >= childCount()) {
                QAccessible::deleteAccessibleInterface(it->second);
                it = cells_.erase(it);
            } else {
                ++it;
            }
        }
    }

private:
    FretboardControl* Board() const { return static_cast<FretboardControl*>(widget()); }

    mutable std::map<int, QAccessible::Id> cells_;
};

QAccessibleInterface* FretboardFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("FretboardControl") && object && object->isWidgetType())
        return new FretboardAccessible(static_cast<FretboardControl*>(object));
    return nullptr;
}

} // namespace

void InstallFretboardAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(FretboardFactory);
        return true;
    }();
    Q_UNUSED(installed)
}

int FretboardChildIndex(const FretboardControl& board, FretPosition cell)
{
    return (board.PlayerString(cell.string) - 1) * kFretPositions + cell.fret - 1;
}
