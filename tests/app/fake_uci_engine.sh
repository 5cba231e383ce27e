#!/bin/sh
# A stand-in UCI engine for the tests. FAKE_UCI_MODE chooses how it answers "go":
#   good     bestmove $FAKE_UCI_MOVE (e7e5 by default)
#   slow     never answers
#   late     answers as good does, but only after a second
#   illegal  a move that is no legal move in the usual test positions
#   garbage  a text that is no move at all
#   die      ends at once
#   mute     never even finishes the greeting
#   chatty   says who it is before it is asked, then answers as good does
#   xboard   answers "uci" as an engine of the other protocol does, with an error
#   leave    ends when it is sent "uci"
# Every line it receives is appended to $FAKE_UCI_LOG when that is set.
mode="${FAKE_UCI_MODE:-good}"
log="${FAKE_UCI_LOG:-/dev/null}"
[ "$mode" = chatty ] && echo "Fake Engine 1.0 by the tests" && mode=good
while IFS= read -r line; do
  printf '%s\n' "$line" >>"$log"
  case "$line" in
    uci)
      [ "$mode" = mute ] && continue
      [ "$mode" = xboard ] && echo "Error (unknown command): uci" && continue
      [ "$mode" = leave ] && exit 1
      echo "id name Fake Engine 1.0"
      echo "option name Hash type spin default 16 min 1 max 1024"
      echo "option name Skill Level type spin default 20 min 0 max 20"
      echo "uciok" ;;
    isready) echo "readyok" ;;
    go*)
      case "$mode" in
        good) echo "info depth 1 score cp 10"; echo "bestmove ${FAKE_UCI_MOVE:-e7e5}" ;;
        slow) ;;
        late) sleep 1; echo "bestmove ${FAKE_UCI_MOVE:-e7e5}" ;;
        illegal) echo "bestmove e8e6" ;;
        garbage) echo "bestmove castle!" ;;
        die) exit 3 ;;
      esac ;;
    quit) exit 0 ;;
  esac
done
