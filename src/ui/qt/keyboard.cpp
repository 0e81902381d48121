#include "ui/qt/keyboard.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <utility>

namespace heikosen::qt {

namespace {

// Keys pressed alone: with Shift, Control or Alt they mean something else.
bool plain(const QKeyEvent& key) {
    return (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

bool selectable(const QRadioButton* option) {
    return option->isEnabled() && !option->isHidden();
}

}  // namespace

void WindowKeyboard::addCommandButton(QPushButton* button) {
    commands_.push_back(button);
    button->installEventFilter(this);
}

void WindowKeyboard::setOptionGroup(std::vector<QRadioButton*> options) {
    for (QRadioButton* option : options_) {
        option->removeEventFilter(this);
    }
    options_ = std::move(options);
    for (QRadioButton* option : options_) {
        option->installEventFilter(this);
    }
    updateTabStop();
}

void WindowKeyboard::updateTabStop() {
    QRadioButton* stop = nullptr;
    for (QRadioButton* option : options_) {
        if (selectable(option) && option->isChecked()) {
            stop = option;
            break;
        }
    }
    if (stop == nullptr) {
        const auto first = std::find_if(options_.begin(), options_.end(), selectable);
        stop = first != options_.end() ? *first : nullptr;
    }
    // The others still take the focus when clicked.
    for (QRadioButton* option : options_) {
        const Qt::FocusPolicy policy = option == stop ? Qt::StrongFocus : Qt::ClickFocus;
        if (option->focusPolicy() != policy) {
            option->setFocusPolicy(policy);
        }
    }
}

bool WindowKeyboard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QObject::eventFilter(watched, event);
    }
    const auto& key = *static_cast<QKeyEvent*>(event);
    for (QPushButton* button : commands_) {
        if (watched == button) {
            return commandKey(button, key);
        }
    }
    for (std::size_t i = 0; i < options_.size(); ++i) {
        if (watched == options_[i]) {
            return optionKey(i, key);
        }
    }
    return QObject::eventFilter(watched, event);
}

bool WindowKeyboard::commandKey(QPushButton* button, const QKeyEvent& key) {
    if ((key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) || !plain(key)) {
        return false;
    }
    // One click for each press of the key, not for the repeats of a key held.
    if (!key.isAutoRepeat()) {
        button->click();
    }
    return true;
}

bool WindowKeyboard::optionKey(std::size_t at, const QKeyEvent& key) {
    int step = 0;
    switch (key.key()) {
        case Qt::Key_Right:
        case Qt::Key_Down:
            step = 1;
            break;
        case Qt::Key_Left:
        case Qt::Key_Up:
            step = -1;
            break;
        default:
            return false;
    }
    if (!plain(key)) {
        return false;
    }
    // The next enabled button round the group; the group ends where it began.
    const std::size_t count = options_.size();
    for (std::size_t k = 1; k < count; ++k) {
        const std::size_t next = step > 0 ? (at + k) % count : (at + count - k % count) % count;
        QRadioButton* option = options_[next];
        if (selectable(option)) {
            option->setFocus(Qt::OtherFocusReason);
            option->click();
            break;
        }
    }
    return true;
}

}  // namespace heikosen::qt
