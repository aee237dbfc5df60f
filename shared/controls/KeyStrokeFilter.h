#pragma once

#include <QObject>

#include <map>

class QAbstractButton;
class QKeyEvent;

namespace controls {

// Space, Return and keypad Enter press a button once per key stroke: on the
// stroke itself, and never again until that key has really been released. A
// switch that sends one of these keys and is held down presses once.
//
// A held key repeats. The X server sends each repeat as a release and a press
// with the same time stamp, and Qt does not always mark them as repeats; so a
// press counts as a new stroke only when it is not marked as a repeat, the
// key is not down, and its time differs from the key's last release. A window
// that comes up while the key is held sees such a pair first and ignores it
// too.
class KeyStrokeFilter final : public QObject {
    Q_OBJECT
public:
    explicit KeyStrokeFilter(QObject* parent = nullptr);

    // The three keys on this button click it, once per stroke; the button's
    // own handling of them (Space clicks on the release) no longer runs.
    void watch(QAbstractButton* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct KeyState {
        bool down = false;
        quint64 releasedAt = 0;  // the time stamp of the last release, 0 when unknown
    };
    bool isNewStroke(const QKeyEvent& press, const KeyState& state) const;

    std::map<int, KeyState> m_keys;
};

}  // namespace controls
