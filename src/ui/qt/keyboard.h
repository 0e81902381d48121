#pragma once

// The keyboard on the window's buttons, as pupils know it from their desktop:
// Enter, like Space, clicks the command button that has the focus; the twelve
// option buttons are one group, one stop of the Tab key, entered at the
// selected button, in which the arrow keys go to the next enabled button and
// select it. (Check boxes take Space as Qt's do.)

#include <QObject>
#include <vector>

class QKeyEvent;
class QPushButton;
class QRadioButton;

namespace heikosen::qt {

class WindowKeyboard final : public QObject {
  public:
    explicit WindowKeyboard(QObject* parent = nullptr) : QObject(parent) {}

    // Enter and Return click this button while it has the focus.
    void addCommandButton(QPushButton* button);
    // The option buttons of the group, in the order of the Tab key.
    void setOptionGroup(std::vector<QRadioButton*> options);
    // Gives the group's Tab stop to its selected, enabled button (to its first
    // enabled one when the selected one is not). Called whenever the options
    // changed.
    void updateTabStop();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool commandKey(QPushButton* button, const QKeyEvent& key);
    bool optionKey(std::size_t at, const QKeyEvent& key);

    std::vector<QPushButton*> commands_;
    std::vector<QRadioButton*> options_;
};

}  // namespace heikosen::qt
