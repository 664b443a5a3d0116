#pragma once
// An edit with the forms' edit masks ("mask;save literals;blank").
#include <QLineEdit>

struct EditMask {
    QString qtMask;          // for QLineEdit::setInputMask; empty: no mask
    bool saveLiterals = true;
    QChar blank = QLatin1Char(' ');
};

// "!99:99;1;-" -> Qt mask "00:00;-" with literals kept.
EditMask ParseEditMask(const QString &mask);

// The text as the forms read it: with literals kept, every position of the
// mask is there and an empty one reads as a blank ("  :  ", 16 blanks for an
// empty code); without, only what was typed.
QString MaskedText(const QLineEdit &edit, const EditMask &mask);

class TMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMaskEdit(QWidget *parent = nullptr);

    void SetEditMask(const QString &mask);
    QString EditMask() const { return maskText_; }
    QString Text() const;
    void SetText(const QString &text) { setText(text); }

private:
    QString maskText_;
    ::EditMask mask_;
};
