#pragma once

#include <QAccessibleWidget>

namespace controls {

// What assistive technology is told about one of the programs' own windows:
// a window, named by its caption, whose children are the controls that are
// not hidden. Controls that only hold data (a hidden list of folders, a
// hidden label) and cards taken away stay out of what a screen reader reads.
class AccessibleWindow final : public QAccessibleWidget {
public:
    explicit AccessibleWindow(QWidget* window);

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

private:
    QList<QWidget*> shownChildren() const;
};

}  // namespace controls
