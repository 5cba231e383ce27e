#pragma once
// Printing the move list: the lines as the list shows them, game-over lines included, laid
// out in the window's default font over the whole printable area of each page, page after
// page, straight to the default printer without a print dialog.

#include <QDateTime>
#include <QString>
#include <QStringList>

class QPainter;
class QPrinter;
class QWidget;

// The job's name in the printer queue: "Chess Zel - " followed by the date in the locale's
// short date format and the time in its long time format. It is not printed.
QString PrintJobTitle(const QDateTime& when);

// Prints lines, one a line, on printer, which the caller has set up (the default printer, or
// a PDF file in tests). An empty list prints one empty page. The printer's job name is left
// as the caller set it. On failure returns false and, when error is given, says why.
bool PrintMoveList(const QStringList& lines, QPrinter& printer, QString* error = nullptr);

// Begins painting on printer; on failure returns false and, when error is given, says
// why: the printer that could not start the job, or the file that could not be written.
bool BeginPrinting(QPainter& painter, QPrinter& printer, QString* error);

// True when the system has a printer to print on.
bool DefaultPrinterAvailable();

// The print command of the main window: prints lines on the default printer under a job
// title made from the current date and time. With no printer installed, or when the job
// fails, a message box over parent names the problem.
void PrintMoveListOnDefaultPrinter(const QStringList& lines, QWidget* parent);
