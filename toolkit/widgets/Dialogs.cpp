#include "toolkit/widgets/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

QMessageBox::StandardButtons ButtonsOf(unsigned flags)
{
    switch (flags & 0x0F) {
    case MB_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
    case MB_YESNOCANCEL: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MB_YESNO: return QMessageBox::Yes | QMessageBox::No;
    default: return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(unsigned flags)
{
    switch (flags & 0xF0) {
    case MB_ICONERROR: return QMessageBox::Critical;
    case MB_ICONQUESTION: return QMessageBox::Question;
    case MB_ICONWARNING: return QMessageBox::Warning;
    case MB_ICONINFORMATION: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// "Text (*.a)|*.a|Other (*.b)|*.b" -> Qt's ";;"-separated name filters.
QString QtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!name.contains(QLatin1Char('(')))
            name += QStringLiteral(" (") + patterns + QLatin1Char(')');
        filters << name;
    }
    return filters.join(QStringLiteral(";;"));
}

class QtDialogs : public IDialogProvider {
public:
    int ShowMessageBox(QWidget *owner, const QString &text, const QString &caption, unsigned flags) override
    {
        QMessageBox box(IconOf(flags), caption, text, ButtonsOf(flags), owner);
        switch (box.exec()) {
        case QMessageBox::Cancel: return IDCANCEL;
        case QMessageBox::Yes: return IDYES;
        case QMessageBox::No: return IDNO;
        default: return IDOK;
        }
    }

    bool ShowFileDialog(QWidget *parent, TFileDialog &dialog) override
    {
        QFileDialog box(parent, dialog.Title, dialog.InitialDir, QtFilter(dialog.Filter));
        box.setAcceptMode(dialog.kind() == TFileDialog::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
        box.setFileMode(dialog.kind() == TFileDialog::Open && dialog.FileMustExist ? QFileDialog::ExistingFile
                                                                                    : QFileDialog::AnyFile);
        box.setDefaultSuffix(dialog.DefaultExt);
        // The programs ask about replacing a file themselves.
        box.setOption(QFileDialog::DontConfirmOverwrite);
        if (!dialog.FileName.isEmpty())
            box.selectFile(dialog.FileName);
        if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty())
            return false;
        dialog.FileName = box.selectedFiles().constFirst();
        return true;
    }
};

QtDialogs qtDialogs;
IDialogProvider *provider = nullptr;

} // namespace

IDialogProvider &DialogProvider()
{
    return provider != nullptr ? *provider : qtDialogs;
}

void SetDialogProvider(IDialogProvider *p)
{
    provider = p;
}

int MessageBox(QWidget *owner, const QString &text, const QString &caption, unsigned flags)
{
    return DialogProvider().ShowMessageBox(owner, text, caption, flags);
}

bool TFileDialog::Execute(QWidget *parent)
{
    return DialogProvider().ShowFileDialog(parent, *this);
}
