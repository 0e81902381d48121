#include "ui/qt/main_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QShortcut>
#include <QSignalBlocker>
#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "ui/qt/application.h"

namespace heikosen::qt {

namespace {

// A letter picture of the canvas as a screen reader has it: a toggle button
// over the picture that the canvas draws, drawing nothing itself and letting
// the mouse through to the canvas.
class PictureToggle final : public QPushButton {
  public:
    explicit PictureToggle(QWidget* parent) : QPushButton(parent) {
        setCheckable(true);
        setFlat(true);
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

  protected:
    void paintEvent(QPaintEvent* /*event*/) override {}
};

// What a screen reader hears of it: a button that stays pressed while the
// extension shows (Qt would call a checkable button a check box), pressed or
// toggled as a click would.
class PictureAccessible final : public QAccessibleWidget {
  public:
    explicit PictureAccessible(PictureToggle* picture)
        : QAccessibleWidget(picture, QAccessible::Button) {}
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = true;
        state.checked = button()->isChecked();
        return state;
    }
    QStringList actionNames() const override { return {pressAction(), toggleAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() || name == toggleAction()) {
            button()->click();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

  private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* accessibleWithRole(const QString& className, QObject* object) {
    if (auto* picture = dynamic_cast<PictureToggle*>(object);
        picture != nullptr && className == QLatin1String("QPushButton")) {
        return new PictureAccessible(picture);
    }
    // The canvas is an image to assistive technology.
    if (auto* canvas = qobject_cast<CanvasWidget*>(object);
        canvas != nullptr && className == QLatin1String(object->metaObject()->className())) {
        return new QAccessibleWidget(canvas, QAccessible::Graphic);
    }
    return nullptr;
}

// Sets a property of a widget only when it changes, so that a sync that
// changes nothing asks nothing of Qt.
template <typename Widget, typename Get, typename Arg, typename T>
void put(Widget* widget, Get get, void (Widget::*set)(Arg), const T& value) {
    if ((widget->*get)() != value) {
        (widget->*set)(value);
    }
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

// A key as the window's rules take it; keys they never take give nothing.
std::optional<ControlKey> keyOf(const QKeyEvent& key) {
    static constexpr std::pair<int, ControlKey> kKeys[] = {
        {Qt::Key_Tab, ControlKey::Tab},      {Qt::Key_Backtab, ControlKey::BackTab},
        {Qt::Key_Return, ControlKey::Enter}, {Qt::Key_Enter, ControlKey::Enter},
        {Qt::Key_Space, ControlKey::Space},  {Qt::Key_Left, ControlKey::Left},
        {Qt::Key_Right, ControlKey::Right},  {Qt::Key_Up, ControlKey::Up},
        {Qt::Key_Down, ControlKey::Down},    {Qt::Key_Escape, ControlKey::Escape},
        {Qt::Key_P, ControlKey::P},          {Qt::Key_Q, ControlKey::Q},
        {Qt::Key_L, ControlKey::L},          {Qt::Key_M, ControlKey::M},
        {Qt::Key_C, ControlKey::C},
    };
    const auto* found = std::find_if(std::begin(kKeys), std::end(kKeys),
                                     [&](const auto& k) { return k.first == key.key(); });
    return found == std::end(kKeys) ? std::nullopt : std::optional(found->second);
}

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QWidget(parent) {
    initResources();
    // The IPA fonts have no bold face; Qt makes one, but only below 64 pixels
    // unless told otherwise, and the bold title of a large window is larger.
    if (!qEnvironmentVariableIsSet("QT_NO_SYNTHESIZED_BOLD_LIMIT")) {
        qputenv("QT_NO_SYNTHESIZED_BOLD_LIMIT", "1");
    }
    static const bool roles = (QAccessible::installFactory(accessibleWithRole), true);
    Q_UNUSED(roles);

    form_.setTextMeasurer(&measurer_);
    form_.setHost(&host_);
    // The canvas installs its stroke layer before start-up clears the board.
    canvas_ = new CanvasWidget(form_, this);
    form_.Form_Load();

    controls_ = windowControls(form_);
    QWidget* chained = nullptr;
    for (std::size_t at = 0; at < controls_.size(); ++at) {
        QWidget* created = createWidget(controls_[at], static_cast<int>(at));
        created->setObjectName(toQString(elementId(controls_[at])));
        created->installEventFilter(this);
        // The focus chain is the list's order; the form's rules pick its stops.
        if (controls_[at].kind != ControlKind::Label) {
            if (chained != nullptr) {
                QWidget::setTabOrder(chained, created);
            }
            chained = created;
        }
        widgets_.push_back(created);
    }
    // The window opens at the laid-out size and can be made larger or smaller;
    // the layout scales with it.
    setMinimumSize(kMinimumClientWidth, kMinimumClientHeight);
    resize(kClientWidth, kClientHeight);
    placeWidgets();

    setColours(this, form_.BackColor, kBlack);
    connect(canvas_, &CanvasWidget::formChanged, this, &MainWindow::syncFromForm);
    auto* fullScreen = new QShortcut(QKeySequence(Qt::Key_F11), this);
    fullScreen->setContext(Qt::WindowShortcut);
    // F11 switches between full screen and the window as it was.
    connect(fullScreen, &QShortcut::activated, this,
            [this] { setWindowState(windowState() ^ Qt::WindowFullScreen); });
}

MainWindow::~MainWindow() {
    form_.setHost(nullptr);
    // The widgets work on the form and on the style, which go before the
    // children would.
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
}

QWidget* MainWindow::createWidget(const WindowControl& control, int at) {
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::Label:
            widget = new QLabel(this);
            static_cast<QLabel*>(widget)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            break;
        case ControlKind::Command:
            widget = new QPushButton(this);
            static_cast<QPushButton*>(widget)->setAutoDefault(false);
            break;
        case ControlKind::Option:
            // A radio button to Qt and to a screen reader; which one is
            // selected is the form's to say (see syncWidget).
            widget = new QRadioButton(this);
            break;
        case ControlKind::Check:
            widget = new QCheckBox(this);
            break;
        case ControlKind::Canvas:
            return canvas_;
        case ControlKind::Picture:
            return connectClick(new PictureToggle(this), at);
    }
    if (control.kind == ControlKind::Option || control.kind == ControlKind::Check) {
        widget->setStyle(&style_);
    }
    // Command buttons keep the desktop's button colours.
    if (control.kind != ControlKind::Command) {
        setColours(widget, control.backColor, control.foreColor);
    }
    return connectClick(widget, at);
}

QWidget* MainWindow::connectClick(QWidget* widget, int at) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this, [this, at] { activate(at); });
    }
    return widget;
}

void MainWindow::activate(int at) {
    activateControl(form_, controls_.at(static_cast<std::size_t>(at)));
    syncFromForm();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const Viewport now = Viewport::fit(event->size().width(), event->size().height());
    if (now != scale_) {
        scale_ = now;
        placeWidgets();
    }
}

void MainWindow::placeWidgets() {
    setFont(toQFont(scaledFont(controlFont(), scale_.scale)));
    style_.setScale(scale_.scale);
    canvas_->setScale(scale_.scale);
    syncFromForm();
}

void MainWindow::syncWidget(QWidget* widget, const WindowControl& control) const {
    // The canvas starts at its scaled corner and is as large as its scaled
    // picture, rounded up to whole pixels; it has no font of its own.
    const bool canvas = control.kind == ControlKind::Canvas;
    const QRect rect = toQRect(canvas ? scale_.canvasBox(form_.gamen) : scale_.place(control.rect));
    put(widget, &QWidget::geometry, &QWidget::setGeometry, rect);
    if (!canvas) {
        put(widget, &QWidget::font, &QWidget::setFont,
            toQFont(scaledFont(control.font, scale_.scale)));
    }
    widget->setVisible(control.visible);
    widget->setEnabled(control.enabled);
    if (control.kind != ControlKind::Label) {
        const Qt::FocusPolicy policy = control.tabStop                        ? Qt::StrongFocus
                                       : control.kind == ControlKind::Picture ? Qt::NoFocus
                                                                              : Qt::ClickFocus;
        put(widget, &QWidget::focusPolicy, &QWidget::setFocusPolicy, policy);
    }
    const QString caption = toQString(control.caption);
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        put(label, &QLabel::text, &QLabel::setText, caption);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        const QSignalBlocker block(button);
        put(button, &QAbstractButton::text, &QAbstractButton::setText, caption);
        if (button->isChecked() != (control.value == 1)) {
            // Qt would keep the checked one of a group checked: the form decides.
            button->setAutoExclusive(false);
            button->setChecked(control.value == 1);
        }
        button->setAutoExclusive(control.kind == ControlKind::Option);
    }
    put(widget, &QWidget::accessibleName, &QWidget::setAccessibleName,
        toQString(control.accessibleName));
    put(widget, &QWidget::accessibleDescription, &QWidget::setAccessibleDescription,
        toQString(control.accessibleDescription));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto found = std::find(widgets_.begin(), widgets_.end(), watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    const std::optional<ControlKey> pressed = keyOf(*key);
    if (found == widgets_.end() || !pressed) {
        return QWidget::eventFilter(watched, event);
    }
    const Qt::KeyboardModifiers held = key->modifiers() & ~Qt::KeypadModifier;
    const bool shift = held.testFlag(Qt::ShiftModifier);
    const KeyOutcome outcome =
        windowKey(form_, controls_, static_cast<int>(found - widgets_.begin()), *pressed, shift,
                  (held & ~Qt::ShiftModifier) != Qt::NoModifier, key->isAutoRepeat());
    if (!outcome.handled) {
        return QWidget::eventFilter(watched, event);
    }
    if (outcome.canvas) {
        // Used from the keyboard, the canvas shows where the keys go.
        canvas_->showFocusRing(true);
        syncFromForm();
    }
    if (outcome.focus >= 0) {
        const ControlKey folded = keyStroke(*pressed, shift, false, false).key;
        const Qt::FocusReason reason = folded == ControlKey::Tab       ? Qt::TabFocusReason
                                       : folded == ControlKey::BackTab ? Qt::BacktabFocusReason
                                                                       : Qt::OtherFocusReason;
        widgets_.at(static_cast<std::size_t>(outcome.focus))->setFocus(reason);
    }
    if (outcome.activate >= 0) {
        activate(outcome.activate);
    }
    return true;
}

QWidget* MainWindow::widget(WindowControlName name, int index) const {
    const auto found = std::find_if(controls_.begin(), controls_.end(), [&](const auto& control) {
        return control.name == name && control.index == index;
    });
    return found == controls_.end() ? nullptr : widgets_.at(found - controls_.begin());
}

void MainWindow::syncFromForm() {
    put<QWidget>(this, &QWidget::windowTitle, &QWidget::setWindowTitle, toQString(form_.Caption));
    controls_ = windowControls(form_);
    for (std::size_t at = 0; at < widgets_.size(); ++at) {
        syncWidget(widgets_[at], controls_[at]);
    }
    canvas_->refresh();
    if (form_.endRequested() && isVisible()) {
        close();
    }
}

}  // namespace heikosen::qt
