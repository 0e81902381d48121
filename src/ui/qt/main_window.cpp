#include "ui/qt/main_window.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QShortcut>
#include <QSignalBlocker>
#include <algorithm>
#include <utility>
#include <vector>

#include "ui/qt/control_style.h"
#include "ui/qt/keyboard.h"
#include "ui/qt/resources.h"
#include "ui/qt/window_geometry.h"

namespace heikosen::qt {

namespace {

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Background and text colours of a widget that fills its own background.
void setColours(QWidget* widget, Rgb background, Rgb foreground) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, toQColor(background));
    palette.setColor(QPalette::WindowText, toQColor(foreground));
    widget->setPalette(palette);
    // Buttons fill with the button colour unless told otherwise.
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

void syncLabel(QLabel* widget, const LabelControl& label) {
    const QString caption = text(label.Caption());
    if (widget->text() != caption) {
        widget->setText(caption);
    }
    widget->setVisible(label.Visible);
}

template <typename Button>
void syncCaption(Button* widget, const std::string& caption) {
    const QString wanted = text(caption);
    if (widget->text() != wanted) {
        widget->setText(wanted);
    }
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    initResources();
    registerFontSubstitutions();
    // The IPA fonts have no bold face; Qt makes one, but only below 64 pixels
    // unless told otherwise, and the bold title of a large window is larger.
    if (!qEnvironmentVariableIsSet("QT_NO_SYNTHESIZED_BOLD_LIMIT")) {
        qputenv("QT_NO_SYNTHESIZED_BOLD_LIMIT", "1");
    }
    setFont(defaultControlFont());

    form_.setTextMeasurer(&measurer_);
    form_.setHost(&host_);
    // The canvas installs its stroke layer before start-up clears the board.
    canvas_ = new CanvasWidget(form_, this);
    form_.Form_Load();

    createWidgets();
    // The window opens at the laid-out size and can be made larger or smaller;
    // the layout scales with it.
    setMinimumSize(WindowGeometry::minimumClientSize());
    resize(WindowGeometry::clientSize());
    placeWidgets();
    setTabOrder();

    setColours(this, form_.BackColor, kBlack);
    connect(canvas_, &CanvasWidget::formChanged, this, &MainWindow::syncFromForm);
    auto* fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), this);
    fullScreen->setContext(Qt::WindowShortcut);
    connect(fullScreen, &QShortcut::activated, this, &MainWindow::toggleFullScreen);
    syncFromForm();
}

MainWindow::~MainWindow() {
    form_.setHost(nullptr);
    // The canvas works on the form, which goes before the children do.
    delete canvas_;
    canvas_ = nullptr;
    // The options and check boxes go back to the application's style before
    // their own style, a child of this window, is deleted with the other children.
    for (QRadioButton* option : option1_) {
        option->setStyle(nullptr);
    }
    for (QRadioButton* option : option2_) {
        option->setStyle(nullptr);
    }
    for (QCheckBox* box : check1_) {
        box->setStyle(nullptr);
    }
}

void MainWindow::createWidgets() {
    auto* style = new ControlStyle;
    style->setParent(this);
    style_ = style;
    keyboard_ = new WindowKeyboard(this);
    label1_ = new QLabel(this);
    label1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setColours(label1_, form_.Label1.BackColor, form_.Label1.ForeColor);

    for (int i = 0; i < 2; ++i) {
        QLabel* label = new QLabel(this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setColours(label, form_.Label4(i).BackColor, form_.Label4(i).ForeColor);
        label4_.at(static_cast<std::size_t>(i)) = label;
    }

    for (int n = 1; n <= Form1::kCommandCount; ++n) {
        auto* button = new QPushButton(this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, n] {
            form_.userClickCommand(n);
            syncFromForm();
        });
        keyboard_->addCommandButton(button);
        commands_.at(static_cast<std::size_t>(n - 1)) = button;
    }
    // The twelve option buttons form one group, which the form keeps: Qt does
    // not make them exclusive on its own.
    for (int i = 0; i < 8; ++i) {
        auto* option = new QRadioButton(this);
        option->setAutoExclusive(false);
        option->setStyle(style);
        setColours(option, form_.BackColor, kBlack);
        connect(option, &QRadioButton::clicked, this, [this, i] {
            form_.userClickOption1(i);
            syncFromForm();
        });
        option1_.at(static_cast<std::size_t>(i)) = option;
    }
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(this);
        option->setAutoExclusive(false);
        option->setStyle(style);
        setColours(option, form_.BackColor, kBlack);
        connect(option, &QRadioButton::clicked, this, [this, i] {
            form_.userClickOption2(i);
            syncFromForm();
        });
        option2_.at(static_cast<std::size_t>(i)) = option;
    }
    for (int i = 0; i < 5; ++i) {
        auto* box = new QCheckBox(this);
        box->setStyle(style);
        setColours(box, form_.BackColor, kBlack);
        connect(box, &QCheckBox::clicked, this, [this, i] {
            form_.userClickCheck1(i);
            syncFromForm();
        });
        check1_.at(static_cast<std::size_t>(i)) = box;
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const ClientScale now = ClientScale::fitting(event->size());
    if (now != scale_) {
        scale_ = now;
        placeWidgets();
    }
}

QFont MainWindow::scaled(QFont font) const {
    if (scale_.factor != 1.0 && font.pixelSize() > 0) {
        font.setPixelSize(
            std::max(1, static_cast<int>(std::lround(font.pixelSize() * scale_.factor))));
    }
    return font;
}

