#pragma once
// An up-down control bound to an edit: its arrows step the position within
// its range, and the edit shows the position as a decimal number.
#include <QWidget>

class QLineEdit;
class QToolButton;

class TUpDown : public QWidget {
    Q_OBJECT
public:
    explicit TUpDown(QWidget *parent = nullptr);

    void SetRange(int min, int max);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    // Clamps to the range and shows the position in the edit, unless the
    // position comes from what is being typed there.
    void SetPosition(int position, bool showInAssociate = true);
    void SetAssociate(QLineEdit *edit);

private:
    QToolButton *up_;
    QToolButton *down_;
    QLineEdit *associate_ = nullptr;
    int min_ = 0;
    int max_ = 100;
    int position_ = 0;
};
