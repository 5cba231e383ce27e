#include "ChessBrdAccessible.h"

#include "Announcer.h"
#include "ChessBrd.h"
#include "Text.h"

namespace {

QString Name(int q) {
    return QString::fromStdString(SquareText(q));
}

// One square of the board; it asks the board for everything, so it never goes stale.
class TSquareAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
  public:
    TSquareAccessible(TChessBrdAccessible* table, int row, int column)
        : FTable(table), FRow(row), FColumn(column) {}
    bool isValid() const override { return FTable->Board() != nullptr; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override { return FTable; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override {
        TChessBrd* b = FTable->Board();
        if (b == nullptr || t != QAccessible::Name) return QString();
        return SquareAccessibleName(*b, Sq());
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        TChessBrd* b = FTable->Board();
        if (b == nullptr) return QRect();
        const QPoint at = b->mapToGlobal(b->SquareTopLeft(Square(Sq())));
        return QRect(at, QSize(b->SizeOfSquare(), b->SizeOfSquare()));
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override {
        QAccessible::State s;
        TChessBrd* b = FTable->Board();
        if (b == nullptr) return s;
        s.focusable = b->KeyboardPlay();
        s.focused = b->hasFocus() && b->FocusSquare() == Sq();
        s.selectable = b->ClickToMove() || b->KeyboardPlay();
        s.selected = b->PickedSquare() == Sq();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        return nullptr;
    }
    bool isSelected() const override { return state().selected; }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return FColumn; }
    int rowIndex() const override { return FRow; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return FTable; }

  private:
    int Sq() const { return FTable->SquareAtCell(FRow, FColumn); }
    TChessBrdAccessible* FTable;
    int FRow, FColumn;
};

} // namespace

QString PieceName(char letter) {
    switch (letter | 0x20) {
    case 'p':
        return QStringLiteral("pawn");
    case 'n':
        return QStringLiteral("knight");
    case 'b':
        return QStringLiteral("bishop");
    case 'r':
        return QStringLiteral("rook");
    case 'q':
        return QStringLiteral("queen");
    case 'k':
        return QStringLiteral("king");
    default:
        return QStringLiteral("piece");
    }
}

QString SquareAccessibleName(const TChessBrd& board, int q) {
    const char c = board.PieceAt(q);
    if (c == ' ') return Name(q) + QStringLiteral(", empty");
    const QString colour =
        board.PieceColor(q) == 1 ? QStringLiteral("white ") : QStringLiteral("black ");
    return Name(q) + QStringLiteral(", ") + colour + PieceName(c);
}

QString MovePhrase(const TMoveReport& move) {
    if (move.Castle())
        return move.To > move.From ? QStringLiteral("castles king side")
                                   : QStringLiteral("castles queen side");
    QString text = PieceName(move.Piece) + ' ' + Name(move.From) +
                   (move.Capture() ? QStringLiteral(" takes ") : QStringLiteral(" to ")) +
                   Name(move.To);
    if (move.Promotion != 0) text += QStringLiteral(" promotes to ") + PieceName(move.Promotion);
    return text;
}

QString MoveInWords(const TMoveReport& move) {
    QString text =
        (move.White ? QStringLiteral("White ") : QStringLiteral("Black ")) + MovePhrase(move);
    if (move.Mate)
        text += QStringLiteral(", checkmate");
    else if (move.Check)
        text += QStringLiteral(", check");
    return text;
}

TChessBrdAccessible::TChessBrdAccessible(TChessBrd* board)
    : QAccessibleWidget(board, QAccessible::Table) {}

TChessBrdAccessible::~TChessBrdAccessible() {
    for (QAccessible::Id id : FCells)
        if (id != 0) QAccessible::deleteAccessibleInterface(id);
}

QAccessibleInterface* TChessBrdAccessible::Factory(const QString& key, QObject* object) {
    if (key == QLatin1String("TChessBrd") && object != nullptr && object->isWidgetType())
        return new TChessBrdAccessible(static_cast<TChessBrd*>(object));
    return nullptr;
}

void TChessBrdAccessible::Tell(QAccessibleEvent& e) {
    if (Listener) Listener(&e);
    QAccessible::updateAccessibility(&e);
}

TChessBrd* TChessBrdAccessible::Board() const {
    return static_cast<TChessBrd*>(widget());
}

void* TChessBrdAccessible::interface_cast(QAccessible::InterfaceType t) {
    if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
}

QString TChessBrdAccessible::text(QAccessible::Text t) const {
    TChessBrd* b = Board();
    if (t == QAccessible::Name) {
        const QString own = b->accessibleName();
        return own.isEmpty() ? QStringLiteral("Chess board") : own;
    }
    if (t == QAccessible::Description) return b->LastMoveInWords();
    return QAccessibleWidget::text(t);
}

int TChessBrdAccessible::SquareAtCell(int row, int column) const {
    if (Board()->WhiteOnTop()) {
        row = 7 - row;
        column = 7 - column;
    }
    return row * 8 + column + 1;
}

int TChessBrdAccessible::CellOf(int q) const {
    return Board()->WhiteOnTop() ? 64 - q : q - 1;
}

QAccessibleInterface* TChessBrdAccessible::cellAt(int row, int column) const {
    if (row < 0 || row > 7 || column < 0 || column > 7) return nullptr;
    QAccessible::Id& id = FCells[std::size_t(row * 8 + column)];
    if (id == 0) {
        auto* cell = new TSquareAccessible(const_cast<TChessBrdAccessible*>(this), row, column);
        id = QAccessible::registerAccessibleInterface(cell);
    }
    return QAccessible::accessibleInterface(id);
}

QAccessibleInterface* TChessBrdAccessible::child(int index) const {
    return index >= 0 && index < 64 ? cellAt(index / 8, index % 8) : nullptr;
}

int TChessBrdAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (int i = 0; i < 64; ++i)
        if (FCells[std::size_t(i)] != 0 &&
            QAccessible::accessibleInterface(FCells[std::size_t(i)]) == child)
            return i;
    return -1;
}

