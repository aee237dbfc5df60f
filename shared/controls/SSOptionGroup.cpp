#include "shared/controls/SSOptionGroup.h"

#include "shared/core/RuntimeError.h"

#include <QKeyEvent>

#include <algorithm>

SSOptionGroup::SSOptionGroup(QObject* parent) : QObject(parent) {}

void SSOptionGroup::add(SSOption* option) {
    const int index = count();
    m_options.push_back(option);
    // A user's click always leaves the clicked option set, as in any option group.
    connect(option, &QAbstractButton::clicked, this, [this, index] { setOption(index); });
    option->installEventFilter(this);
}

bool SSOptionGroup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
    int step = 0;
    switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            step = -1;
            break;
        case Qt::Key_Down:
        case Qt::Key_Right:
            step = 1;
            break;
        default:
            return QObject::eventFilter(watched, event);
    }
    const auto at = std::find(m_options.begin(), m_options.end(), watched);
    if (at == m_options.end()) return false;
    const int here = static_cast<int>(at - m_options.begin());
    SSOption* next = m_options[static_cast<std::size_t>((here + step + count()) % count())];
    next->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    // The same click a mouse gives: the option is set and the group's click
    // event follows.
    next->click();
    return true;
}

SSOption* SSOptionGroup::option(int index) const {
    if (index < 0 || index >= count())
        throw core::RuntimeError(
            core::ErrorNumber::SubscriptOutOfRange,
            QStringLiteral("Alternativ %1 finns inte; gruppen har alternativen 0 till %2.")
                .arg(index)
                .arg(count() - 1));
    return m_options[static_cast<std::size_t>(index)];
}

void SSOptionGroup::setOption(int index) {
    SSOption* chosen = option(index);
    for (SSOption* other : m_options)
        if (other != chosen) other->setChecked(false);
    chosen->setChecked(true);
    emit clicked(index, true);
}

int SSOptionGroup::selectedIndex() const {
    for (int i = 0; i < count(); ++i)
        if (m_options[static_cast<std::size_t>(i)]->isChecked()) return i;
    return -1;
}
