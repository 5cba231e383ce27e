#pragma once
// TEvalGraph draws a game's evaluations as a curve of White's expected score, one point per
// position from the start to the last move, with the marked moves as dots and the selected
// position as a line. A click picks the position under the pointer.

#include <QWidget>

#include <vector>

class TEvalGraph : public QWidget {
    Q_OBJECT

  public:
    explicit TEvalGraph(QWidget* parent = nullptr);

    // White's expected score (0 to 1) of each position, the start first, and the mark of the
    // move that led to each (none for the start).
    void SetValues(std::vector<double> scores, std::vector<int> marks);
    int Count() const { return int(FScores.size()); }
    // The position shown as selected; -1 for none.
    void SetSelected(int index);
    int Selected() const { return FSelected; }
    // The position whose point lies nearest to x.
    int IndexAt(int x) const;
    // Where a position's point lies across the widget.
    int XOf(int index) const;

    QSize sizeHint() const override { return {360, 110}; }

  signals:
    void Clicked(int index);

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

  private:
    std::vector<double> FScores;
    std::vector<int> FMarks;
    int FSelected = -1;
};
