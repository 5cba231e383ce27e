#include "Unit3.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>

#include <algorithm>

#include "AppPaths.h"
#include "ChessBrd.h"
#include "DescriptionLoading.h"
#include "DragArea.h"
#include "Fonts.h"
#include "ScreenFit.h"
#include "ui_Unit3.h"

namespace {

constexpr int kLineHeight = 13;
constexpr int kPreviewPieceSize = 25; // the preview's square size

// The board's default pieces redrawn at the preview's square size. Drawn as they are, the
// 40-pixel pieces would spill over their 25-pixel squares onto their neighbours. Each piece
// is scaled with its mask as alpha, so no background colour bleeds into its edge, and is
// stored back as picture and mask rows, the layout every piece set has.
QImage PreviewPieceSet(const QImage& source, int size) {
    const int p = source.height() / 4;
    if (p <= 0 || source.width() != 6 * p) return QImage();
    const QImage cells = source.convertToFormat(QImage::Format_RGB32);
    QImage set(6 * size, 4 * size, QImage::Format_RGB32);
    for (int c = 0; c < 2; ++c) {
        for (int k = 0; k < 6; ++k) {
            QImage piece(p, p, QImage::Format_ARGB32);
            for (int y = 0; y < p; ++y) {
                for (int x = 0; x < p; ++x) {
                    const QRgb pic = cells.pixel(k * p + x, 2 * c * p + y);
                    const QRgb mask = cells.pixel(k * p + x, 2 * c * p + p + y);
                    const bool opaque = (mask & 0xFFFFFFu) != 0xFFFFFFu;
                    piece.setPixel(x, y, opaque ? (pic | 0xFF000000u) : 0u);
                }
            }
            const QImage small =
                piece.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                    .scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .convertToFormat(QImage::Format_ARGB32);
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    const QRgb px = small.pixel(x, y);
                    const bool opaque = qAlpha(px) >= 128;
                    set.setPixel(k * size + x, 2 * c * size + y, opaque ? px : 0xFFFFFFFFu);
                    set.setPixel(k * size + x, 2 * c * size + size + y,
                                 opaque ? 0xFF000000u : 0xFFFFFFFFu);
                }
            }
        }
    }
    return set;
}

// Why a saved position cannot be played, empty when it can: a king of each side, and not
// both of them attacked.
QString SavedPositionFault(const TChessGame& g) {
    const std::string board = g.Position();
    for (const char king : {'K', 'k'}) {
        const QString side = king == 'K' ? "White" : "Black";
        const auto kings = std::count(board.begin(), board.end(), king);
        if (kings == 0) return side + " has no king";
        if (kings > 1) return side + " has " + QString::number(kings) + " kings";
    }
    if (g.WhiteKingInCheck(None, None) && g.BlackKingInCheck(None, None))
        return "both kings are in check";
    return QString();
}

} // namespace

TFrmAbrir::TFrmAbrir(QWidget* parent) : QDialog(parent), ui(new Ui::TFrmAbrir) {
    {
        TDescriptionLoading loading;
        ui->setupUi(this);
    }
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setModal(true);
    setFixedSize(size());
    // The description keeps the layout's point size; the window shows it as the pixel size
    // it had on the screen the layout was drawn for.
    setFont(LayoutFont());

    // The preview lies under the drag area: presses pass through it to the window, which
    // drags, so no piece can be picked up.
    ui->ChessBrd1->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->ChessBrd1->setFocusPolicy(Qt::NoFocus);
    ui->ChessBrd1->SetCustomPieceSet(
        PreviewPieceSet(QImage(":/SETKOVIRA40.bmp"), kPreviewPieceSize));
    ui->ImageAreaMove->setAttribute(Qt::WA_TransparentForMouseEvents);
    InstallDragArea(this, ui->ImageAreaMove->geometry());

    ShowMessage = [this](const QString& text) {
        QMessageBox::warning(this, QApplication::applicationName(), text);
    };

    connect(ui->SpeedButton1, &QPushButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(ui->SpeedButton2, &QPushButton::clicked, this, [this] { SpeedButton2Click(); });
    connect(ui->SpeedButton3, &QPushButton::clicked, this, [this] { SpeedButton3Click(); });
    // A line counts as chosen only when it is selected: the list's current line alone (set
    // when it takes the focus) is no choice of the user's.
    connect(ui->ListBox1, &QListWidget::itemSelectionChanged, this, [this] {
        if (SelectedLine() != nullptr) ListBox1Click();
    });
    connect(ui->ListBox1, &QListWidget::itemDoubleClicked, this, [this] { SpeedButton1Click(); });
}

TFrmAbrir::~TFrmAbrir() = default;

void TFrmAbrir::SetBackground(const QPixmap& picture) {
    ui->image->setPixmap(picture);
}

void TFrmAbrir::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    FitOnScreen(this);
    FormShow();
}

