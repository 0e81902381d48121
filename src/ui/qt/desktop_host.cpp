#include "ui/qt/desktop_host.h"

#include <QCoreApplication>
#include <QImage>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegion>

#include "printing/print_command.h"
#include "printing/print_queue.h"
#include "ui/qt/main_window.h"
#include "ui/qt/window_geometry.h"

namespace heikosen::qt {

void DesktopHost::endProgram() {
    window_.close();
    QCoreApplication::quit();
}

std::string DesktopHost::inputBox(const std::string& prompt, const std::string& title) {
    // Cancel gives a null text, which is "".
    return QInputDialog::getText(&window_, toQString(title), toQString(prompt)).toStdString();
}

PrintOutcome DesktopHost::printForm(const Form1& /*form*/) {
    // The name is on the canvas before anything is asked or printed.
    window_.syncFromForm();
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setDocName(window_.windowTitle());
    if (QPrinterInfo::defaultPrinter().isNull()) {
        // No printer is set up as the default: let the user choose one, or a file.
        QPrintDialog dialog(&printer, &window_);
        dialog.setWindowTitle(toQString(printing::kPrinterDialogTitle));
        if (dialog.exec() != QDialog::Accepted) {
            return {PrintOutcome::Status::Cancelled, {}};
        }
    }
    return printOn(printer);
}

PrintOutcome DesktopHost::printOn(QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
    // A queue that refuses jobs would take the page and drop it unseen.
    const bool queued = printer.outputFormat() == QPrinter::NativeFormat;
    QPainter painter;
    if (!printing::queueTakesJobs(queued ? printer.printerName().toStdString() : "") ||
        !painter.begin(&printer)) {
        return {PrintOutcome::Status::Failed, printing::kPrinterNotReadyText};
    }
    // The window as on screen, drawn by its own painting at a few times the
    // screen's resolution, then put on the page.
    const int oversampling = printing::kOversampling;
    QImage image(QSize(kClientWidth, kClientHeight) * oversampling, QImage::Format_RGB32);
    image.setDevicePixelRatio(oversampling);
    image.fill(Qt::white);
    {
        // The window may be scaled on screen: its client area is drawn back at
        // the laid-out size.
        const Viewport& scale = window_.clientScale();
        QPainter imagePainter(&image);
        imagePainter.scale(1.0 / scale.scale, 1.0 / scale.scale);
        window_.render(&imagePainter, QPoint(), QRegion(toQRect(scale.form())),
                       QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF target = toQRectF(printing::printedArea(page.width(), page.height()));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, image);
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        return {PrintOutcome::Status::Failed, printing::kNotSentText};
    }
    return {PrintOutcome::Status::Printed, {}};
}

void DesktopHost::showMessage(const std::string& title, const std::string& text) {
    QMessageBox::warning(&window_, toQString(title), toQString(text));
}

}  // namespace heikosen::qt
