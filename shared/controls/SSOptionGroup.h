#pragma once

#include "shared/controls/SSOption.h"

#include <QObject>

#include <vector>

// An option group addressed by index: exactly one option is set at a time.
// Its clicked signal carries the option's index and value, and it fires both
// when the user clicks an option and when the program sets one. An arrow key
// on an option moves to the option before (Up, Left) or after it (Down,
// Right), round from the last to the first, and chooses it as a click does.
class SSOptionGroup final : public QObject {
    Q_OBJECT
public:
    explicit SSOptionGroup(QObject* parent = nullptr);

    // Adds the next option; its index is the number of options before it.
    void add(SSOption* option);

    int count() const { return static_cast<int>(m_options.size()); }
    // Throws RuntimeError 9 for an index outside the group.
    SSOption* option(int index) const;
    // Sets the option with this index (clearing the others) and raises the
    // click event. Throws RuntimeError 9 for an index outside the group.
    void setOption(int index);
    // The index of the option that is set, or -1 when none is.
    int selectedIndex() const;

signals:
    void clicked(int index, bool value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<SSOption*> m_options;
};
