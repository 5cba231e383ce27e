// Printing the move list into a PDF file and reading the text back: the lines in order,
// game-over lines included, one empty page for an empty list, long lists over several
// pages; the job title; a job that cannot be written reports why.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QLocale>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "AppTestSupport.h"
#include "Fonts.h"
#include "MovePrinter.h"

namespace {

std::string Text(const QStringList& lines) {
    return lines.join('\n').toStdString();
}

struct Printout {
    QStringList Lines; // the text, one entry per line, pages joined
    int Pages = 0;
};

struct Print : ::testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }

    QTemporaryDir Folder;

    // Prints lines into a PDF file and reads it back with pdftotext.
    Printout PrintAndRead(const QStringList& lines) {
        const QString pdf = Folder.filePath("moves.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        QString error;
        EXPECT_TRUE(PrintMoveList(lines, printer, &error)) << error.toStdString();
        QProcess reader;
        reader.start("pdftotext", {"-layout", pdf, "-"});
        EXPECT_TRUE(reader.waitForFinished(20000));
        EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
        const QString text = QString::fromUtf8(reader.readAllStandardOutput());
        Printout out;
        out.Pages = int(text.count('\f'));
        for (const QString& page : text.split('\f', Qt::SkipEmptyParts))
            for (const QString& line : page.split('\n'))
                out.Lines << line.trimmed();
        while (!out.Lines.isEmpty() && out.Lines.last().isEmpty())
            out.Lines.removeLast();
        return out;
    }
};

} // namespace

TEST_F(Print, AfterAMateTheMovesThenTheResult) {
    const QStringList list = {"1. f2-f3 e7-e5", "2. g2-g4 Qd8-h4", "", "Checkmate!",
                              "Timer: 00:03:12 hs"};
    const Printout out = PrintAndRead(list);
    EXPECT_EQ(out.Pages, 1);
    // pdftotext keeps the blank line between the moves and the result.
    EXPECT_EQ(Text(out.Lines), Text(list));
}

TEST_F(Print, AnEmptyListIsOneEmptyPage) {
    const Printout out = PrintAndRead({});
    EXPECT_EQ(out.Pages, 1);
    EXPECT_TRUE(out.Lines.isEmpty()) << out.Lines.join('|').toStdString();
}

TEST_F(Print, ALongListRunsOnOverPagesWithNothingLost) {
    QStringList list;
    for (int i = 1; i <= 300; ++i)
        list << QString("%1. e2-e4 e7-e5").arg(i);
    const Printout out = PrintAndRead(list);
    EXPECT_GE(out.Pages, 2);
    QStringList printed = out.Lines;
    printed.removeAll(QString());
    EXPECT_EQ(Text(printed), Text(list));
}

TEST_F(Print, AFileThatCannotBeWrittenIsReported) {
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Folder.filePath("no such folder/moves.pdf"));
    QString error;
    EXPECT_FALSE(PrintMoveList({"1. e2-e4"}, printer, &error));
    EXPECT_TRUE(error.contains("moves.pdf")) << error.toStdString();
}

TEST_F(Print, WithoutAPrinterAMessageNamesTheProblem) {
    if (DefaultPrinterAvailable()) GTEST_SKIP() << "this machine has a printer";
    QString shown;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    PrintMoveListOnDefaultPrinter({"1. E2-E4"}, nullptr);
    EXPECT_TRUE(shown.contains("No printer is installed")) << shown.toStdString();
}

TEST(PrintJobTitle, NamesTheProgramThenShortDateAndLongTime) {
    const QLocale saved;
    const QDateTime when(QDate(2024, 3, 9), QTime(14, 5, 7));
    struct Case {
        const char* Locale;
        const char* Start; // "Chess Zel - " and the short date, then a space
        const char* Time;  // the long time begins with this
    };
    for (const Case& c : {Case{"en_US", "Chess Zel - 3/9/24 ", "2:05:07"},
                          Case{"de_DE", "Chess Zel - 09.03.24 ", "14:05:07"},
                          Case{"pt_BR", "Chess Zel - 09/03/2024 ", "14:05:07"}}) {
        QLocale::setDefault(QLocale(c.Locale));
        const QString title = PrintJobTitle(when);
        EXPECT_TRUE(title.startsWith(c.Start)) << c.Locale << ": " << title.toStdString();
        EXPECT_TRUE(title.mid(QString(c.Start).size()).startsWith(QString::fromUtf8(c.Time)))
            << c.Locale << ": " << title.toStdString();
    }
    QLocale::setDefault(saved);
}
