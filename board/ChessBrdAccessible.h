#pragma once
// The board as assistive technology sees it: a table of 8 x 8 cells in the order they are
// on the screen, each named after its square and piece ("e4, white pawn", "e4, empty"),
// the keyboard's focus square as the focused cell and the piece held as the selected one.
// The board's description is the last move in words ("White knight g1 takes e5, check").

#include <QAccessibleWidget>
#include <QString>

#include <array>
#include <functional>

#include "MoveReport.h"

class TChessBrd;

// The name of a piece letter of either colour ("knight" for 'N' and 'n'); "piece" for others.
QString PieceName(char letter);
// The cell's name for square q of the board.
QString SquareAccessibleName(const TChessBrd& board, int q);
// What a move did, without the side that made it: "knight g1 takes e5", "castles king
// side", "pawn b7 takes a8 promotes to knight".
QString MovePhrase(const TMoveReport& move);
// The board's description of a move: the side, the phrase, then check or checkmate
// ("White knight g1 takes e5, check").
QString MoveInWords(const TMoveReport& move);

class TChessBrdAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit TChessBrdAccessible(TChessBrd* board);
    ~TChessBrdAccessible() override;
    // The factory given to the accessibility framework; installed by the first board.
    static QAccessibleInterface* Factory(const QString& key, QObject* object);

    void* interface_cast(QAccessible::InterfaceType t) override;
    QAccessible::Role role() const override { return QAccessible::Table; }
    QString text(QAccessible::Text t) const override;
    int childCount() const override { return 64; }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    int columnCount() const override { return 8; }
    int rowCount() const override { return 8; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

    // Hears every event the boards send, also when no assistive technology listens (the
    // framework then drops them); for tests and tools.
    static inline std::function<void(QAccessibleEvent*)> Listener;
    // Sends an event to the framework and the listener.
    static void Tell(QAccessibleEvent& e);
    static bool Listened() { return QAccessible::isActive() || bool(Listener); }

    TChessBrd* Board() const;
    // The square shown in screen cell (row, column), orientation included.
    int SquareAtCell(int row, int column) const;
    // The child index (row * 8 + column) of the cell showing square q, 1..64.
    int CellOf(int q) const;

  private:
    mutable std::array<QAccessible::Id, 64> FCells{};
};
