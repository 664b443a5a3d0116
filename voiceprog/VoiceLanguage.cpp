#include "voiceprog/VoiceLanguage.h"
#include "toolkit/Win1251.h"
#include "toolkit/WholeFile.h"


#include <array>

namespace {

using L = VoiceLanguageLine;

constexpr int FirstStatusLine = 35;

const std::array<VoiceLanguageLine, 28> WindowLines = {{
    {1, L::WindowCaption},
    {3, L::Caption, "N1"},
    {4, L::Caption, "N2"},
    {5, L::Caption, "N3"},
    {6, L::Caption, "N13"},
    {7, L::Caption, "N7"},
    {8, L::Caption, "N8"},
    {9, L::Caption, "COM1"},
    {10, L::Caption, "N9"},
    {11, L::Caption, "N10"},
    {12, L::Caption, "N11"},
    {13, L::Caption, "N12"},
    {14, L::Caption, "N15"},
    {16, L::GroupCaption, "GroupBox1"},
    {17, L::Caption, "Label11"},
    {18, L::Caption, "Label1"},
    {19, L::Caption, "BitBtn1"},
    {20, L::Caption, "BitBtn2"},
    {21, L::GroupCaption, "GroupBox2"},
    {22, L::Caption, "Label2"},
    {23, L::Text, nullptr, &VoiceTexts::UsedWord},
    {24, L::Text, nullptr, &VoiceTexts::FreeWord},
    {25, L::Text, nullptr, &VoiceTexts::SecondsWord},
    {27, L::Hint, "BitBtn1"},
    {28, L::Hint, "BitBtn2"},
    {30, L::Text, nullptr, &VoiceTexts::PortDialogCaption},
    {31, L::Text, nullptr, &VoiceTexts::PortOpenFailureText},
    {33, L::Text, nullptr, &VoiceTexts::AboutCaption},
}};

// The event names come in three runs, with unused lines between them.
struct EventRun {
    int firstLine;
    int firstEvent;
    int lastEvent;
};
constexpr std::array<EventRun, 3> EventRuns = {{{56, 0, 12}, {77, 13, 20}, {93, 21, 97}}};

// Line breaks are LF or CR LF; a break at the very end starts no further line.
QStringList SplitLines(const QString &text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    for (QString &line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

} // namespace

std::optional<QStringList> ReadVoiceLanguageFile(const QString &path)
{
    const OptionalFile file = ReadOptionalFile(path, MaxVoiceLanguageFileSize);
    if (file.status != OptionalFile::Read)
        return std::nullopt;
    QStringList lines = SplitLines(FromWin1251(file.bytes));
    if (lines.size() != VoiceLanguageLineCount || lines.constFirst() != VoiceLanguageMarker)
        return std::nullopt;
    return lines;
}

std::span<const VoiceLanguageLine> VoiceLanguageWindowLines()
{
    return WindowLines;
}

void ApplyVoiceLanguageLists(const QStringList &lines, QStringList &statusMessages, QStringList &events)
{
    for (qsizetype i = 0; i < statusMessages.size() && FirstStatusLine + i < lines.size(); ++i)
        statusMessages[i] = lines.at(FirstStatusLine + i);
    for (const EventRun &run : EventRuns) {
        for (int j = run.firstEvent; j <= run.lastEvent && j < events.size(); ++j) {
            const int line = run.firstLine + j - run.firstEvent;
            if (line < lines.size())
                events[j] = lines.at(line);
        }
    }
}
