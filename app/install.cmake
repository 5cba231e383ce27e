# Installing Chess Zel as a desktop application:
#   bin/chesszel                               the program
#   share/chesszel/                            its data folder: sounds, music, help
#   share/applications/, share/metainfo/       desktop entry and software-centre metadata
#   share/icons/hicolor/<size>/apps/           the program's icon, scalable and 16 to 256 px
# The program finds its data folder as ../share/chesszel/ beside its own folder.
include(GNUInstallDirs)

set(ZEL_APP_ID org.chesszel.ChessZel)
set(zel_desktop ${PROJECT_SOURCE_DIR}/resources/desktop)
set(zel_icons ${PROJECT_SOURCE_DIR}/resources/icons)

install(TARGETS chesszel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/data/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/chesszel)
install(FILES ${zel_desktop}/${ZEL_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${zel_desktop}/${ZEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The icons are installed under the application's id, the name the desktop entry gives.
install(FILES ${zel_icons}/chesszel.svg OPTIONAL
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${ZEL_APP_ID}.svg)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${zel_icons}/hicolor/${size}x${size}/apps/chesszel.png OPTIONAL
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${ZEL_APP_ID}.png)
endforeach()

# Installs into a fresh prefix, validates what desktops read, and starts the installed
# program to ask which data folder it found.
add_test(NAME app_install
         COMMAND ${PROJECT_SOURCE_DIR}/tests/app/install_test.sh ${CMAKE_BINARY_DIR} ${ZEL_APP_ID})
set_tests_properties(app_install PROPERTIES TIMEOUT 120)
