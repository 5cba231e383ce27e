#include "UnSobre.h"

#include <QApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>

#include "Fonts.h"
#include "ScreenFit.h"
#include "ui_UnSobre.h"

namespace {

void Underline(QLabel* label, const QColor& colour) {
    QFont f = label->font();
    f.setUnderline(true);
    label->setFont(f);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

} // namespace

TFrmSobre::TFrmSobre(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), ui(new Ui::TFrmSobre),
      Timer1(new QTimer(this)) {
    setFont(LayoutFont());
    ui->setupUi(this);
    setFixedSize(257, 225);
    setModal(true);

    // The viewport and the strip are white; the strip's children are clipped to the
    // viewport, which is what makes the credits appear and vanish at its edges.
    for (QWidget* w : {static_cast<QWidget*>(ui->ScrollBox1), ui->ScrollBox2}) {
        QPalette p = w->palette();
        p.setColor(QPalette::Window, Qt::white);
        w->setPalette(p);
        w->setAutoFillBackground(true);
    }

    ui->ImageLogo->setPixmap(QPixmap(":/about/Logo.bmp"));
    ui->ImageIcon->setPixmap(QPixmap(":/about/Icon.bmp"));
    ui->ImageCredits->setPixmap(QPixmap(":/about/Credits.bmp"));

    QFont version = ui->Label10->font();
    version.setUnderline(true);
    ui->Label10->setFont(version);
    QFont heading = ui->Label12->font();
    heading.setBold(true);
    ui->Label12->setFont(heading);
    Underline(ui->Label13, Qt::blue);
    Underline(ui->Label7, Qt::black);
    ui->Label7->setText(ContactAddress);
    ui->Label13->setText(ContactAddress);

    QFont ok = ui->SpeedButton3->font();
    ok.setBold(true);
    ui->SpeedButton3->setFont(ok);
    connect(ui->SpeedButton3, &QPushButton::clicked, this, &TFrmSobre::SpeedButton3Click);

    Timer1->setInterval(15);
    connect(Timer1, &QTimer::timeout, this, &TFrmSobre::Timer1Timer);
}

TFrmSobre::~TFrmSobre() {
    if (qApp) qApp->removeEventFilter(this);
    delete ui;
}

void TFrmSobre::SetBackground(const QPixmap& picture) {
    ui->Image3->setPixmap(picture);
}

int TFrmSobre::CreditsTop() const {
    return ui->ScrollBox2->y();
}

bool TFrmSobre::Scrolling() const {
    return Timer1->isActive();
}

void TFrmSobre::Timer1Timer() {
    QWidget* strip = ui->ScrollBox2;
    int top = strip->y() - 1;
    if (top < -strip->height()) top = ui->ScrollBox1->height();
    strip->move(strip->x(), top);
}

void TFrmSobre::SpeedButton3Click() {
    accept();
}

void TFrmSobre::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFrmSobre::hideEvent(QHideEvent* event) {
    FormClose();
    QDialog::hideEvent(event);
}

void TFrmSobre::FormShow() {
    FitOnScreen(this);
    // The window sees every key first, whichever of its controls has the focus.
    qApp->installEventFilter(this);
    Timer1->start();
}

void TFrmSobre::FormClose() {
    qApp->removeEventFilter(this);
    Timer1->stop();
    ui->ScrollBox2->move(ui->ScrollBox2->x(), ReopenTop);
}

bool TFrmSobre::FormKeyDown(int key) {
    if (key != Qt::Key_Escape) return false;
    reject();
    return true;
}

bool TFrmSobre::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && (w == this || isAncestorOf(w)))
            if (FormKeyDown(static_cast<QKeyEvent*>(event)->key())) return true;
    } else if (event->type() == QEvent::MouseButtonRelease && // clicks on the contact labels
               static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ui->Label7) Label7Click();
        if (watched == ui->Label13) Label13Click();
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmSobre::Label7Click() {
    OpenMailLink();
}

void TFrmSobre::Label13Click() {
    OpenMailLink();
}

void TFrmSobre::OpenMailLink() {
    QDesktopServices::openUrl(QUrl(QString("mailto:") + ContactAddress));
}
