#include "QuestionKeys.h"

namespace {

QList<TQuestionKey> MakeTable() {
    QList<TQuestionKey> t;
    const QString pieces = QStringLiteral("Where pieces stand");
    const QString ranks = QStringLiteral("What stands on a rank");
    const QString files = QStringLiteral("What stands on a file");
    t.append({TBoardQuestion::LastMove, 0, QKeySequence(Qt::Key_L), "The last move", {}});
    t.append({TBoardQuestion::Turn, 0, QKeySequence(Qt::Key_T), "Whose turn it is", {}});
    t.append({TBoardQuestion::Clock, 0, QKeySequence(Qt::Key_C), "The game's time", {}});
    t.append({TBoardQuestion::Attackers,
              0,
              QKeySequence(Qt::Key_A),
              "What attacks and defends the focused square",
              {}});
    t.append({TBoardQuestion::Moves,
              0,
              QKeySequence(Qt::Key_M),
              "Where the focused piece can move",
              {}});
    const struct {
        char Letter;
        Qt::Key Key;
        const char* Plural;
    } kinds[] = {{'p', Qt::Key_P, "pawns"},   {'n', Qt::Key_N, "knights"},
                 {'b', Qt::Key_B, "bishops"}, {'r', Qt::Key_R, "rooks"},
                 {'q', Qt::Key_Q, "queens"},  {'k', Qt::Key_K, "kings"}};
    for (bool white : {true, false})
        for (const auto& k : kinds)
            t.append(
                {TBoardQuestion::Pieces, white ? k.Letter - 'a' + 'A' : k.Letter,
                 QKeySequence(white ? QKeyCombination(k.Key) : QKeyCombination(Qt::SHIFT, k.Key)),
                 QString(white ? "White " : "Black ") + k.Plural, pieces});
    for (int rank = 1; rank <= 8; ++rank)
        t.append({TBoardQuestion::Rank, rank, QKeySequence(Qt::Key(Qt::Key_0 + rank)),
                  QStringLiteral("Rank %1").arg(rank), ranks});
    for (int file = 1; file <= 8; ++file)
        t.append({TBoardQuestion::File, file,
                  QKeySequence(QKeyCombination(Qt::ALT, Qt::Key(Qt::Key_A + file - 1))),
                  QStringLiteral("File %1").arg(QChar('a' + file - 1)), files});
    return t;
}

} // namespace

const QList<TQuestionKey>& QuestionKeys() {
    static const QList<TQuestionKey> table = MakeTable();
    return table;
}

std::optional<TQuestionKey> QuestionOfKey(int key, Qt::KeyboardModifiers modifiers) {
    // The keypad's digits ask for ranks like the others.
    modifiers &= ~Qt::KeypadModifier;
    const QKeyCombination pressed(modifiers, Qt::Key(key));
    for (const auto& q : QuestionKeys())
        if (q.Key[0] == pressed) return q;
    return std::nullopt;
}
