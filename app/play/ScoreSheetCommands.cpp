#include "ScoreSheetCommands.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QStandardPaths>

#include <algorithm>

#include "GameFiles.h"
#include "Unit1.h"

TScoreSheetCommands::TScoreSheetCommands(TForm1& form, const TGameFiles& files)
    : QObject(&form), FForm(form), FFiles(files) {
    QAction* print = nullptr;
    for (QAction* a : form.Commands())
        if (a->objectName() == "Print") print = a;
    const auto command = [&](const QString& text, const QKeySequence& keys, auto handler) {
        auto* action = new QAction(text, &form);
        action->setShortcut(keys);
        action->setShortcutVisibleInContextMenu(true);
        connect(action, &QAction::triggered, this, handler);
        form.AddCommand(action, print);
        print = action;
        return action;
    };
    PrintAction = command("Print score sheet...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
                          [this] { PrintWithPreview(); });
    ExportAction = command("Export score sheet as PDF...", QKeySequence(), [this] { ExportPdf(); });
}

TScoreSheet TScoreSheetCommands::Sheet() const {
    return ScoreSheetOf(FFiles.CurrentRecord(), FForm.LevelLine());
}

void TScoreSheetCommands::PrintWithPreview() {
    if (!FForm.Board()) return;
    const TScoreSheet sheet = Sheet();
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, &FForm);
    preview.setWindowTitle("Print score sheet");
    // Big enough to read the page: most of the screen the window is on.
    if (const QScreen* screen = FForm.screen()) {
        const QSize room = screen->availableGeometry().size();
        preview.resize(std::min(room.width() * 9 / 10, 900), room.height() * 9 / 10);
    }
    connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* p) {
        QString error;
        if (!PrintScoreSheet(sheet, *p, &error) && TForm1::ShowMessage)
            TForm1::ShowMessage(&FForm, "The score sheet could not be printed.\n" + error);
    });
    preview.exec();
}

void TScoreSheetCommands::ExportPdf() {
    if (!FForm.Board()) return;
    // The dialog offers the documents folder and a name with the day's date.
    const QString offered =
        QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
            .filePath("Score sheet " + QDate::currentDate().toString(Qt::ISODate) + ".pdf");
    QString path = ChoosePath ? ChoosePath()
                              : QFileDialog::getSaveFileName(&FForm, "Export score sheet as PDF",
                                                             offered, "PDF files (*.pdf)");
    if (path.isEmpty()) return;
    // A name typed without an ending gets the one of its kind.
    if (QFileInfo(path).suffix().isEmpty()) path += ".pdf";
    QString error;
    if (!WriteScoreSheetPdf(Sheet(), path, &error) && TForm1::ShowMessage)
        TForm1::ShowMessage(&FForm, "The score sheet could not be written.\n" + error);
}

TScoreSheetCommands* InstallScoreSheet(TForm1& form, const TGameFiles& files) {
    return new TScoreSheetCommands(form, files);
}