const saved::TSavedGames::TUsedPlace* TFrmAbrir::SelectedLine() const {
    const QList<QListWidgetItem*> selected = ui->ListBox1->selectedItems();
    if (selected.isEmpty()) return nullptr;
    const int row = ui->ListBox1->row(selected.front());
    if (row < 0 || static_cast<std::size_t>(row) >= FLines.size()) return nullptr;
    return &FLines[static_cast<std::size_t>(row)];
}

void TFrmAbrir::FormShow() {
    // 1. Nothing to open or delete until a line is chosen.
    ui->SpeedButton1->setEnabled(false);
    ui->SpeedButton3->setEnabled(false);
    // 2. Empty the list.
    ui->ListBox1->clear();
    // 3. The used places in place order, without gaps. The preview keeps what it showed.
    FLines = saved::TSavedGames(paths::SavedGamesFile()).UsedPlaces();
    for (const auto& line : FLines) {
        auto* item = new QListWidgetItem(QString::fromStdString(line.Name));
        item->setSizeHint(QSize(ui->ListBox1->viewport()->width(), kLineHeight));
        ui->ListBox1->addItem(item);
    }
}

void TFrmAbrir::ListBox1Click() {
    const auto* line = SelectedLine();
    if (line == nullptr) return;
    // 1., 2. A name without a readable position leaves the preview as it was.
    const auto position = saved::TSavedGames(paths::SavedGamesFile()).PositionOf(line->Name);
    if (position) ui->ChessBrd1->SetPositionText(QString::fromStdString(*position));
    // 3.
    ui->SpeedButton1->setEnabled(true);
    ui->SpeedButton3->setEnabled(true);
}

void TFrmAbrir::SpeedButton1Click() {
    // 1. Nothing without a selected line; the window stays open.
    const auto* line = SelectedLine();
    if (line == nullptr) return;
    // 2., 3. A fresh game from the stored position: White to move at move 1, every
    // castling allowed, no history, an empty move list.
    const auto position = saved::TSavedGames(paths::SavedGamesFile()).PositionOf(line->Name);
    if (position && FMainBoard != nullptr) {
        OpenPosition(*position);
    } else if (!position) {
        ShowMessage(QString("The saved position \"%1\" cannot be read.")
                        .arg(QString::fromStdString(line->Name)));
    }
    // 4. Close the window, whether or not a position was found.
    accept();
}

// A saved position holds no side to move: White moves first unless that would let it take
// Black's king, and then Black does. One that neither side can play is refused, and the
// main board keeps its game.
void TFrmAbrir::OpenPosition(const std::string& position) {
    TChessGame probe;
    probe.SetPosition(position);
    const QString fault = SavedPositionFault(probe);
    if (!fault.isEmpty()) {
        ShowMessage("This position cannot be opened: " + fault + ".");
        return;
    }
    const bool blackFirst = probe.BlackKingInCheck(None, None);
    FMainBoard->NewGame();
    FMainBoard->SetPositionText(QString::fromStdString(position));
    if (blackFirst) FMainBoard->SetWhiteToMove(false);
    if (FMoveList != nullptr) FMoveList->clear();
    // A position that is already over ends the game at once.
    FMainBoard->AnnouncePosition();
    if (blackFirst && FMainBoard->GameOver() == TGameOver::None) {
        if (FMessageLine != nullptr) FMessageLine->setText("Check: Black to move");
        FMainBoard->StartComputerMove();
    }
}

void TFrmAbrir::SpeedButton2Click() {
    reject();
}

void TFrmAbrir::SpeedButton3Click() {
    // 1. Nothing without a selected line.
    const auto* line = SelectedLine();
    if (line == nullptr) return;
    // 2. Empty the line's own place; its position goes with it unless another place still
    // names it. No confirmation is asked; the preview keeps showing the position.
    saved::TSavedGames store(paths::SavedGamesFile());
    if (!store.DeletePlace(line->Place)) {
        ShowMessage(QString("Unable to write to %1").arg(QString::fromStdString(store.Path())));
        return;
    }
    // 2c. Show the list again.
    FormShow();
}
