#include "ui/qt/application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/qt/first_frame.h"
#include "ui/qt/main_window.h"

// Q_INIT_RESOURCE names a function at global scope, so it is called from here.
static void registerHeikosenResources() {
    Q_INIT_RESOURCE(heikosen);
}

namespace heikosen::qt {

void initResources() {
    registerHeikosenResources();
}

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

    MainWindow window;
    window.show();
    // The icon is for the window manager and the task bar, the translations for
    // dialogs that open later. Loading them costs a good part of start-up, so
    // they follow the first frame instead of delaying it.
    app::afterFirstFrame(window, [&window] {
        QIcon icon;
        icon.addFile(QStringLiteral(":/icon/heikosen.svg"));
        icon.addFile(QStringLiteral(":/icon/heikosen.png"));
        QApplication::setWindowIcon(icon);
        window.setWindowIcon(icon);
        installJapaneseTranslations(*QCoreApplication::instance());
    });
    return QApplication::exec();
}

}  // namespace heikosen::qt
