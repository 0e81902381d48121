#pragma once

// The program's one window: a widget for each control of the form's window
// list, and the canvas. After every event the widgets are brought up to date
// with the list, which the form computes and which holds all the state; the
// keys of the controls go to the list's rules. The desktop services the form
// asks for (quitting, the name dialog, printing, message boxes) are the
// window's DesktopHost.

#include <QWidget>
#include <vector>

#include "ui/form1.h"
#include "ui/qt/canvas_widget.h"
#include "ui/qt/control_style.h"
#include "ui/qt/desktop_host.h"
#include "ui/qt/fonts.h"
#include "ui/qt/window_geometry.h"
#include "ui/window_controls.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace heikosen::qt {

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

    // The widget of a control of the window, by its name and index (-1 for a
    // single control), or null.
    using Name = WindowControlName;
    QWidget* widget(Name name, int index = -1) const;
    template <typename Widget>
    Widget* widget(Name name, int index = -1) const {
        return qobject_cast<Widget*>(widget(name, index));
    }
    QPushButton* command(int number) const {
        return widget<QPushButton>(
            static_cast<Name>(static_cast<int>(Name::Command1) + number - 1));
    }
    QRadioButton* option1(int i) const { return widget<QRadioButton>(Name::Option1, i); }
    QRadioButton* option2(int i) const { return widget<QRadioButton>(Name::Option2, i); }
    QCheckBox* check1(int i) const { return widget<QCheckBox>(Name::Check1, i); }
    QLabel* label1() const { return widget<QLabel>(Name::Label1); }
    QLabel* label4(int i) const { return widget<QLabel>(Name::Label4, i); }
    CanvasWidget* canvas() const { return canvas_; }

    // How the laid-out client area is scaled and placed in the window now.
    const Viewport& clientScale() const { return scale_; }

    // Brings every widget up to date with the form and repaints what changed.
    void syncFromForm();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    // The keys of the window's controls.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* createWidget(const WindowControl& control, int at);
    // A click on the widget, if a button, is a click on the control at `at`.
    QWidget* connectClick(QWidget* widget, int at);
    // A click on the control at `at` of the list, or its key.
    void activate(int at);
    // Places and sizes every control, and sizes the fonts, for the window's
    // scale, and brings them up to date.
    void placeWidgets();
    void syncWidget(QWidget* widget, const WindowControl& control) const;

    QtTextMeasurer measurer_;
    Viewport scale_;
    ControlStyle style_;
    Form1 form_;
    DesktopHost host_{*this};
    CanvasWidget* canvas_ = nullptr;
    // The controls as last synced, and their widgets in the same order.
    WindowControls controls_;
    std::vector<QWidget*> widgets_;
};

}  // namespace heikosen::qt
