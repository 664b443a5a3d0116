#pragma once
// A pair of arrow buttons that steps a number within a range and shows it
// in an associated edit, the way the forms pair an edit with an up-down.
#include <QWidget>

class QLineEdit;
class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget *parent = nullptr);

    int Position() const { return position_; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int min, int max);
    // Bounded by the range; the associated edit shows the new position
    // unless showInAssociate is false (the edit itself is being typed into).
    void SetPosition(int position, bool showInAssociate = true);
    void SetAssociate(QLineEdit *edit);
    QLineEdit *Associate() const { return associate_; }

signals:
    // The arrows moved the position.
    void Clicked(int position);

private:
    void Step(int delta);

    QToolButton *up_;
    QToolButton *down_;
    QLineEdit *associate_ = nullptr;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};
