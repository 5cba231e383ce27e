#include "Unit2.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>

#include "AppPaths.h"
#include "ChessBrd.h"
#include "Fonts.h"
#include "SavedGames.h"
#include "ScreenFit.h"
#include "ui_Unit2.h"

namespace {

constexpr int kLineHeight = 15;

} // namespace

TFrmSalvar::TFrmSalvar(QWidget* parent) : QDialog(parent), ui(new Ui::TFrmSalvar) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    setFixedSize(size());
    // The description keeps the layout's point sizes; the window shows them as the pixel
    // sizes they had on the screen the layout was drawn for.
    setFont(LayoutFont());
    QFont listFont("Times New Roman");
    listFont.setPixelSize(13);
    ui->ListBox1->setFont(listFont);
    ui->ImageAreaMove->setAttribute(Qt::WA_TransparentForMouseEvents);

    AskName = [this](const QString& suggestion) -> std::optional<QString> {
        bool ok = false;
        const QString name = QInputDialog::getText(
            this, "Salvar", "Informe um nome descritivo:", QLineEdit::Normal, suggestion, &ok);
        if (!ok) return std::nullopt;
        return name;
    };
    AskReplace = [this](const QString& name) {
        const QString text = QString("A saved game named %1 already exists. Replace it?").arg(name);
        return QMessageBox::question(this, "Salvar", text, QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    };
    ShowMessage = [this](const QString& text) {
        QMessageBox::warning(this, QApplication::applicationName(), text);
    };

    connect(ui->SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(ui->SpeedButton2, &QPushButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(ui->ListBox1, &QListWidget::itemDoubleClicked, this, [this] { SpeedButton1Click(); });
}

TFrmSalvar::~TFrmSalvar() = default;

void TFrmSalvar::SetBackground(const QPixmap& picture) {
    ui->image->setPixmap(picture);
}

void TFrmSalvar::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    FitOnScreen(this);
    FormShow();
}

void TFrmSalvar::FormShow() {
    // 1. Empty the list.
    ui->ListBox1->clear();
    // 2. One line per place, so that line i always stands for place i.
    FSlots = saved::TSavedGames(paths::SavedGamesFile()).SlotNames();
    for (const auto& name : FSlots) {
        auto* item = new QListWidgetItem(name ? QString::fromStdString(*name) : "Empty");
        item->setSizeHint(QSize(ui->ListBox1->viewport()->width(), kLineHeight));
        ui->ListBox1->addItem(item);
    }
}

void TFrmSalvar::SpeedButton1Click() {
    // 1. Nothing without a selected line.
    // The list's current line alone (set when it takes the focus) is no choice of the user's.
    const QList<QListWidgetItem*> selected = ui->ListBox1->selectedItems();
    if (selected.isEmpty() || FMainBoard == nullptr) return;
    const int line = ui->ListBox1->row(selected.front());
    if (line < 0 || line >= saved::kPlaces) return;
    // 2. The line's own name, or a suggestion for an empty place.
    const auto& current = FSlots[static_cast<std::size_t>(line)];
    QString name = QString::fromStdString(current ? *current : saved::SuggestedName(line));

    // 3. Ask until the user gives a name the file can keep, or cancels. A name that another
    // place uses would replace that place's position: only when the user agrees.
    saved::TSavedGames store(paths::SavedGamesFile());
    std::string entered;
    for (;;) {
        const auto answer = AskName(name);
        if (!answer) return;
        name = *answer;
        entered = name.toStdString();
        std::string reason;
        if (!saved::NameIsValid(entered, &reason)) {
            ShowMessage(QString::fromStdString(reason));
            continue;
        }
        if (store.NameUsedElsewhere(line, entered) && !AskReplace(name)) continue;
        break;
    }

    // 4., 5. The name into the place, the position under the name.
    const std::string position = FMainBoard->PositionText().toStdString();
    if (!store.Save(line, entered, position)) {
        ShowMessage(QString("Unable to write to %1").arg(QString::fromStdString(store.Path())));
        return;
    }
    // 6. Close the window.
    accept();
}

void TFrmSalvar::SpeedButton2Click() {
    reject();
}
