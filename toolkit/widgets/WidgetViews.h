#pragma once
// Worker reports carried to real widgets on the GUI thread.
#include "toolkit/StatusView.h"
#include <QPointer>

class QLabel;
class QProgressBar;
class QColor;

QColor ToQColor(TColor colour);

// Caption and font colour of a label, repainted at once with its parent.
class LabelStatus : public IStatusLabel {
public:
    explicit LabelStatus(QLabel *label);
    void ShowStatus(const QString &text, TColor colour) override;
    QLabel *label() const;

private:
    QPointer<QLabel> label_;
};

class ProgressBarView : public IProgressBar {
public:
    explicit ProgressBarView(QProgressBar *bar);
    void SetMax(int max) override;
    void SetPosition(int position) override;

private:
    QPointer<QProgressBar> bar_;
};
