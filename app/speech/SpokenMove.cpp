#include "SpokenMove.h"

#include "ChessBrdAccessible.h"

QString SpokenMoveText(const TMoveReport& move) {
    QString text = MovePhrase(move);
    text[0] = text[0].toUpper();
    if (move.Mate)
        return text + (move.White ? QStringLiteral(", checkmate. White wins.")
                                  : QStringLiteral(", checkmate. Black wins."));
    if (move.Check) text += QStringLiteral(", check");
    // A move that ends the game more than one way is told by the first.
    switch (move.End()) {
    case TGameOver::StaleMate:
        text += QStringLiteral(". Stalemate. The game is a draw.");
        break;
    case TGameOver::NoMatingMaterial:
        text += QStringLiteral(". Neither side can checkmate. The game is a draw.");
        break;
    case TGameOver::Threefold:
        text += QStringLiteral(". The same position has come three times. The game is a draw.");
        break;
    default:
        break;
    }
    return text;
}
