// Printing the window onto a page: a PDF file stands in for the printer.

#include <QFile>
#include <QInputDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <vector>

#include "window_fixture.h"

namespace heikosen::qt::testing {
namespace {

using PrintPage = WindowTest;

// Answers the modal dialogs that open, one after the other, with these actions.
class DialogAnswers {
  public:
    explicit DialogAnswers(std::vector<std::function<void(QWidget*)>> actions)
        : actions_(std::move(actions)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(10);
    }
    std::size_t answered() const { return next_; }

  private:
    void poll() {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr || dialog == last_ || next_ >= actions_.size()) {
            return;
        }
        last_ = dialog;
        actions_[next_++](dialog);
    }

    std::vector<std::function<void(QWidget*)>> actions_;
    std::size_t next_ = 0;
    QWidget* last_ = nullptr;
    QTimer timer_;
};

bool nameShownOnCanvas(const QImage& image) {
    // Label5 stands at (24, 16) on the canvas; dark letters there mean a caption.
    int dark = 0;
    for (int y = 16; y < 32; ++y) {
        for (int x = 24; x < 90; ++x) {
            dark += qGray(canvasPixel(image, x, y)) < 96 ? 1 : 0;
        }
    }
    return dark > 10;
}

TEST_F(PrintPage, TheWindowGoesOntoOneLandscapePage) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);

    const PrintOutcome outcome = window().host().printOn(printer);
    EXPECT_EQ(outcome.status, PrintOutcome::Status::Printed);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    EXPECT_GT(page.width(), page.height());

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              1);
}

TEST_F(PrintPage, APrinterThatCannotStartIsAFailureWithAMessage) {
    // A PDF printer without a file to write cannot begin a page.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString());
    const PrintOutcome outcome = window().host().printOn(printer);
    EXPECT_EQ(outcome.status, PrintOutcome::Status::Failed);
    EXPECT_FALSE(outcome.message.empty());
}

TEST_F(PrintPage, CancelledNameDialogPrintsNothing) {
    QString prompt;
    QString title;
    DialogAnswers answers({[&](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        ASSERT_NE(input, nullptr);
        prompt = input->labelText();
        title = input->windowTitle();
        input->setTextValue("山田");
        input->reject();
    }});
    click(window().command(6));
    EXPECT_EQ(answers.answered(), 1U);
    EXPECT_EQ(title, QString("印刷"));
    EXPECT_EQ(prompt, QString("名前を入力してください。\n\n名前を入力しないと印刷できません。"));
    EXPECT_EQ(form().Label5.Caption(), "");
    EXPECT_FALSE(nameShownOnCanvas(onScreen()));
}

TEST_F(PrintPage, TheNameDialogSpeaksJapanese) {
    QStringList buttons;
    DialogAnswers answers({[&](QWidget* dialog) {
        for (const QPushButton* button : dialog->findChildren<QPushButton*>()) {
            buttons << button->text().remove(QLatin1Char('&'));
        }
        qobject_cast<QInputDialog*>(dialog)->reject();
    }});
    click(window().command(6));
    ASSERT_EQ(answers.answered(), 1U);
    EXPECT_TRUE(buttons.contains(QStringLiteral("OK"))) << buttons.join(',').toStdString();
    EXPECT_TRUE(buttons.filter(QStringLiteral("キャンセル")).size() == 1)
        << buttons.join(',').toStdString();
}

TEST_F(PrintPage, NameShowsWhileChoosingAPrinterAndGoesWhenCancelled) {
    if (!QPrinterInfo::defaultPrinter().isNull()) {
        GTEST_SKIP() << "a default printer is set up; this test never prints on paper";
    }
    bool shownDuringPrint = false;
    DialogAnswers answers({[](QWidget* dialog) {
                               auto* input = qobject_cast<QInputDialog*>(dialog);
                               ASSERT_NE(input, nullptr);
                               input->setTextValue("山田 太郎");
                               input->accept();
                           },
                           [&](QWidget* dialog) {
                               auto* chooser = qobject_cast<QPrintDialog*>(dialog);
                               ASSERT_NE(chooser, nullptr);
                               EXPECT_EQ(chooser->printer()->pageLayout().orientation(),
                                         QPageLayout::Landscape);
                               shownDuringPrint = nameShownOnCanvas(onScreen());
                               chooser->reject();
                           }});
    click(window().command(6));
    EXPECT_EQ(answers.answered(), 2U);
    EXPECT_TRUE(shownDuringPrint);
    // Nothing was printed: the canvas is as it was before.
    EXPECT_EQ(form().Label5.Caption(), "");
    EXPECT_FALSE(nameShownOnCanvas(onScreen()));
}

}  // namespace
}  // namespace heikosen::qt::testing
