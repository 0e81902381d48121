#include "ui/qt/application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include "ui/qt/main_window.h"
#include "ui/qt/resources.h"

namespace heikosen::qt {

namespace {

void setIcon(QWidget& window) {
    QIcon icon;
    icon.addFile(QStringLiteral(":/icon/heikosen.svg"));
    icon.addFile(QStringLiteral(":/icon/heikosen.png"));
    QApplication::setWindowIcon(icon);
    window.setWindowIcon(icon);
}

// What the first frame need not wait for: the window's icon and the Japanese
// texts of Qt's own dialogs, set on the turn of the event loop after the first
// paint, long before anyone can open a dialog.
class AfterFirstPaint final : public QObject {
  public:
    explicit AfterFirstPaint(QWidget& window) : QObject(&window), window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Paint) {
            window_.removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                setIcon(window_);
                installJapaneseTranslations(*QCoreApplication::instance());
                deleteLater();
            });
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QWidget& window_;
};

}  // namespace

void installJapaneseTranslations(QCoreApplication& app) {
    // The window speaks Japanese whatever the desktop's language: Qt's own
    // dialogs (the name, the printer, messages) too.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator);
    } else {
        delete translator;
    }
}

int runApplication(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("heikosen"));
    initResources();

    MainWindow window;
    window.show();
    // The icon is for the window manager and the task bar, the translations for
    // dialogs that open later. Loading them costs a good part of start-up, so
    // they follow the first frame instead of delaying it.
    window.installEventFilter(new AfterFirstPaint(window));
    return QApplication::exec();
}

}  // namespace heikosen::qt
