#pragma once
// A status bar of panels, each one text, addressed by number. The panels'
// labels are named after a prefix and their number ("Panel0").
#include <QStatusBar>
#include <QString>

#include <initializer_list>
#include <vector>

class QLabel;

class TStatusBar : public QStatusBar {
    Q_OBJECT
public:
    // Without a stretch: a framed panel of a fixed width, which a message in
    // the bar covers. With one: the panels share the bar's width by their
    // stretches, none narrower than its width or its text where the bar has
    // room for that, and stay beside a message.
    struct Panel {
        int width;
        Qt::Alignment alignment = Qt::AlignLeft;
        int stretch = 0;
    };
    TStatusBar(const QString &namePrefix, std::initializer_list<Panel> panels, QWidget *parent = nullptr);

    int PanelCount() const { return int(panels_.size()); }
    // A number past the last panel reads empty and writes nothing.
    QString PanelText(int panel) const;
    void SetPanelText(int panel, const QString &text);

private:
    std::vector<QLabel *> panels_;
};
