#pragma once
// Shared pieces of the board's drawing and mouse tests: the application object, synthetic
// mouse events with an explicit button state, and surface access.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>

#include <memory>

#include "ChessBrd.h"

inline QApplication& TestApp() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char arg0[] = "board_test";
    static char* argv[] = {arg0, nullptr};
    // Never destroyed: tearing it down among the exit handlers races Qt's own statics.
    static auto* app = new QApplication(argc, argv);
    return *app;
}

// A board in a window of its own, which owns it; the test shows the window when it is ready.
class BoardInWindowTest : public ::testing::Test {
  protected:
    void MakeBoard(int windowSize = 420) {
        TestApp();
        host = std::make_unique<QWidget>();
        host->resize(windowSize, windowSize);
        b = new TChessBrd(host.get());
    }

    std::unique_ptr<QWidget> host;
    TChessBrd* b = nullptr;
};

inline void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons held) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

inline QRgb At(const TChessBrd& b, int x, int y) {
    return b.Surface().pixel(x, y) | 0xFF000000u;
}

inline QPoint Centre(const TChessBrd& b, Square q) {
    const int h = b.SizeOfSquare() / 2;
    return b.SquareTopLeft(q) + QPoint(h, h);
}

inline QImage SquarePicture(const TChessBrd& b, Square q) {
    return b.Surface().copy(QRect(b.SquareTopLeft(q), QSize(b.SizeOfSquare(), b.SizeOfSquare())));
}

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig keeps its caches until the process ends; that is not a leak of ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}
#endif
