#include "ScoreSheet.h"

#include <QDate>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

#include "GameRecord.h"
#include "MovePrinter.h"
#include "San.h"

namespace {

QString Text(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// A PGN date ("2026.12.08") in the locale's long form; one with unknown parts as it is.
QString DateText(const std::string& tag) {
    const QDate date = QDate::fromString(Text(tag), "yyyy.MM.dd");
    if (!date.isValid()) return tag == "????.??.??" ? QString() : Text(tag);
    return QLocale().toString(date, QLocale::LongFormat);
}

// A tag's value, empty for PGN's "unknown".
QString TagText(const GameRecord& record, const char* name) {
    const std::string v = record.Tag(name);
    return v == "?" || v == "-" ? QString() : Text(v);
}

} // namespace

QString TimeControlText(const QString& tag) {
    const QStringList parts = tag.trimmed().split('+');
    bool ok = parts.size() <= 2;
    const int base = ok ? parts[0].toInt(&ok) : 0;
    const int increment = ok && parts.size() == 2 ? parts[1].toInt(&ok) : 0;
    if (!ok || base <= 0) return tag == "-" || tag == "?" ? QString() : tag.trimmed();
    const QString period =
        base % 60 == 0 ? QString("%1 min").arg(base / 60) : QString("%1 s").arg(base);
    return increment > 0 ? period + QString(" + %1 s").arg(increment) : period;
}

TScoreSheet ScoreSheetOf(const GameRecord& record, const QString& levelLine) {
    TScoreSheet sheet;
    sheet.Event = TagText(record, "Event");
    sheet.Site = TagText(record, "Site");
    sheet.Date = DateText(record.Tag("Date"));
    sheet.Round = TagText(record, "Round");
    sheet.White = TagText(record, "White");
    sheet.Black = TagText(record, "Black");
    if (levelLine.startsWith("Level: ")) sheet.Level = levelLine.mid(7).trimmed();
    sheet.TimeControl = TimeControlText(Text(record.Tag("TimeControl")));
    sheet.Result = record.Result == "1/2-1/2" ? QString::fromUtf8("\u00bd-\u00bd")
                   : record.Result == "*"     ? QString()
                                              : Text(record.Result);
    sheet.FirstMove = record.Start.MoveNumber;
    sheet.BlackBegins = !record.Start.WhiteToMove;
    // The moves in SAN against a replay of the game, each with its mark.
    TReplayGame game(record.Start);
    for (size_t i = 0; i < record.Moves.size(); ++i) {
        const std::string san = WriteSan(game, record.Moves[i]);
        if (!game.Play(record.Moves[i])) break;
        sheet.Moves << Text(san) + QString::fromLatin1(MarkSign(record.Note(i).Mark));
    }
    return sheet;
}

// --- Drawing -------------------------------------------------------------------------------

namespace {

// The page in device pixels, with the helpers that draw on it in millimetres and points.
class TSheetPainter {
  public:
    TSheetPainter(QPainter& painter, const QPrinter& printer)
        : P(painter), Mm(printer.resolution() / 25.4),
          Area(QRectF(QPointF(0, 0),
                      printer.pageLayout().paintRectPixels(printer.resolution()).size())) {}

    QPainter& P;
    const double Mm;
    const QRectF Area;

