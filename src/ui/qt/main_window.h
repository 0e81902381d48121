#pragma once

// The program's one window: the form's controls as Qt widgets and the canvas.
// After every event the widgets are brought up to date with the form, which
// holds all the state. The desktop services the form asks for (quitting, the
// name dialog, printing, message boxes) are the window's DesktopHost.

#include <QWidget>
#include <array>

#include "ui/form1.h"
#include "ui/qt/canvas_widget.h"
#include "ui/qt/desktop_host.h"
#include "ui/qt/fonts.h"
#include "ui/qt/window_geometry.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace heikosen::qt {

class ControlStyle;
class WindowKeyboard;

class MainWindow final : public QWidget {
    Q_OBJECT

  public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    Form1& form() { return form_; }
    const Form1& form() const { return form_; }
    // The desktop services of this window, which the form uses.
    DesktopHost& host() { return host_; }

    // The widgets, by the names of the form's controls.
    QPushButton* command(int number) const;  // 1..6
    QRadioButton* option1(int index) const;  // 0..7
    QRadioButton* option2(int index) const;  // 0..3
    QCheckBox* check1(int index) const;      // 0..4
    QLabel* label1() const { return label1_; }
    QLabel* label4(int index) const;  // 0..1
    CanvasWidget* canvas() const { return canvas_; }

    // How the laid-out client area is scaled and placed in the window now.
    const ClientScale& clientScale() const { return scale_; }
    // Switches between full screen and the window as it was (F11).
    void toggleFullScreen();

    // Brings every widget up to date with the form and repaints what changed.
    void syncFromForm();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void createWidgets();
    // Places and sizes every control, and sizes the fonts, for the window's scale.
    void placeWidgets();
    QFont scaled(QFont font) const;
    // The buttons' fonts: the window's scale, bold while a button's tool is on.
    void syncCommandFonts();
    void setTabOrder();

    QtTextMeasurer measurer_;
    ClientScale scale_;
    ControlStyle* style_ = nullptr;
    WindowKeyboard* keyboard_ = nullptr;
    Form1 form_;
    DesktopHost host_{*this};
    CanvasWidget* canvas_ = nullptr;
    QLabel* label1_ = nullptr;
    std::array<QLabel*, 2> label4_{};
    std::array<QPushButton*, 6> commands_{};
    std::array<QRadioButton*, 8> option1_{};
    std::array<QRadioButton*, 4> option2_{};
    std::array<QCheckBox*, 5> check1_{};
};

}  // namespace heikosen::qt
