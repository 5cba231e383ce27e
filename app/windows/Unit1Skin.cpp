// The main window's looks: the skins, the side panel's button pictures and the colours and
// fonts of its panels and text lines.

#include "Unit1.h"

#include "ButtonGlyph.h"
#include "Fonts.h"
#include "SkinTable.h"

void TForm1::AplicaSkin(int index) {
    // 1. The row of the table; any other index changes nothing.
    if (index < 0 || index >= int(SkinTable.size())) return;
    const TSkin& skin = SkinTable[std::size_t(index)];
    // 2. The backgrounds, in this order.
    const QPixmap background(skin.Background.Resource);
    for (QLabel* image : {ui.Image1, ui.Image2, ui.Image3, ui.Image4})
        image->setPixmap(background);
    // 3. The squares, light then dark.
    if (ui.ChessBrd1) {
        ui.ChessBrd1->SetSquareLight(QImage(skin.Light.Resource));
        ui.ChessBrd1->SetSquareDark(QImage(skin.Dark.Resource));
    }
}

void TForm1::LoadButtonPictures() {
    const std::pair<QToolButton*, const char*> buttons[] = {
        {ui.SpeedButton4, "Back"},     {ui.SpeedButton5, "Forward"}, {ui.SpeedButton9, "Print"},
        {ui.SpeedButton15, "Options"}, {ui.SpeedButton16, "About"},  {ui.SpeedButton13, "NewGame"},
        {ui.SpeedButton14, "Restart"}, {ui.SpeedButton10, "Save"},   {ui.SpeedButton12, "Open"},
        {ui.SpeedButton17, "Exit"},
    };
    for (const auto& [button, name] : buttons) {
        button->setIcon(GlyphIcon(QImage(QString(":/buttons/%1.bmp").arg(name))));
        button->setIconSize(QSize(16, 16));
    }
}

void TForm1::StyleControls() {
    // The black areas behind the board and the text lines.
    for (QFrame* black : {ui.Panel8, ui.Panel1}) {
        black->setAutoFillBackground(true);
        QPalette p = black->palette();
        p.setColor(QPalette::Window, Qt::black);
        black->setPalette(p);
    }
    const auto colour = [](QWidget* w, const QColor& c) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, c);
        w->setPalette(p);
    };
    colour(ui.Label1, Qt::red);
    for (QLabel* l : {ui.Label2, ui.Label3, ui.Label4})
        colour(l, Qt::white);
    // The title: black letters over a white copy one pixel down and right.
    const QFont title = [] {
        QFont f = LayoutFont(8, true);
        f.setPixelSize(13);
        return f;
    }();
    ui.Label7->setFont(title);
    ui.Label8->setFont(title);
    colour(ui.Label7, Qt::black);
    colour(ui.Label8, Qt::white);
    ui.Label7->raise();
    // Panels show the skin through; the inner frame has a single line border.
    ui.Panel2->setStyleSheet("#Panel2 { border: 1px solid #404040; background: transparent; }");
    for (QGroupBox* g : findChildren<QGroupBox*>())
        g->setStyleSheet("QGroupBox { background: transparent; }");
    ui.ListBox1->setStyleSheet("QListWidget::item { height: 13px; padding: 0px; }");
    ui.ListBox1->setUniformItemSizes(true);
}
