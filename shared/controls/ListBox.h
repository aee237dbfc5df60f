#pragma once

#include <QListWidget>

namespace controls {

// A single-selection list box that shows no entry as chosen until the user
// chooses one. Taking the focus makes no entry current; while nothing is
// selected, the arrow keys, Home and the page keys select the first entry
// (End the last one); an entry that is not selected is drawn without the
// focus frame, so it never looks chosen; and a Ctrl+click on the selected
// entry leaves it selected instead of clearing the selection.
class ListBox final : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    QItemSelectionModel::SelectionFlags selectionCommand(
        const QModelIndex& index, const QEvent* event = nullptr) const override;
};

}  // namespace controls
