#pragma once
// The main window's translatable texts: the lists and single texts that the
// pages, dialogs and threads read at the moment they show them, and that the
// language file may replace.
#include <QString>
#include <QStringList>

struct FormTexts {
    // Built in the order the window builds them.
    QString PortOpenFailureText;
    QString PortDialogCaption;
    QString VersionLabelPrefix;
    QString AboutCaption;
    QStringList ModeNames;
    QStringList OutputNames;
    QStringList OutputActionNames;
    QStringList EventActionNames;
    QStringList LedModeNames;
    QStringList EnabledWords;
    QStringList StimulusCaptions;
    QString SignalShapeText;
    QString ScenarioNumberText;
    QString CycleText;
    QString HighLevelText;
    QString LowLevelText;
    QStringList GsmStateTexts;
    QStringList StatusMessages;
    QString KeyTableFullText;
    QString KeyKnownPrefix;
    QString KeyKnownSuffix;

    // Every text with its built-in Russian value.
    static FormTexts Defaults();
};

// The 12 texts of the GSM module states, by state code (11 and above: the last).
QStringList BuiltInGsmStateTexts();
