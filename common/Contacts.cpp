#include "common/Contacts.h"

#include <QDesktopServices>

namespace {
LinkOpener linkOpener;
} // namespace

QUrl MakerWebPageUrl() { return QUrl(MakerWebAddress); }

QUrl SupportMailUrl(const QString &subject)
{
    const QString link = QStringLiteral("mailto:") + SupportMailAddress + QStringLiteral("?subject=")
                         + QString::fromLatin1(QUrl::toPercentEncoding(subject));
    return QUrl(link, QUrl::StrictMode);
}

void SetLinkOpener(LinkOpener opener) { linkOpener = std::move(opener); }

void OpenLink(const QUrl &url)
{
    if (linkOpener)
        linkOpener(url);
    else
        QDesktopServices::openUrl(url);
}
