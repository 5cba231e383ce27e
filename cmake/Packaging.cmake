# The Debian package of the game, built with `cpack -G DEB` in a build folder configured
# for the system prefix (scripts/package does both). Its dependencies are the shared
# libraries the program links (found by dpkg-shlibdeps), the General MIDI sound font the
# music plays through and the fonts the windows are drawn with.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME chesszel)
set(CPACK_PACKAGE_VERSION 3.0.1)
set(CPACK_PACKAGE_VENDOR "The Chess Zel team")
set(CPACK_PACKAGE_CONTACT "The Chess Zel team <chesszel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chess game against the computer or a friend")
set(CPACK_PACKAGE_DESCRIPTION
    "Chess Zel is a chess game for one or two players. Pieces are moved by dragging them
with the mouse and every move is judged by the full rules of chess. The computer plays
either colour, or both, at five levels. Games can be stepped back and forward, up to 20
positions kept under names, and the move list printed. Four window skins, sound effects
and background music.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://chesszel.example.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The music's instruments: the small General MIDI bank, or the large one.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "timgm6mb-soundfont | fluid-soundfont-gm, fonts-liberation2")
# The voice of the spoken moves, which are off until the player asks for them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "qt6-speech-speechd-plugin, speech-dispatcher, speech-dispatcher-espeak-ng")

include(CPack)
