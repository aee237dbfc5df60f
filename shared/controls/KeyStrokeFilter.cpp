#include "shared/controls/KeyStrokeFilter.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>

namespace controls {

namespace {

bool isPressKey(int key) {
    return key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

KeyStrokeFilter::KeyStrokeFilter(QObject* parent) : QObject(parent) {}

void KeyStrokeFilter::watch(QAbstractButton* button) {
    button->installEventFilter(this);
}

bool KeyStrokeFilter::isNewStroke(const QKeyEvent& press, const KeyState& state) const {
    if (press.isAutoRepeat() || state.down) return false;
    // Events made by a program rather than a keyboard may carry no time.
    return press.timestamp() == 0 || press.timestamp() != state.releasedAt;
}

bool KeyStrokeFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::FocusOut:
            // Once the window has lost the keyboard, the releases go to
            // another window: a key is no longer known to be down. Its last
            // release time stays, so a repeat that reaches the window when it
            // is back in front is still known as one.
            if (static_cast<QFocusEvent*>(event)->reason() == Qt::ActiveWindowFocusReason)
                for (auto& [key, state] : m_keys) state.down = false;
            return false;
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            break;
        default:
            return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (!isPressKey(key->key())) return false;
    KeyState& state = m_keys[key->key()];
    if (event->type() == QEvent::KeyRelease) {
        state.down = false;
        state.releasedAt = key->timestamp();
        return true;
    }
    const bool newStroke = isNewStroke(*key, state);
    state.down = true;
    if (newStroke)
        if (auto* button = qobject_cast<QAbstractButton*>(watched)) button->click();
    return true;
}

}  // namespace controls
