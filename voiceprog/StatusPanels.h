#pragma once
// A status bar of fixed panels, each one text, addressed by number.
#include <QStatusBar>
#include <QString>

#include <initializer_list>
#include <vector>

class QLabel;

class TStatusBar : public QStatusBar {
    Q_OBJECT
public:
    struct Panel {
        int width;
        Qt::Alignment alignment;
    };
    TStatusBar(std::initializer_list<Panel> panels, QWidget *parent = nullptr);

    int PanelCount() const { return int(panels_.size()); }
    // A number past the last panel reads empty and writes nothing.
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString &text);

private:
    std::vector<QLabel *> panels_;
};
