#include "voiceprog/VoiceLanguage.h"

namespace {

// The window's status messages sit beside its own texts.
struct LanguageTexts : VoiceTexts {
    QStringList StatusMessages;
};

struct Language : language::NoOwnRules {
    using Texts = LanguageTexts;
};

using Step = language::Step<Language>;
using R = language::Rule;
using T = LanguageTexts;
constexpr int After = language::After;

constexpr int LastLineRead = 169;

// The file's lines in file order; lines no step names are not used.
constexpr Step steps[] = {
    {1, R::WindowCaption, "", nullptr, nullptr, 0, 0, "QRV610/QRV240 %1"},
    {3, R::Caption, "N1 N2 N3 N13 N7 N8 COM1 N9 N10 N11 N12 N15"},
    {After, R::CopyCaption, "SpeedButton6=N10 SpeedButton8=N11 SpeedButton9=N12"},
    {After, R::NoHint, "SpeedButton6 SpeedButton8 SpeedButton9"},
    {16, R::Framed, "GroupBox1"},
    {17, R::Caption, "Label11 Label1 BitBtn1 BitBtn2"},
    {21, R::Framed, "GroupBox2"},
    {22, R::Caption, "Label2"},
    {23, R::Text, "", nullptr, &T::UsedWord},
    {24, R::Text, "", nullptr, &T::FreeWord},
    {25, R::Text, "", nullptr, &T::SecondsWord},
    {27, R::Hint, "BitBtn1 BitBtn2"},
    {30, R::Text, "", nullptr, &T::PortDialogCaption},
    {31, R::Text, "", nullptr, &T::PortOpenFailureText},
    {33, R::Text, "", nullptr, &T::AboutCaption},
    {35, R::Entries, "", &T::StatusMessages, nullptr, 0, 20},
    // The event names, in place by slot, in three runs with unused lines between them.
    {56, R::Items, "ComboBoxEvents", nullptr, nullptr, 0, 13},
    {77, R::Items, "ComboBoxEvents", nullptr, nullptr, 13, 8},
    {93, R::Items, "ComboBoxEvents", nullptr, nullptr, 21, 77},
};
static_assert(language::InFileOrder(steps, LastLineRead));
static_assert(LastLineRead < VoiceLanguageLineCount);

} // namespace

void ApplyVoiceLanguageFile(QWidget &window, VoiceTexts &texts, QStringList &statusMessages, const QString &path)
{
    const std::optional<QStringList> lines = language::ReadFile(path, VoiceLanguageFormat);
    if (!lines)
        return;
    LanguageTexts changed{texts, statusMessages};
    language::Apply(steps, *lines, window, VoiceLanguageFormat, changed);
    texts = static_cast<const VoiceTexts &>(changed);
    statusMessages = changed.StatusMessages;
}

QStringList VoiceLanguageTargetFaults(const QWidget &window)
{
    return language::Faults(window, steps);
}
