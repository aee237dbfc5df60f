#include "shared/controls/ListBox.h"

#include <QFocusEvent>
#include <QStyledItemDelegate>

namespace controls {

namespace {

// Draws an entry as usual, but the focus frame only on a selected one.
class SelectedOnlyFocusFrame final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain(option);
        if (!plain.state.testFlag(QStyle::State_Selected)) plain.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, plain, index);
    }
};

}  // namespace

ListBox::ListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setItemDelegate(new SelectedOnlyFocusFrame(this));
}

void ListBox::focusInEvent(QFocusEvent* event) {
    const bool hadCurrent = currentIndex().isValid();
    QListWidget::focusInEvent(event);
    // Qt makes the first entry current on taking the focus; here nothing is
    // chosen until the user chooses.
    if (!hadCurrent && selectedItems().isEmpty()) selectionModel()->clearCurrentIndex();
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    // An entry left current without being selected (after a removal, say)
    // is no place to start from: Qt would not even select it again.
    if (selectedItems().isEmpty()) selectionModel()->clearCurrentIndex();
    QListWidget::keyPressEvent(event);
}

QModelIndex ListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    if (!selectedItems().isEmpty() || count() == 0)
        return QListWidget::moveCursor(action, modifiers);
    // Nothing selected: the keys start from the top.
    const int row = action == MoveEnd ? count() - 1 : 0;
    return model()->index(row, 0, rootIndex());
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
    // Qt clears the single selection on a Ctrl+click on the selected entry.
    if (command.testFlag(QItemSelectionModel::Deselect) &&
        !command.testFlag(QItemSelectionModel::Select))
        return QItemSelectionModel::NoUpdate;
    return command;
}

}  // namespace controls
