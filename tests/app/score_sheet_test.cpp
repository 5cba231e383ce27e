// The score sheet read back from its PDF: the heading, every move in order under its number
// with the review's marks, a game Black began, a long game over pages; and the commands on
// the main window: their place in the menu, the file named, a file that cannot be written.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "GameFiles.h"
#include "MainWindowSupport.h"
#include "PgnReader.h"
#include "PlayOptions.h"
#include "ScoreSheet.h"
#include "ScoreSheetCommands.h"
#include "StartOptions.h"

namespace {

// The text of a PDF, its pages parted by form feeds.
QString PdfText(const QString& path) {
    QProcess reader;
    reader.start("pdftotext", {"-layout", path, "-"});
    EXPECT_TRUE(reader.waitForFinished(20000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    return QString::fromUtf8(reader.readAllStandardOutput());
}

// The rows of the sheet's grids, by move number: the words after each number (a row has
// White's and Black's move; a row not reached has none). The grids lie between the columns'
// heads and the signature lines of each page; their columns are read side by side.
QMap<int, QStringList> Rows(const QString& text) {
    QMap<int, QStringList> rows;
    for (const QString& page : text.split('\f')) {
        bool inGrid = false;
        for (const QString& line : page.split('\n')) {
            if (line.contains("BLACK") && line.contains("NO.")) {
                inGrid = true;
                continue;
            }
            if (line.contains("SIGNATURE") || line.contains("Page ")) inGrid = false;
            if (!inGrid) continue;
            int number = -1;
            for (const QString& word : line.split(' ', Qt::SkipEmptyParts)) {
                bool isNumber = false;
                const int n = word.toInt(&isNumber);
                if (isNumber) {
                    number = n;
                    EXPECT_FALSE(rows.contains(n)) << "row " << n << " twice";
                    rows[n];
                } else if (number >= 0) {
                    rows[number] << word;
                }
            }
        }
    }
    return rows;
}

// The moves of the rows in the order of their numbers.
QStringList MovesInOrder(const QMap<int, QStringList>& rows) {
    QStringList moves;
    for (const QStringList& r : rows)
        moves << r;
    return moves;
}

GameRecord Read(const char* pgn) {
    GameRecord record;
    std::string error;
    EXPECT_TRUE(ReadPgn(pgn, record, error)) << error;
    return record;
}

constexpr const char* kReviewed = R"([Event "Club evening"]
[Site "Lisbon"]
[Date "2026.03.14"]
[Round "4"]
[White "Ana Costa"]
[Black "Rui Lopes"]
[Result "1-0"]
[TimeControl "300+3"]

1. e4 $1 e5 2. Qh5 $6 Nc6 3. Bc4 Nf6 $4 4. Qxf7# 1-0
)";

struct ScoreSheet : ::testing::Test {
    static void SetUpTestSuite() { EnsureApplication(); }
    QTemporaryDir Folder;

    QString Write(const TScoreSheet& sheet, const QString& name = "sheet.pdf") {
        const QString path = Folder.filePath(name);
        QString error;
        EXPECT_TRUE(WriteScoreSheetPdf(sheet, path, &error)) << error.toStdString();
        return PdfText(path);
    }
};

} // namespace

TEST_F(ScoreSheet, HeadingMovesAndMarks) {
    const TScoreSheet sheet = ScoreSheetOf(Read(kReviewed), "Level: Difficult");
    const QString text = Write(sheet);
    for (const char* word : {"Club evening", "Lisbon", "Ana Costa", "Rui Lopes", "Difficult",
                             "5 min + 3 s", "1-0", "2026"})
        EXPECT_TRUE(text.contains(word)) << word << "\n" << text.toStdString();
    const QMap<int, QStringList> rows = Rows(text);
    EXPECT_EQ(MovesInOrder(rows).join(' ').toStdString(), "e4! e5 Qh5?! Nc6 Bc4 Nf6?? Qxf7#");
    // A short game gets a whole sheet of numbered rows, as paper has.
    EXPECT_EQ(rows.firstKey(), 1);
    EXPECT_GE(rows.lastKey(), 60);
    EXPECT_EQ(rows.lastKey() % 3, 0);
    EXPECT_EQ(rows.size(), rows.lastKey());
    EXPECT_EQ(text.count('\f'), 1);
}

TEST_F(ScoreSheet, AGameBlackBeganAtItsOwnNumber) {
    const TScoreSheet sheet =
        ScoreSheetOf(Read("[FEN \"4k3/8/8/8/8/8/3P4/4K3 b - - 0 23\"]\n23... Kd7 24. d4 Ke6 *"),
                     "Player1 x Player2");
    EXPECT_TRUE(sheet.Level.isEmpty());
    EXPECT_TRUE(sheet.Result.isEmpty());
    const QMap<int, QStringList> rows = Rows(Write(sheet));
    EXPECT_EQ(rows.firstKey(), 23);
    EXPECT_EQ(rows.value(23).join(' ').toStdString(),
              QString::fromUtf8("\u2026 Kd7").toStdString());
    EXPECT_EQ(rows.value(24).join(' ').toStdString(), "d4 Ke6");
    EXPECT_TRUE(rows.value(25).isEmpty());
}

TEST_F(ScoreSheet, ALongGameRunsOnOverPagesWithNothingLostOrTwice) {
    // 150 moves of knights going out and back: more than one page's three columns hold.
    std::string pgn;
    QStringList expected;
    for (int n = 1; n <= 150; ++n) {
        const bool out = n % 2 == 1;
        const char* w = out ? "Nf3" : "Ng1";
        const char* b = out ? "Nf6" : "Ng8";
        pgn += std::to_string(n) + ". " + w + " " + b + " ";
        expected << w << b;
    }
    pgn += "*";
    const QString text = Write(ScoreSheetOf(Read(pgn.c_str()), QString()));
    EXPECT_GE(text.count('\f'), 2);
    const QMap<int, QStringList> rows = Rows(text);
    QStringList moves;
    for (int n = 1; n <= 150; ++n) {
        ASSERT_TRUE(rows.contains(n)) << n;
        moves << rows.value(n);
    }
    EXPECT_EQ(moves, expected);
    EXPECT_TRUE(text.contains("(continued)"));
}

TEST(ScoreSheetText, TimeControls) {
    EXPECT_EQ(TimeControlText("180+2"), "3 min + 2 s");
    EXPECT_EQ(TimeControlText("600"), "10 min");
    EXPECT_EQ(TimeControlText("45+0"), "45 s");
    EXPECT_EQ(TimeControlText("-"), "");
    EXPECT_EQ(TimeControlText(""), "");
    EXPECT_EQ(TimeControlText("40/7200"), "40/7200");
}

TEST(ScoreSheetCommands, FromTheWindowsGameToAFile) {
    EnsureApplication();
    TTempHome home;
    TRecordingSound sound;
    TMessageRecorder messages;
    TForm1 form{&sound};
    InstallPlayOptions(form);
    TGameFiles* files = InstallGameFiles(form, TStartOptions{});
    Controls(form).ComboBox1->setCurrentText("Player");
    Controls(form).ComboBox2->setCurrentText("Computer");
    Controls(form).ComboBox4->setCurrentIndex(0);
    // Marks and a time control come to the record through its annotators.
    files->AddAnnotator([](GameRecord& r) {
        r.SetTag("TimeControl", "60");
        r.NoteToWrite(1).Mark = MarkMistake;
    });
    TScoreSheetCommands* commands = InstallScoreSheet(form, *files);
    // The commands stand right after the move list's Print.
    const QList<QAction*>& menu = form.Commands();
    const auto print = std::find_if(menu.begin(), menu.end(),
                                    [](QAction* a) { return a->objectName() == "Print"; });
    ASSERT_LT(print + 2, menu.end());
    EXPECT_EQ(*(print + 1), commands->PrintAction);
    EXPECT_EQ(*(print + 2), commands->ExportAction);
    QString error;
    ASSERT_TRUE(files->LoadText("1. d4 d5 2. c4 *", error)) << error.toStdString();
    form.Board()->StopThinking();

    QTemporaryDir folder;
    commands->ChoosePath = [&] { return folder.filePath("evening"); };
    commands->ExportPdf();
    ASSERT_TRUE(QFile::exists(folder.filePath("evening.pdf")));
    const QString text = PdfText(folder.filePath("evening.pdf"));
    EXPECT_TRUE(text.contains("Novice")) << text.toStdString();
    EXPECT_TRUE(text.contains("1 min")) << text.toStdString();
    EXPECT_EQ(MovesInOrder(Rows(text)).join(' ').toStdString(), "d4 d5? c4");
    EXPECT_TRUE(messages.Messages.empty());

    // A folder that is not there: the user is told, and no file appears.
    commands->ChoosePath = [&] { return folder.filePath("gone/sheet.pdf"); };
    commands->ExportPdf();
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_TRUE(messages.Messages.front().contains("could not be written"));
    // Cancelling the dialog writes nothing and says nothing.
    commands->ChoosePath = [] { return QString(); };
    commands->ExportPdf();
    EXPECT_EQ(messages.Messages.size(), 1u);
}
