#include "MovePrinter.h"

#include "TimeFormat.h"

#include <QAbstractTextDocumentLayout>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

QString PrintJobTitle(const QDateTime& when) {
    const QLocale locale;
    return "Chess Zel - " + locale.toString(when.date(), QLocale::ShortFormat) + " " +
           locale.toString(when.time(), LongTimeFormat());
}

bool BeginPrinting(QPainter& painter, QPrinter& printer, QString* error) {
    if (painter.begin(&printer)) return true;
    if (error)
        *error = printer.outputFileName().isEmpty()
                     ? QString("The printer \"%1\" could not start the job.").arg(printer.printerName())
                     : QString("The file \"%1\" could not be written.").arg(printer.outputFileName());
    return false;
}

bool PrintMoveList(const QStringList& lines, QPrinter& printer, QString* error) {
    QPainter painter;
    if (!BeginPrinting(painter, printer, error)) return false;

    // The document is laid out for the printer itself, so the 8 point font is 8 points on
    // paper; a page of the document is the printable area.
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&printer);
    QFont font("MS Sans Serif");
    font.setPointSize(8);
    document.setDefaultFont(font);
    document.setDocumentMargin(0);
    const QSizeF page(printer.width(), printer.height());
    document.setPageSize(page);
    document.setPlainText(lines.join('\n'));

    const int pages = document.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !printer.newPage()) break;
        painter.save();
        // The first line of the next page starts exactly at this page's bottom edge; the
        // clip stops one printer dot short of it so that line is not drawn (clipped) here.
        const QRectF shown(0, i * page.height(), page.width(), page.height() - 1);
        painter.translate(0, -shown.top());
        document.drawContents(&painter, shown);
        painter.restore();
    }
    const bool finished = painter.end();
    if (!finished || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted) {
        if (error) *error = "The print job failed before all of the move list was printed.";
        return false;
    }
    return true;
}

bool DefaultPrinterAvailable() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

void PrintMoveListOnDefaultPrinter(const QStringList& lines, QWidget* parent) {
    const QString caption = "Print";
    if (!DefaultPrinterAvailable()) {
        QMessageBox::warning(parent, caption,
                             "No printer is installed, so the move list cannot be printed.\n"
                             "Add a printer in the system's printer settings and try again.");
        return;
    }
    // A printer made without arguments is the system's default printer, or its first one
    // when no default is set.
    QPrinter printer;
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty()) {
        QMessageBox::warning(parent, caption,
                             "No printer can be reached, so the move list cannot be printed.");
        return;
    }
    printer.setDocName(PrintJobTitle(QDateTime::currentDateTime()));
    QString error;
    if (!PrintMoveList(lines, printer, &error))
        QMessageBox::warning(parent, caption, "The move list could not be printed.\n" + error);
}