QAccessibleInterface* TChessBrdAccessible::childAt(int x, int y) const {
    const QPoint at = Board()->mapFromGlobal(QPoint(x, y));
    const Square q = Board()->SquareAtPoint(at.x(), at.y());
    return q != None ? child(CellOf(q)) : nullptr;
}

QAccessibleInterface* TChessBrdAccessible::focusChild() const {
    TChessBrd* b = Board();
    const int q = b->FocusSquare();
    if (!b->hasFocus() || q < 1 || q > 64) return nullptr;
    return child(CellOf(q));
}

int TChessBrdAccessible::selectedCellCount() const {
    return Board()->PickedSquare() != None ? 1 : 0;
}

QList<QAccessibleInterface*> TChessBrdAccessible::selectedCells() const {
    const Square q = Board()->PickedSquare();
    if (q == None) return {};
    return {child(CellOf(q))};
}

QString TChessBrdAccessible::columnDescription(int column) const {
    return QString(QChar('a' + FileOf(SquareAtCell(0, column)) - 1));
}

QString TChessBrdAccessible::rowDescription(int row) const {
    return QString::number(RankOf(SquareAtCell(row, 0)));
}

// --- What the board tells assistive technology ----------------------------------------------

void TChessBrd::AnnounceMove(const TMoveReport& move) {
    FLastMoveWords = MoveInWords(move);
    if (!TChessBrdAccessible::Listened()) return;
    QAccessibleEvent described(this, QAccessible::DescriptionChanged);
    TChessBrdAccessible::Tell(described);
    // The computer's move is said as it happens, without moving the focus; a person's own
    // move is heard through the board's description.
    if (move.White ? FComputerPlaysWhite : FComputerPlaysBlack) TAnnouncer::Say(this, FLastMoveWords);
    // The cells whose pieces changed have new names: the squares the move left and took,
    // the pawn taken en passant and the castling rook's two squares.
    auto* table = static_cast<TChessBrdAccessible*>(QAccessible::queryAccessibleInterface(this));
    if (table == nullptr) return;
    const Square changed[] = {move.From, move.To, move.EnPassant ? move.CapturedOn : None,
                              move.RookFrom, move.RookTo};
    for (const Square q : changed) {
        if (q == None) continue;
        QAccessibleEvent renamed(table->child(table->CellOf(q)), QAccessible::NameChanged);
        TChessBrdAccessible::Tell(renamed);
    }
}

void TChessBrd::AnnounceFocus() {
    if (!hasFocus() || FFocusSquare == FToldFocus) return;
    FToldFocus = FFocusSquare;
    if (!TChessBrdAccessible::Listened()) return;
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(this);
    QAccessibleInterface* cell = table != nullptr ? table->focusChild() : nullptr;
    if (cell == nullptr) return;
    QAccessibleEvent focused(cell, QAccessible::Focus);
    TChessBrdAccessible::Tell(focused);
}
