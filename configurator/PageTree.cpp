#include "configurator/PageTree.h"

#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>
#include <array>

namespace {

constexpr bool Within(int page, int first, int count)
{
    return page >= first && page < first + count;
}

constexpr PanelId Panel(int page)
{
    using namespace Pages;
    switch (page) {
    case LiveState: return PanelId::LiveState;
    case General: return PanelId::General;
    case Clock: return PanelId::Clock;
    case Power: return PanelId::Power;
    case ArmIn: return PanelId::ArmIn;
    case Inputs: return PanelId::Inputs;
    case Outputs: return PanelId::Outputs;
    case Scenarios: return PanelId::Scenarios;
    case SystemParameters: return PanelId::System;
    }
    if (Within(page, FirstConnection, ConnectionCount))
        return PanelId::Connection;
    if (Within(page, FirstInput, InputCount))
        return PanelId::Input;
    if (Within(page, FirstOutput, OutputCount))
        return PanelId::Output;
    return PanelId::LargerModel;
}

constexpr std::array<PanelId, PageCount> PagePanels()
{
    std::array<PanelId, PageCount> panels{};
    for (int page = 0; page < PageCount; ++page)
        panels[std::size_t(page)] = Panel(page);
    return panels;
}

constexpr std::array<PanelId, PageCount> pagePanels = PagePanels();
// Every page number has a panel that a node shows.
static_assert(std::find(pagePanels.begin(), pagePanels.end(), PanelId::LargerModel) == pagePanels.end());

} // namespace

PanelId PanelOfPage(int page)
{
    Q_ASSERT(page >= 0 && page < PageCount);
    return pagePanels[std::size_t(qBound(0, page, PageCount - 1))];
}

bool PageStoresValues(int page)
{
    return page > Pages::LiveState && page < PageCount && page != Pages::Outputs;
}

const QString &BuiltInTreeText()
{
    static const QString text = QStringLiteral(
        "GSM контроллер QRV240-S\r\n"
        "\tОбщие параметры соединений\r\n"
        "\t\tСоединение 1\r\n"
        "\t\tСоединение 2\r\n"
        "\t\tСоединение 3\r\n"
        "\t\tСоединение 4\r\n"
        "\t\tСоединение 5\r\n"
        "\t\tСоединение 6\r\n"
        "\t\tСоединение 7\r\n"
        "\t\tСоединение 8\r\n"
        "\tЧасы, планировщик задач\r\n"
        "\tПитание, температура, индикация, контроль вскрытия\r\n"
        "\tВход [Arm In]\r\n"
        "\tВходы\r\n"
        "\t\tВход 1\r\n"
        "\t\tВход 2\r\n"
        "\t\tВход 3\r\n"
        "\t\tВход 4\r\n"
        "\tВыходы\r\n"
        "\t\tРеле 1\r\n"
        "\t\tРеле 2\r\n"
        "\t\tВыход 1\r\n"
        "\t\tВыход 2\r\n"
        "\t\tСценарии управления\r\n"
        "\tСистемные параметры");
    return text;
}

void LoadTreeItems(QTreeWidget &tree, const QString &text)
{
    tree.clear();
    QList<QTreeWidgetItem *> parents; // the last node of each depth so far
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        int depth = 0;
        while (depth < line.size() && line[depth] == QLatin1Char('\t'))
            ++depth;
        depth = std::min<int>(depth, int(parents.size()));
        auto *item = depth == 0 ? new QTreeWidgetItem(&tree) : new QTreeWidgetItem(parents[depth - 1]);
        item->setText(0, line.mid(depth));
        parents.resize(depth);
        parents.append(item);
    }
}

QTreeWidgetItem *PageNode(const QTreeWidget &tree, int page)
{
    if (page < 0)
        return nullptr;
    // The iterator wants a tree it may change; it changes nothing.
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(&tree)); *it != nullptr; ++it, --page)
        if (page == 0)
            return *it;
    return nullptr;
}