void MainWindow::placeWidgets() {
    // Options and check boxes take the window's font; the others have their own.
    setFont(scaled(defaultControlFont()));
    style_->setScale(scale_.factor);

    const LabelControl& title = form_.Label1;
    label1_->setFont(scaled(toQFont(title.Font)));
    label1_->setGeometry(scale_.windowRect(title.Left, title.Top, title.Width, title.Height));
    for (int i = 0; i < 2; ++i) {
        const LabelControl& row = form_.Label4(i);
        label4(i)->setFont(scaled(toQFont(row.Font)));
        label4(i)->setGeometry(scale_.windowRect(row.Left, row.Top, row.Width, row.Height));
    }
    for (int n = 1; n <= Form1::kCommandCount; ++n) {
        command(n)->setGeometry(scale_.windowRect(form_.command(n).Rect));
    }
    for (int i = 0; i < 8; ++i) {
        option1(i)->setGeometry(scale_.windowRect(form_.Option1(i).Rect));
    }
    for (int i = 0; i < 4; ++i) {
        option2(i)->setGeometry(scale_.windowRect(form_.Option2(i).Rect));
    }
    for (int i = 0; i < 5; ++i) {
        check1(i)->setGeometry(scale_.windowRect(form_.Check1(i).Rect));
    }
    // The canvas starts at its scaled corner and is as large as its scaled
    // picture, rounded up to whole pixels.
    const CanvasMapping mapping(form_.gamen, scale_.factor);
    canvas_->setGeometry(
        QRect(scale_.windowRect(form_.gamen.Rect).topLeft(), mapping.widgetSize()));
    canvas_->setScale(scale_.factor);
    syncCommandFonts();
}

void MainWindow::setTabOrder() {
    std::vector<std::pair<int, QWidget*>> order;
    order.emplace_back(kCanvasTabIndex, canvas_);
    for (int n = 1; n <= Form1::kCommandCount; ++n) {
        order.emplace_back(form_.command(n).TabIndex, command(n));
    }
    for (int i = 0; i < 8; ++i) {
        order.emplace_back(form_.Option1(i).TabIndex, option1(i));
    }
    for (int i = 0; i < 4; ++i) {
        order.emplace_back(form_.Option2(i).TabIndex, option2(i));
    }
    for (int i = 0; i < 5; ++i) {
        order.emplace_back(form_.Check1(i).TabIndex, check1(i));
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<QRadioButton*> options;
    for (std::size_t k = 0; k < order.size(); ++k) {
        if (k > 0) {
            QWidget::setTabOrder(order[k - 1].second, order[k].second);
        }
        if (auto* option = qobject_cast<QRadioButton*>(order[k].second)) {
            options.push_back(option);
        }
    }
    // The option buttons are one group for the keyboard, in the same order.
    keyboard_->setOptionGroup(std::move(options));
}

QPushButton* MainWindow::command(int number) const {
    return commands_.at(static_cast<std::size_t>(number - 1));
}

QRadioButton* MainWindow::option1(int index) const {
    return option1_.at(static_cast<std::size_t>(index));
}

QRadioButton* MainWindow::option2(int index) const {
    return option2_.at(static_cast<std::size_t>(index));
}

QCheckBox* MainWindow::check1(int index) const {
    return check1_.at(static_cast<std::size_t>(index));
}

QLabel* MainWindow::label4(int index) const {
    return label4_.at(static_cast<std::size_t>(index));
}

void MainWindow::syncFromForm() {
    const QString title = text(form_.Caption);
    if (windowTitle() != title) {
        setWindowTitle(title);
    }
    syncLabel(label1_, form_.Label1);
    for (int i = 0; i < 2; ++i) {
        syncLabel(label4(i), form_.Label4(i));
    }

    for (int n = 1; n <= Form1::kCommandCount; ++n) {
        const CommandButton& source = form_.command(n);
        QPushButton* button = command(n);
        syncCaption(button, source.Caption);
        button->setEnabled(source.Enabled);
        button->setVisible(source.Visible);
    }
    syncCommandFonts();
    auto syncOption = [](QRadioButton* widget, const OptionButton& option) {
        const QSignalBlocker block(widget);
        syncCaption(widget, option.Caption);
        widget->setChecked(option.Value());
        widget->setEnabled(option.Enabled);
        widget->setVisible(option.Visible);
    };
    for (int i = 0; i < 8; ++i) {
        syncOption(option1(i), form_.Option1(i));
    }
    for (int i = 0; i < 4; ++i) {
        syncOption(option2(i), form_.Option2(i));
    }
    keyboard_->updateTabStop();
    for (int i = 0; i < 5; ++i) {
        const CheckBox& source = form_.Check1(i);
        QCheckBox* box = check1(i);
        const QSignalBlocker block(box);
        syncCaption(box, source.Caption);
        box->setChecked(source.Value() == 1);
        box->setEnabled(source.Enabled);
        box->setVisible(source.Visible);
    }

    canvas_->refresh();
    if (form_.endRequested() && isVisible()) {
        close();
    }
}

void MainWindow::syncCommandFonts() {
    for (int n = 1; n <= Form1::kCommandCount; ++n) {
        // A tool's button shows in bold while its tool is on.
        QFont font = scaled(defaultControlFont());
        font.setBold(form_.command(n).FontBold);
        if (command(n)->font() != font) {
            command(n)->setFont(font);
        }
    }
}

void MainWindow::toggleFullScreen() {
    setWindowState(windowState() ^ Qt::WindowFullScreen);
}

}  // namespace heikosen::qt
