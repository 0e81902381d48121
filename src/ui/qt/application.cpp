#include "ui/qt/application.h"

#include <QApplication>
#include <QIcon>

#include "ui/qt/fonts.h"
#include "ui/qt/main_window.h"
#include "ui/qt/resources.h"

namespace heikosen::qt {

int runApplication(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("heikosen"));
    initResources();
    registerFontSubstitutions();

    QIcon icon;
    icon.addFile(QStringLiteral(":/icon/heikosen.svg"));
    icon.addFile(QStringLiteral(":/icon/heikosen.png"));
    QApplication::setWindowIcon(icon);

    MainWindow window;
    window.setWindowIcon(icon);
    window.show();
    return QApplication::exec();
}

}  // namespace heikosen::qt
