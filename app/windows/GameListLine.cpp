#include "GameListLine.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

constexpr int kFirstMoves = 6; // half-moves shown for a game without player names

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// A tag's value that says nothing: empty, "?" or a date made of question marks.
bool Unknown(const QString& value) {
    return value.isEmpty() || value.count('?') + value.count('.') == value.size() ||
           value == "-";
}

// "1990.??.??" is shown as "1990", "1990.05.??" as "1990.05".
QString ShortDate(QString date) {
    static const QRegularExpression unknownTail("(\\.\\?+)+$");
    return date.remove(unknownTail);
}

struct TGameText {
    QString Tag(const QString& name) const {
        for (const auto& [key, value] : Tags)
            if (key.compare(name, Qt::CaseInsensitive) == 0) return value;
        return {};
    }
    QList<std::pair<QString, QString>> Tags;
    QStringList Moves; // the first moves with their numbers, as written
};

// The tags and the first moves of one game's text; comments, variations and annotation
// glyphs are left out.
TGameText ReadGameText(const QString& game) {
    TGameText read;
    static const QRegularExpression tag("\\s*\\[\\s*(\\w+)\\s+\"((?:[^\"\\\\]|\\\\.)*)\"\\s*\\]");
    qsizetype at = 0;
    while (at < game.size()) {
        const auto m = tag.match(game, at, QRegularExpression::NormalMatch,
                                 QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch()) break;
        QString value = m.captured(2);
        value.replace("\\\"", "\"").replace("\\\\", "\\");
        read.Tags.append({m.captured(1), value.trimmed()});
        at = m.capturedEnd();
    }
    int depth = 0; // of variations
    int moves = 0;
    QString number;
    for (qsizetype i = at; i < game.size() && moves < kFirstMoves;) {
        const QChar c = game[i];
        if (c == '{') {
            const qsizetype close = game.indexOf('}', i);
            i = close < 0 ? game.size() : close + 1;
        } else if (c == ';') {
            const qsizetype end = game.indexOf('\n', i);
            i = end < 0 ? game.size() : end + 1;
        } else if (c == '(' || c == ')') {
            depth += c == '(' ? 1 : depth > 0 ? -1 : 0;
            ++i;
        } else if (c.isSpace()) {
            ++i;
        } else {
            qsizetype end = i;
            while (end < game.size() && !game[end].isSpace() && !QString("{;()").contains(game[end]))
                ++end;
            QString token = game.mid(i, end - i);
            i = end;
            if (depth > 0 || token.startsWith('$')) continue;
            if (token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*") break;
            // A move number, possibly written against its move ("1.e4").
            static const QRegularExpression numbered("^(\\d+\\.+)(.*)$");
            if (const auto m = numbered.match(token); m.hasMatch()) {
                number = m.captured(1);
                token = m.captured(2);
                if (token.isEmpty()) continue;
            }
            if (!number.isEmpty() && !number.endsWith("...")) token = number + " " + token;
            else if (read.Moves.isEmpty() && number.endsWith("...")) token = number + token;
            number.clear();
            read.Moves << token;
            ++moves;
        }
    }
    return read;
}

} // namespace

QString GameListLine(std::string_view text, const std::vector<PgnGameEntry>& games,
                     size_t index) {
    const PgnGameEntry& e = games[index];
    const QString number = QString::number(index + 1) + ". ";
    const QString result = e.Result.empty() || e.Result == "*" ? QString() : "  " + Text(e.Result);
    QStringList about;
    if (!Unknown(Text(e.Event))) about << Text(e.Event);
    const bool named = !Unknown(Text(e.White)) || !Unknown(Text(e.Black));
    if (named) {
        const auto name = [](const std::string& n) { return Unknown(Text(n)) ? "?" : Text(n); };
        if (!Unknown(Text(e.Date))) about << ShortDate(Text(e.Date));
        QString line = number + name(e.White) + " - " + name(e.Black);
        for (const QString& part : about)
            line += ", " + part;
        return line + result;
    }
    // Without names: what the game's own text holds.
    const size_t end = index + 1 < games.size() ? games[index + 1].Offset : text.size();
    const size_t from = std::min(e.Offset, text.size());
    const TGameText game = ReadGameText(Text(text.substr(from, std::max(end, from) - from)));
    const QString opening = game.Tag("Opening");
    const QString variation = game.Tag("Variation");
    if (!Unknown(opening))
        about << (Unknown(variation) ? opening : opening + ", " + variation);
    else if (!Unknown(game.Tag("ECO")))
        about << game.Tag("ECO");
    if (!Unknown(Text(e.Date))) about << ShortDate(Text(e.Date));
    if (!game.Moves.isEmpty()) about << game.Moves.join(' ');
    if (about.isEmpty()) about << QString("game at line %1").arg(e.Line);
    return number + about.join(", ") + result;
}
