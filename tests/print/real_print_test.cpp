// "印刷" on a real print queue: a private scheduler whose default printer writes
// PDF files (set up by cups-sandbox.sh, which passes its output folder in
// HEIKOSEN_PRINT_OUT). The name is typed into the real dialog, the real command
// prints, and the page the queue writes is read back.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "printing/print_command.h"
#include "support/printed_page.h"
#include "support/qt_test_main.h"
#include "ui/qt/main_window.h"

namespace {

using heikosen::testing::isDark;
using heikosen::testing::isReddish;
using heikosen::testing::PrintedPage;
using heikosen::testing::readPrintedPage;

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(5);
    }
}

void sendToCanvas(heikosen::qt::MainWindow& window, QEvent::Type type, QPointF canvasPoint,
                  Qt::MouseButton button, Qt::MouseButtons buttons) {
    QWidget* canvas = window.canvas();
    const QPointF local = canvasPoint + QPointF(2, 2);
    QMouseEvent event(type, local, canvas->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(canvas, &event);
}

// Waits until the queue has written a complete PDF file.
QString waitForPrintedFile(const QDir& out, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    qint64 lastSize = -1;
    while (timer.elapsed() < timeoutMs) {
        const QFileInfoList files = out.entryInfoList({"*.pdf"}, QDir::Files);
        if (!files.isEmpty()) {
            const QFileInfo& file = files.front();
            const qint64 size = file.size();
            QFile pdf(file.filePath());
            bool complete = false;
            // The queue may wrap the PDF in printer commands: the document is
            // complete once its end marker is there and the file stops growing.
            if (size > 0 && size == lastSize && pdf.open(QIODevice::ReadOnly)) {
                complete = pdf.readAll().contains("%%EOF");
            }
            if (complete) {
                return file.filePath();
            }
            lastSize = size;
        }
        QTest::qWait(100);
    }
    return {};
}

TEST(RealPrint, TheNameIsAskedAndTheWindowComesOutOfTheDefaultPrinter) {
    const QString outDir = qEnvironmentVariable("HEIKOSEN_PRINT_OUT");
    ASSERT_FALSE(outDir.isEmpty()) << "run through cups-sandbox.sh";
    ASSERT_FALSE(QPrinterInfo::defaultPrinter().isNull()) << "the private queue is not found";

    heikosen::qt::MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    settle();

    // A red stroke in memo mode, along canvas y = 100.
    QTest::mouseClick(window.command(3), Qt::LeftButton);
    sendToCanvas(window, QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::NoButton);
    sendToCanvas(window, QEvent::MouseButtonPress, {100, 100}, Qt::LeftButton, Qt::LeftButton);
    for (int x = 120; x <= 300; x += 20) {
        sendToCanvas(window, QEvent::MouseMove, {static_cast<double>(x), 100}, Qt::NoButton,
                     Qt::LeftButton);
    }
    sendToCanvas(window, QEvent::MouseButtonRelease, {300, 100}, Qt::LeftButton, Qt::NoButton);
    settle();

    // The pupil types the name into the dialog and presses Enter.
    const QString name = QStringLiteral("山田 花子");
    bool answered = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr || answered) {
            return;
        }
        answered = true;
        // Japanese text arrives from the input method as committed text.
        auto* edit = qobject_cast<QLineEdit*>(dialog->focusWidget());
        ASSERT_NE(edit, nullptr);
        edit->insert(name);
        QTest::keyClick(edit, Qt::Key_Return);
    });
    answer.start(20);
    QTest::mouseClick(window.command(6), Qt::LeftButton);
    answer.stop();
    settle();

    ASSERT_TRUE(answered);
    EXPECT_EQ(window.form().Label5.Caption(), "名前：山田 花子");
    // A printer was there: no print dialog and no message box is left open.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    const QString printed = waitForPrintedFile(QDir(outDir), 60000);
    ASSERT_FALSE(printed.isEmpty()) << "the queue wrote no page";
    const PrintedPage page = readPrintedPage(printed);
    ASSERT_TRUE(page.problem.isEmpty()) << page.problem.toStdString();
    EXPECT_EQ(page.pages, 1);
    // The window stands on the page in landscape, with its own proportions.
    const double aspect = static_cast<double>(page.window.width()) / page.window.height();
    EXPECT_NEAR(aspect, 891.0 / 687.0, 0.02);
    EXPECT_GT(page.window.width(), page.window.height());

    for (const int y : {325, 400, 550}) {
        EXPECT_TRUE(page.anyNear(450, y, 2, isDark)) << "parallel at client y " << y;
    }
    EXPECT_FALSE(page.anyNear(600, 360, 3, isDark));
    EXPECT_TRUE(page.anyNear(210, 150, 3, isReddish));
    int dark = 0;
    for (int y = 66; y < 82; ++y) {
        for (int x = 34; x < 94; ++x) {
            dark += isDark(page.clientPixel(x, y)) ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 10) << "no name on the page";

    // Printing made nothing permanent: the reset still wipes the stroke.
    QTest::mouseClick(window.command(1), Qt::LeftButton);
    settle();
    const QImage after = window.grab().toImage();
    EXPECT_FALSE(isReddish(after.pixel(10 + 200, 50 + 100)));
}

// A queue that refuses jobs would take the page and drop it: the program says
// that nothing was printed, why, and takes the name off the window again.
TEST(RealPrint, AQueueThatRefusesJobsIsReportedAndPrintsNothing) {
    const QString outDir = qEnvironmentVariable("HEIKOSEN_PRINT_OUT");
    ASSERT_FALSE(outDir.isEmpty()) << "run through cups-sandbox.sh";
    const QString queue = QPrinterInfo::defaultPrinter().printerName();
    ASSERT_FALSE(queue.isEmpty()) << "the private queue is not found";
    ASSERT_EQ(QProcess::execute("/usr/sbin/cupsreject", {queue}), 0);
    struct Accept {
        QString queue;
        ~Accept() { QProcess::execute("/usr/sbin/cupsaccept", {queue}); }
    } acceptAgain{queue};
    const qsizetype before = QDir(outDir).entryList({"*.pdf"}, QDir::Files).size();

    heikosen::qt::MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    settle();
    const std::string caption = window.form().Label5.Caption();
    QString said;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QInputDialog*>(modal)) {
            dialog->setTextValue(QStringLiteral("山田 花子"));
            dialog->accept();
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            said = box->text();
            box->accept();
        }
    });
    answer.start(20);
    QTest::mouseClick(window.command(6), Qt::LeftButton);
    answer.stop();
    settle();

    EXPECT_TRUE(said.contains(QString::fromUtf8(heikosen::printing::kPrinterNotReadyText)))
        << said.toStdString();
    EXPECT_EQ(window.form().Label5.Caption(), caption);
    QTest::qWait(1000);
    EXPECT_EQ(QDir(outDir).entryList({"*.pdf"}, QDir::Files).size(), before);
}

}  // namespace

int main(int argc, char* argv[]) {
    return heikosen::testing::runQtTests(argc, argv);
}
