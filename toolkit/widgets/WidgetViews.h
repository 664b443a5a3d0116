#pragma once
// Worker reports carried to real widgets on the GUI thread.
#include "toolkit/StatusView.h"
#include <QPointer>

class QLabel;
class QProgressBar;
class QColor;

QColor ToQColor(TColor colour);

// GUI thread: the caption and font colour, where they differ from what the
// label shows; a visible label is then repainted at once.
void ShowLabelStatus(QLabel *label, const QString &text, TColor colour);

// Caption and font colour of a label; a visible label is repainted at once
// when what it shows changes.
class LabelStatus : public IStatusLabel {
public:
    explicit LabelStatus(QLabel *label);
    void ShowStatus(const QString &text, TColor colour) override;
    QLabel *label() const;

private:
    QPointer<QLabel> label_;
};

// Range and position of a progress bar; a visible bar is repainted at once
// when a step shows: a new pixel or a new text.
class ProgressBarView : public IProgressBar {
public:
    explicit ProgressBarView(QProgressBar *bar);
    void SetMax(int max) override;
    void SetPosition(int position) override;

private:
    QPointer<QProgressBar> bar_;
};
