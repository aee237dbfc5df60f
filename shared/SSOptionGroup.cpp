#include "SSOptionGroup.h"

#include "RuntimeError.h"

SSOptionGroup::SSOptionGroup(QObject* parent) : QObject(parent) {}

void SSOptionGroup::add(SSOption* option) {
    const int index = count();
    m_options.push_back(option);
    // A user's click always leaves the clicked option set, as in any option group.
    connect(option, &QAbstractButton::clicked, this, [this, index] { setOption(index); });
}

SSOption* SSOptionGroup::option(int index) const {
    if (index < 0 || index >= count())
        throw shared::RuntimeError(
            shared::ErrorNumber::SubscriptOutOfRange,
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
