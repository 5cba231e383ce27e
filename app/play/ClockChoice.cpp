#include "ClockChoice.h"

#include <QAction>
#include <QActionGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QMenu>
#include <QSpinBox>

#include "ChessBrd.h"
#include "Clocks.h"
#include "GameFiles.h"
#include "Hint.h"
#include "LadderPlayer.h"
#include "ProgramSettings.h"
#include "UciEngine.h"
#include "Unit1.h"

namespace {

constexpr const char* kBaseKey = "Clock/Base";
constexpr const char* kIncrementKey = "Clock/Increment";

// A preset of the same times, else the custom control of those times.
TTimeControl ControlOf(int baseSeconds, int incrementSeconds) {
    const TTimeControl custom = CustomTimeControl(baseSeconds, incrementSeconds);
    for (const TTimeControl& p : TimeControlPresets())
        if (p.BaseMillis == custom.BaseMillis && p.IncrementMillis == custom.IncrementMillis)
            return p;
    return custom;
}

bool AskInWindow(int& minutes, int& seconds) {
    QDialog dialog;
    dialog.setWindowTitle("Custom clock");
    auto* form = new QFormLayout(&dialog);
    auto* base = new QSpinBox(&dialog);
    base->setRange(1, 300);
    base->setValue(minutes);
    base->setAccessibleName("Minutes for each side");
    auto* increment = new QSpinBox(&dialog);
    increment->setRange(0, 180);
    increment->setValue(seconds);
    increment->setAccessibleName("Seconds added after each move");
    form->addRow("&Minutes for each side:", base);
    form->addRow("&Seconds added after each move:", increment);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    minutes = base->value();
    seconds = increment->value();
    return true;
}

} // namespace

std::function<bool(int&, int&)> AskCustomTimeControl = AskInWindow;

TTimeControl ReadTimeControl() {
    const auto settings = OpenProgramSettings();
    bool baseOk = false, incrementOk = false;
    const int base = settings->value(kBaseKey).toInt(&baseOk);
    const int increment = settings->value(kIncrementKey).toInt(&incrementOk);
    if (!baseOk || base <= 0) return TimeControlPresets().front();
    return ControlOf(base, incrementOk ? increment : 0);
}

void WriteTimeControl(const TTimeControl& control) {
    const auto settings = OpenProgramSettings();
    if (control.Untimed()) {
        settings->remove("Clock");
    } else {
        settings->setValue(kBaseKey, static_cast<int>(control.BaseMillis / 1000));
        settings->setValue(kIncrementKey, static_cast<int>(control.IncrementMillis / 1000));
    }
    settings->sync();
}

TClocks* InstallClocks(TForm1& form, TGameFiles* files, TLadderPlayer* ladder, TUciPlayer* program,
                       TClockSource now) {
    if (form.Board() == nullptr) return nullptr;
    auto* clocks = new TClocks(form, std::move(now));
    const auto limits = [clocks](strong::TSearchLimits& l) { return clocks->SearchLimits(l); };
    if (ladder) ladder->ClockLimits = limits;
    if (program) program->Engine().ClockLimits = limits;
    for (THint* hint : form.findChildren<THint*>())
        hint->ClockLimits = limits;
    if (files) {
        files->AddAnnotator([clocks](GameRecord& record) { clocks->Annotate(record); });
        QObject::connect(files, &TGameFiles::GameLoaded, clocks, &TClocks::GameLoaded);
    }

    // The board's answer to the question of the time begins with the clocks.
    TChessBrd* board = form.Board();
    auto asked = board->OnAskClock;
    board->OnAskClock = [clocks, asked](TChessBrd* b) {
        const QString time = asked ? asked(b) : QString();
        const QString both = clocks->InWords();
        if (both.isEmpty()) return time.isEmpty() ? QStringLiteral("No clock") : time;
        return time.isEmpty() ? both : both + ", " + time;
    };

    auto* menu = new QMenu("Clock", &form);
    menu->setObjectName("ClockMenu");
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    const auto choose = [clocks](const TTimeControl& control) {
        clocks->SetControl(control);
        WriteTimeControl(control);
    };
    for (const TTimeControl& preset : TimeControlPresets()) {
        auto* a = menu->addAction(QString::fromStdString(preset.Name));
        a->setObjectName("Clock:" + QString::fromStdString(preset.Name));
        a->setCheckable(true);
        group->addAction(a);
        QObject::connect(a, &QAction::triggered, &form, [choose, preset] { choose(preset); });
    }
    menu->addSeparator();
    auto* custom = menu->addAction("Custom...");
    custom->setObjectName("Clock:Custom");
    custom->setCheckable(true);
    group->addAction(custom);
    QObject::connect(custom, &QAction::triggered, &form, [choose, clocks] {
        const TTimeControl& chosen = clocks->Control();
        int minutes = chosen.Untimed()
                          ? 5
                          : static_cast<int>(std::max<std::int64_t>(chosen.BaseMillis / 60000, 1));
        int seconds = static_cast<int>(chosen.IncrementMillis / 1000);
        if (AskCustomTimeControl && AskCustomTimeControl(minutes, seconds))
            choose(ControlOf(minutes * 60, seconds));
    });
    // The check: the preset chosen, else "Custom..." with its times in its text.
    QObject::connect(menu, &QMenu::aboutToShow, &form, [menu, clocks, custom] {
        custom->setText("Custom...");
        for (QAction* a : menu->actions()) {
            if (a == custom || a->isSeparator()) continue;
            if (a->text().toStdString() == clocks->Control().Name) {
                a->setChecked(true);
                return;
            }
        }
        custom->setText(QString::fromStdString(clocks->Control().Name) + "...");
        custom->setChecked(true);
    });
    auto* entry = menu->menuAction();
    entry->setObjectName("ClockMenu");
    form.AddCommand(entry);

    clocks->SetControl(ReadTimeControl());
    return clocks;
}
