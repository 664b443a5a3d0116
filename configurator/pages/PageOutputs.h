#pragma once
// Page 18: the outputs overview, with the output wiring picture; it has no
// configuration values.
#include "configurator/pages/ConfigPage.h"

class QLabel;

class PageOutputs : public ConfigPage {
    Q_OBJECT
public:
    explicit PageOutputs(PageContext &context, QWidget *parent = nullptr);

    QLabel *TitleLabel() const override { return Label1; }
    void Enter(int page) override;
    bool HasValues(int page) const override;

    QLabel *Label1;
    // The wiring picture; the window may replace its picture from a file.
    QLabel *ImageQRV240Outs;
};
