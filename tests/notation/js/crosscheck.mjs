// Replays games written by our notation tests through an independent chess library and
// reports every disagreement on SAN or FEN. Input: one line per half-move, "from to
// promotion|SAN|FEN after the move", and a line "game" before each game with its start FEN.
// Output: "agreed N" on the last line, after a line per disagreement.
import { readFileSync } from 'node:fs';
import { Chess } from 'chess.js';

const lines = readFileSync(process.argv[2], 'utf8').split('\n').filter((l) => l.length);
let chess = null;
let agreed = 0;
let label = '';
const problems = [];
// FENs compare equal when they differ only in an en-passant square that no pawn can use:
// some writers give it after every double step, others only when a capture is possible.
const sameFen = (a, b) => {
  if (a === b) return true;
  const x = a.split(' '), y = b.split(' ');
  return x.length === 6 && y.length === 6 && x.every((f, i) => i === 3 || f === y[i]);
};
for (const line of lines) {
  if (line.startsWith('game ')) {
    label = line;
    chess = new Chess(line.slice(line.indexOf(' ', 5) + 1));
    continue;
  }
  if (!chess) continue;
  const [squares, san, fen] = line.split('|');
  const [from, to, promotion] = squares.split(' ');
  let move;
  try {
    move = chess.move(promotion ? { from, to, promotion } : { from, to });
  } catch (e) {
    problems.push(`${label}: ${san} (${squares}) refused: ${e.message}`);
    chess = null;
    continue;
  }
  if (move.san !== san) problems.push(`${label}: our ${san}, theirs ${move.san}`);
  else if (!sameFen(chess.fen(), fen)) problems.push(`${label}: our ${fen}, theirs ${chess.fen()}`);
  else agreed++;
}
for (const p of problems) console.log(p);
console.log(`agreed ${agreed}`);
