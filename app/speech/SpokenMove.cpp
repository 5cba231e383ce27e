#include "SpokenMove.h"

#include "ChessBrdAccessible.h"

namespace {

// The words of the board's description without its leading colour: "Knight g1 to f3".
QString WithoutColour(QString words) {
    const int space = int(words.indexOf(QLatin1Char(' ')));
    if (space < 0) return words;
    words.remove(0, space + 1);
    if (!words.isEmpty()) words[0] = words[0].toUpper();
    return words;
}

} // namespace

QString SpokenMoveText(const TSpokenMove& m) {
    QString text = WithoutColour(
        MoveInWords(m.Piece, m.From, m.To, m.Capture, false, false, m.Castle));
    if (m.Promotion != 0) text += QStringLiteral(" promotes to ") + PieceName(m.Promotion);
    if (m.End == TGameEnd::Checkmate) {
        const bool white = m.Piece >= 'A' && m.Piece <= 'Z';
        return text + (white ? QStringLiteral(", checkmate. White wins.")
                             : QStringLiteral(", checkmate. Black wins."));
    }
    if (m.Check) text += QStringLiteral(", check");
    switch (m.End) {
    case TGameEnd::Stalemate:
        text += QStringLiteral(". Stalemate. The game is a draw.");
        break;
    case TGameEnd::NoMatingMaterial:
        text += QStringLiteral(". Neither side can checkmate. The game is a draw.");
        break;
    case TGameEnd::Repetition:
        text += QStringLiteral(". The same position has come three times. The game is a draw.");
        break;
    case TGameEnd::Checkmate:
    case TGameEnd::None:
        break;
    }
    return text;
}
