#pragma once
// An edit with the forms' edit masks ("mask;save literals;blank").
#include <QLineEdit>

#include <optional>

struct EditMask {
    QString qtMask;          // for QLineEdit::setInputMask; empty: no mask
    bool saveLiterals = true;
    QChar blank = QLatin1Char(' ');
};

// "!99:99;1;-" -> Qt mask "00:00;-" with literals kept.
EditMask ParseEditMask(const QString &mask);

class TMaskEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TMaskEdit(QWidget *parent = nullptr);

    void SetEditMask(const QString &mask);
    QString EditMask() const { return maskText_; }

    // Shows the text through the mask, and keeps it as it was given: a mask
    // drops what it does not accept.
    void SetText(const QString &text);
    // The text as the forms read it. Until the user (or a plain setText)
    // changes it, the text last given to SetText, character for character.
    // Otherwise what the mask holds: with literals kept, every position of
    // the mask is there and an empty one reads as a blank ("  :  ", 16 blanks
    // for an empty code); without, only what was typed.
    QString Text() const;

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    // Where typing goes on: right after the last character typed, 0 when none is.
    int TypingPosition() const;

    QString maskText_;
    ::EditMask mask_;
    std::optional<QString> given_;
    bool settingText_ = false;
};
