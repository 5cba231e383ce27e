// The settings file: read once while the main window is created, written once while it
// closes. Each value drives one control; the board gets orientation and depth afterwards.

#include "Unit1.h"

#include <optional>

#include "AppPaths.h"
#include "IniFile.h"
#include "StrToInt.h"

namespace {

const char* const kSection = "Config";

// One reading of the file. A number outside its range, or one that is not a number, gives
// way to the key's default so that every control gets a usable value; a value that is not
// a number is also reported, naming the file and the key.
class TSettingsReader {
  public:
    explicit TSettingsReader(std::string path) : FPath(std::move(path)) {}
    std::string Text(const char* key, const char* def) const {
        return ini::ReadString(FPath, kSection, key, def);
    }
    int Number(const char* key, int def, int low, int high) {
        const std::string text = Text(key, std::to_string(def).c_str());
        const std::optional<int> n = StrToInt(text);
        if (!n) {
            if (!FErrors.empty()) FErrors += "\n";
            FErrors += InvalidIntegerMessage(text) + " (key \"" + key + "\" in " + FPath +
                       "; the default " + std::to_string(def) + " is used)";
        }
        return n && *n >= low && *n <= high ? *n : def;
    }
    const std::string& Errors() const { return FErrors; }

  private:
    std::string FPath;
    std::string FErrors;
};

// Selects entry n of a list, or nothing when n is outside it.
void SelectEntry(QComboBox* list, int n) {
    list->setCurrentIndex(n >= 0 && n < list->count() ? n : -1);
}

} // namespace

int TForm1::RadioGroup1Index() const {
    if (ui.RadioButton1->isChecked()) return 0;
    if (ui.RadioButton2->isChecked()) return 1;
    return -1;
}

void TForm1::SetRadioGroup1Index(int index) {
    // Exclusive buttons cannot all be unchecked; "no selection" needs the exclusivity off.
    ui.RadioButton1->setAutoExclusive(false);
    ui.RadioButton2->setAutoExclusive(false);
    ui.RadioButton1->setChecked(index == 0);
    ui.RadioButton2->setChecked(index == 1);
    ui.RadioButton1->setAutoExclusive(true);
    ui.RadioButton2->setAutoExclusive(true);
}

bool TForm1::ReadSettings() {
    TSettingsReader file(paths::SettingsFile());
    // 2. Players and orientation.
    SelectEntry(ui.ComboBox2, file.Number("Pretas", 1, 0, 1));
    SelectEntry(ui.ComboBox1, file.Number("Brancas", 0, 0, 1));
    SetRadioGroup1Index(file.Number("BrancaEncima", 1, 0, 1));
    // 3. Coordinates.
    ui.CheckBox1->setChecked(file.Text("Coordenadas", "0") != "0");
    CheckBox1Click();
    // 4. The skin: "0" is the wood skin, any other value the entry number minus one.
    constexpr int kWood = 4;
    const int skin = file.Text("Skin", "0") == "0" ? kWood : file.Number("Skin", kWood, 1, 4);
    SelectEntry(ui.ComboBox3, skin - 1);
    ui.ComboBox5->setCurrentIndex(ui.ComboBox3->currentIndex());
    ComboBox3Change();
    // 5. Grid lines.
    ui.CheckBox5->setChecked(file.Text("Linhas", "1") != "0");
    CheckBox5Click();
    // 6. Sound and music; the music box runs its handler only when the value changes it.
    ui.CheckBox3->setChecked(file.Text("Som", "1") == "1");
    const bool music = file.Text("Musica", "1") != "0";
    if (music != ui.CheckBox4->isChecked()) {
        ui.CheckBox4->setChecked(music);
        CheckBox4Click();
    }
    // 7. The difficulty.
    FStoredLevel = file.Number("Nivel", 1, 1, ui.ComboBox4->count());
    SelectEntry(ui.ComboBox4, FStoredLevel - 1);
    if (file.Errors().empty()) return true;
    ShowMessage(this, QString::fromStdString(file.Errors()));
    return false;
}

bool TForm1::WriteSettings() {
    const std::string path = paths::SettingsFile();
    const auto flag = [](const QCheckBox* box) { return box->isChecked() ? "1" : "0"; };
    const int depth = ui.ChessBrd1 ? ui.ChessBrd1->SearchDepth() : FStoredLevel;
    const std::pair<const char*, std::string> values[] = {
        {"Pretas", std::to_string(ui.ComboBox2->currentIndex())},
        {"Brancas", std::to_string(ui.ComboBox1->currentIndex())},
        {"Nivel", std::to_string(depth)},
        {"BrancaEncima", std::to_string(RadioGroup1Index())},
        {"Skin", std::to_string(ui.ComboBox3->currentIndex() + 1)},
        {"Coordenadas", flag(ui.CheckBox1)},
        {"Linhas", flag(ui.CheckBox5)},
        {"Som", flag(ui.CheckBox3)},
        {"Musica", flag(ui.CheckBox4)},
    };
    for (const auto& [key, value] : values) {
        if (!ini::WriteString(path, kSection, key, value)) {
            ShowMessage(this, QString("Unable to write to %1").arg(QString::fromStdString(path)));
            return false;
        }
    }
    return true;
}