    void SetFont(double points, bool bold = false, QFont::Capitalization caps = QFont::MixedCase) {
        QFont f("DejaVu Sans");
        f.setPointSizeF(points);
        f.setBold(bold);
        f.setCapitalization(caps);
        // No ligatures: a reader of the file finds "Difficult" as it is spelt.
        f.setStyleStrategy(QFont::PreferNoShaping);
        if (caps == QFont::AllUppercase) f.setLetterSpacing(QFont::PercentageSpacing, 110);
        P.setFont(f);
    }
    void SetInk(int grey) { P.setPen(QPen(QColor(grey, grey, grey), 0.25 * Mm)); }
    void Rule(double y, double weightMm) {
        P.setPen(QPen(Qt::black, weightMm * Mm));
        P.drawLine(QPointF(0, y), QPointF(Area.width(), y));
    }
    void Write(const QRectF& r, const QString& text, int flags) {
        const QString shown = P.fontMetrics().elidedText(text, Qt::ElideRight, int(r.width()));
        P.drawText(r, flags | Qt::TextSingleLine, shown);
    }
    // A labelled field of the heading: the label small above, the value on a ruled line.
    void Field(const QRectF& r, const QString& label, const QString& value) {
        SetFont(6.5, false, QFont::AllUppercase);
        SetInk(110);
        Write(QRectF(r.left(), r.top(), r.width() - 3 * Mm, 3.5 * Mm), label,
              Qt::AlignLeft | Qt::AlignTop);
        SetFont(11);
        SetInk(0);
        Write(QRectF(r.left(), r.top() + 3.5 * Mm, r.width() - 3 * Mm, r.height() - 4.5 * Mm),
              value, Qt::AlignLeft | Qt::AlignVCenter);
        SetInk(150);
        P.drawLine(QPointF(r.left(), r.bottom()), QPointF(r.right() - 3 * Mm, r.bottom()));
    }
};

constexpr double kRowMm = 6.4;
constexpr double kHeadRowMm = 5.5;
constexpr double kGapMm = 5;
constexpr double kFooterMm = 24;
constexpr int kColumns = 3;
// The heading: three rows of fields below the title, and the grid below them.
constexpr double kFieldsTopMm = 18;
constexpr double kFieldRowMm = 11;
constexpr double kFieldGapMm = 1.5;
constexpr double kFirstGridTopMm = kFieldsTopMm + 3 * (kFieldRowMm + kFieldGapMm) + 4;
constexpr double kLaterGridTopMm = 11;

// The rows of one page's grid: the first is pair `first`, rows per column.
struct TGridPage {
    int First = 0;
    int Rows = 0;
};

// The heading of the first page; returns where the grid starts.
double DrawHeading(TSheetPainter& s, const TScoreSheet& sheet) {
    const double w = s.Area.width();
    s.SetFont(7.5, true, QFont::AllUppercase);
    s.SetInk(90);
    s.Write(QRectF(0, 0, w / 2, 4 * s.Mm), "Score sheet", Qt::AlignLeft | Qt::AlignTop);
    s.Write(QRectF(w / 2, 0, w / 2, 4 * s.Mm), "Chess Zel", Qt::AlignRight | Qt::AlignTop);
    s.SetFont(18, true);
    s.SetInk(0);
    s.Write(QRectF(0, 4.5 * s.Mm, w, 10 * s.Mm), sheet.Event.isEmpty() ? "Game" : sheet.Event,
            Qt::AlignLeft | Qt::AlignVCenter);
    s.Rule(16 * s.Mm, 0.6);

    const double row = kFieldRowMm * s.Mm;
    double y = kFieldsTopMm * s.Mm;
    const auto fields =
        [&](std::initializer_list<std::pair<double, std::pair<QString, QString>>> f) {
            double x = 0;
            for (const auto& [share, lv] : f) {
                s.Field(QRectF(x, y, share * w, row), lv.first, lv.second);
                x += share * w;
            }
            y += row + kFieldGapMm * s.Mm;
        };
    fields({{0.5, {"Site", sheet.Site}},
            {0.33, {"Date", sheet.Date}},
            {0.17, {"Round", sheet.Round}}});
    fields({{0.5, {"White", sheet.White}}, {0.5, {"Black", sheet.Black}}});
    fields({{0.33, {"Level", sheet.Level}},
            {0.33, {"Time control", sheet.TimeControl}},
            {0.34, {"Result", sheet.Result}}});
    s.Rule(y + 1 * s.Mm, 0.6);
    return kFirstGridTopMm * s.Mm;
}

// The heading of a later page; returns where the grid starts.
double DrawContinuedHeading(TSheetPainter& s, const TScoreSheet& sheet) {
    s.SetFont(11, true);
    s.SetInk(0);
    s.Write(QRectF(0, 0, s.Area.width(), 7 * s.Mm),
            sheet.White + QString::fromUtf8(" \u2013 ") + sheet.Black + " (continued)",
            Qt::AlignLeft | Qt::AlignVCenter);
    s.Rule(8 * s.Mm, 0.6);
    return kLaterGridTopMm * s.Mm;
}

QString MoveCell(const TScoreSheet& sheet, int pair, bool white) {
    if (sheet.BlackBegins && pair == 0 && white) return QString::fromUtf8("\u2026");
    const int index = 2 * pair + (white ? 0 : 1) - (sheet.BlackBegins ? 1 : 0);
    return index >= 0 && index < sheet.Moves.size() ? sheet.Moves[index] : QString();
}

// The numbered columns of move pairs, filled column by column.
void DrawGrid(TSheetPainter& s, const TScoreSheet& sheet, double top, const TGridPage& page,
              int pairsPlayed) {
    const double mm = s.Mm;
    const double colW = (s.Area.width() - (kColumns - 1) * kGapMm * mm) / kColumns;
    const double noW = 10 * mm;
    const double moveW = (colW - noW) / 2;
    for (int c = 0; c < kColumns; ++c) {
        const double x = c * (colW + kGapMm * mm);
        // The column's head.
        s.SetFont(7, true, QFont::AllUppercase);
        s.SetInk(70);
        const QRectF head(x, top, colW, kHeadRowMm * mm);
        s.P.fillRect(head, QColor(232, 232, 232));
        s.Write(QRectF(x, top, noW, head.height()), "No.", Qt::AlignCenter);
        s.Write(QRectF(x + noW, top, moveW, head.height()), "White", Qt::AlignCenter);
        s.Write(QRectF(x + noW + moveW, top, moveW, head.height()), "Black", Qt::AlignCenter);
        // The rows.
        for (int r = 0; r < page.Rows; ++r) {
            const int pair = page.First + c * page.Rows + r;
            const double y = top + head.height() + r * kRowMm * mm;
            const QRectF no(x, y, noW, kRowMm * mm);
            if (r % 2 == 1) s.P.fillRect(QRectF(x, y, colW, kRowMm * mm), QColor(246, 246, 246));
            s.SetFont(8.5, pair < pairsPlayed);
            s.SetInk(pair < pairsPlayed ? 0 : 160);
            s.Write(no, QString::number(sheet.FirstMove + pair), Qt::AlignCenter);
            s.SetFont(10);
            s.SetInk(0);
            const double pad = 1.5 * mm;
            s.Write(QRectF(x + noW + pad, y, moveW - 2 * pad, no.height()),
                    MoveCell(sheet, pair, true), Qt::AlignLeft | Qt::AlignVCenter);
            s.Write(QRectF(x + noW + moveW + pad, y, moveW - 2 * pad, no.height()),
                    MoveCell(sheet, pair, false), Qt::AlignLeft | Qt::AlignVCenter);
        }
        // The grid's lines.
        const double bottom = top + head.height() + page.Rows * kRowMm * mm;
        s.SetInk(150);
        for (int r = 0; r <= page.Rows; ++r) {
            const double y = top + head.height() + r * kRowMm * mm;
            s.P.drawLine(QPointF(x, y), QPointF(x + colW, y));
        }
        for (double lx : {x + noW, x + noW + moveW})
            s.P.drawLine(QPointF(lx, top), QPointF(lx, bottom));
        s.P.setPen(QPen(Qt::black, 0.35 * mm));
        s.P.drawRect(QRectF(x, top, colW, bottom - top));
    }
}

void DrawFooter(TSheetPainter& s, int page, int pages) {
    const double mm = s.Mm;
    const double w = s.Area.width();
    const double bottom = s.Area.height();
    // Where the players sign, as on a sheet handed in after the game.
    const double signY = bottom - 9 * mm;
    s.SetInk(0);
    s.P.setPen(QPen(Qt::black, 0.25 * mm));
    for (double x : {0.0, w * 0.55})
        s.P.drawLine(QPointF(x, signY), QPointF(x + w * 0.45, signY));
    s.SetFont(6.5, false, QFont::AllUppercase);
    s.SetInk(110);
    s.Write(QRectF(0, signY + 0.8 * mm, w * 0.45, 3.5 * mm), "White's signature", Qt::AlignLeft);
    s.Write(QRectF(w * 0.55, signY + 0.8 * mm, w * 0.45, 3.5 * mm), "Black's signature",
            Qt::AlignLeft);
    s.SetFont(7);
    s.Write(QRectF(0, bottom - 3.5 * mm, w, 3.5 * mm),
            QString("Page %1 of %2").arg(page).arg(pages), Qt::AlignRight | Qt::AlignBottom);
}

int RowsThatFit(const TSheetPainter& s, double top) {
    const double room = s.Area.height() - top - kFooterMm * s.Mm - kHeadRowMm * s.Mm;
    return std::max(1, int(room / (kRowMm * s.Mm)));
}

} // namespace

bool PrintScoreSheet(const TScoreSheet& sheet, QPrinter& printer, QString* error) {
    printer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
    if (printer.docName().isEmpty())
        printer.setDocName("Score sheet: " + sheet.White + QString::fromUtf8(" \u2013 ") +
                           sheet.Black);
    QPainter painter;
    if (!BeginPrinting(painter, printer, error)) return false;
    painter.setRenderHint(QPainter::Antialiasing);
    TSheetPainter s(painter, printer);

    // The pages: every grid fills its page with numbered rows, as a paper sheet is printed;
    // a game longer than the first page runs on over more.
    const int pairs = int((sheet.Moves.size() + (sheet.BlackBegins ? 1 : 0) + 1) / 2);
    std::vector<TGridPage> pages;
    const int firstFit = RowsThatFit(s, kFirstGridTopMm * s.Mm);
    const int laterFit = RowsThatFit(s, kLaterGridTopMm * s.Mm);
    pages.push_back({0, firstFit});
    for (int next = kColumns * pages.back().Rows; next < pairs; next += kColumns * laterFit)
        pages.push_back({next, laterFit});

    for (size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) break;
        const double top = i == 0 ? DrawHeading(s, sheet) : DrawContinuedHeading(s, sheet);
        DrawGrid(s, sheet, top, pages[i], pairs);
        DrawFooter(s, int(i) + 1, int(pages.size()));
    }
    const bool finished = painter.end();
    if (!finished || printer.printerState() == QPrinter::Error ||
        printer.printerState() == QPrinter::Aborted) {
        if (error) *error = "The print job failed before all of the score sheet was printed.";
        return false;
    }
    return true;
}

bool WriteScoreSheetPdf(const TScoreSheet& sheet, const QString& path, QString* error) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    printer.setPageSize(QPageSize(letter ? QPageSize::Letter : QPageSize::A4));
    printer.setCreator("Chess Zel");
    return PrintScoreSheet(sheet, printer, error);
}
