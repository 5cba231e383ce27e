// Chess Zel: for now a plain window holding one board on which a person plays White by
// dragging pieces against the computer, which plays Black at depth 3.

#include <QApplication>
#include <QVBoxLayout>
#include <QWidget>

#include "ChessBrd.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Chess Zel");

    QWidget window;
    window.setWindowTitle("Chess Zel");
    auto* board = new TChessBrd(&window);
    board->move(12, 12);
    board->SetSearchDepth(3);
    board->SetDisplayCoords(CoordSet{0x0F});
    board->SetComputerPlaysBlack(true);
    window.resize(board->Width() + 24, board->Height() + 24);
    window.show();
    return app.exec();
}
