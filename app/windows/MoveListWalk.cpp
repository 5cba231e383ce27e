#include "MoveListWalk.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QRegularExpression>

#include <algorithm>

#include "ChessGame.h"

std::optional<THalfMove> HalfMoveOfLine(const QStringList& lines, int row) {
    if (row < 0 || row >= lines.size()) return std::nullopt;
    static const QRegularExpression white(QStringLiteral("^(\\d+)\\. \\S"));
    static const QRegularExpression black(QStringLiteral("^ {14}\\S"));
    const QString& line = lines[row];
    if (const auto m = white.match(line); m.hasMatch())
        return THalfMove{m.captured(1).toInt(), true};
    if (!black.match(line).hasMatch()) return std::nullopt;
    // Black's line follows White's line of the same move.
    const auto above = HalfMoveOfLine(lines, row - 1);
    if (!above || !above->White) return std::nullopt;
    return THalfMove{above->Move, false};
}

int LineOfPosition(const QStringList& lines, int move, bool whiteToMove) {
    const THalfMove played = whiteToMove ? THalfMove{move - 1, false} : THalfMove{move, true};
    for (int row = 0; row < lines.size(); ++row)
        if (HalfMoveOfLine(lines, row) == played) return row;
    return -1;
}

TMoveListWalk::TMoveListWalk(QListWidget* list, const TChessGame* game, TGoTo goTo)
    : QObject(list), FList(list), FGame(game), FGoTo(std::move(goTo)) {
    FList->installEventFilter(this);
    FList->viewport()->installEventFilter(this);
}

QStringList TMoveListWalk::Lines() const {
    QStringList lines;
    for (int i = 0; i < FList->count(); ++i)
        lines << FList->item(i)->text();
    return lines;
}

int TMoveListWalk::LastMoveLine(const QStringList& lines) const {
    int row = int(lines.size()) - 1;
    while (row >= 0 && !HalfMoveOfLine(lines, row))
        --row;
    return row;
}

void TMoveListWalk::MarkCurrentMove() {
    const int row = LineOfPosition(Lines(), FGame->CurrentMove(), FGame->WhiteToMove());
    if (row < 0) {
        FList->clearSelection();
        if (FList->hasFocus()) FList->setCurrentRow(-1);
        return;
    }
    // A list without the focus would still tell assistive technology that its current line
    // has it; there the line is only selected, and becomes current when the focus comes.
    if (FList->hasFocus()) {
        FList->setCurrentRow(row);
    } else {
        FList->selectionModel()->select(FList->model()->index(row, 0),
                                        QItemSelectionModel::ClearAndSelect);
    }
    FList->scrollToItem(FList->item(row));
}

bool TMoveListWalk::GoToLine(int row) {
    const QStringList lines = Lines();
    row = std::min(row, int(lines.size()) - 1);
    while (row >= 0 && !HalfMoveOfLine(lines, row))
        --row;
    if (row < 0) return false;
    const THalfMove h = *HalfMoveOfLine(lines, row);
    // The position after White's half-move of n is Black's of n; after Black's, White's of n+1.
    const bool went = h.White ? FGoTo(h.Move, false) : FGoTo(h.Move + 1, true);
    MarkCurrentMove();
    return went;
}

// The walking keys go through the game's half-moves from the marked line, not from the
// list's own current line; every other key goes to the list, except typed letters, whose
// search would move the list's line away from the board's position.
bool TMoveListWalk::Key(int key) {
    const QStringList lines = Lines();
    const int last = LastMoveLine(lines);
    if (last < 0) return false;
    const int marked = LineOfPosition(lines, FGame->CurrentMove(), FGame->WhiteToMove());
    const int rowHeight = std::max(1, FList->sizeHintForRow(0));
    const int page = std::max(1, FList->viewport()->height() / rowHeight - 1);
    int target = marked;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        target = marked < 0 ? marked : std::max(0, marked - 1);
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        target = std::min(last, marked + 1);
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = last;
        break;
    case Qt::Key_PageUp:
        target = marked < 0 ? marked : std::max(0, marked - page);
        break;
    case Qt::Key_PageDown:
        target = std::min(last, std::max(marked, 0) + page);
        break;
    default:
        return false;
    }
    if (target != marked)
        GoToLine(target);
    else
        MarkCurrentMove();
    return true;
}

bool TMoveListWalk::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FList) {
        if (event->type() == QEvent::FocusIn) {
            // The marked line becomes the current one before the list takes the focus, so
            // the line announced is the position's.
            const int row = LineOfPosition(Lines(), FGame->CurrentMove(), FGame->WhiteToMove());
            if (row >= 0) FList->setCurrentRow(row);
            return false;
        }
        if (event->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(event);
            if (Key(k->key())) return true;
            const bool typed = !k->text().isEmpty() && k->text().at(0).isPrint() &&
                               !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
            return typed;
        }
        return false;
    }
    // The list's viewport: a press goes to the line under the pointer; the list's own
    // handling of presses, drags and double clicks would move its line by itself.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* m = static_cast<QMouseEvent*>(event);
        // Any button would make the line under it current; only the left one walks.
        if (m->button() != Qt::LeftButton) return true;
        FList->setFocus(Qt::MouseFocusReason);
        const int row = FList->indexAt(m->position().toPoint()).row();
        if (row >= 0) GoToLine(row);
        return true;
    }
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
        return true;
    case QEvent::MouseMove:
        return static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton;
    default:
        return false;
    }
}
